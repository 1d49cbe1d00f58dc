// Feeds arbitrary bytes to the well-formedness reader used on files read back:
// it must answer yes or no without fetching anything or crashing. The parser
// platform and the reader stay up across runs, as in a long-lived host, so the
// time goes to parsing rather than to starting Xerces.
#include "diagnostics/CLCValidResult.h"
#include "xml/CLCXPlatform.h"
#include "xml/CLCXSax.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace quorvex::internal;

namespace {
CLCValidResult* g_result = nullptr;
CLCXSax* g_reader = nullptr;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Never released: the process ends with the fuzzing run.
  if (!CLCXPlatform::Initialize()) std::abort();
  g_result = new CLCValidResult();
  g_reader = new CLCXSax(*g_result);
  if (!g_reader->Initialize()) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  g_reader->Parse(reinterpret_cast<const char*>(data), size, "CRS", "UTF-8");
  g_result->ClearResult();
  return 0;
}
