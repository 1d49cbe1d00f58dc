// Feeds arbitrary bytes to the well-formedness reader used on files read back:
// it must answer yes or no without fetching anything or crashing.
#include "CLCValidResult.h"
#include "CLCXSax.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CLCValidResult result;
  CLCXSax sax(result);
  if (sax.Initialize()) sax.Parse(reinterpret_cast<const char*>(data), size, "CRS", "UTF-8");
  sax.Terminate();
  return 0;
}
