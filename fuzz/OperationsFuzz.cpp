// Whole operations on arbitrary bytes: the input is written to a file, checked
// with the schema 2.0 rules and converted to a file, as a host would do. Every
// run must end in a result record, never in a crash, a leak or a hang, and a
// conversion that fails must leave no output behind.
#include "CLCCsvConvDataCRS.h"
#include "xml/CLCXPlatform.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

using namespace quorvex::internal;

namespace {

std::string g_input;
std::string g_output;
CLCCsvConvDataCRS* g_facade = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Never released: the process ends with the fuzzing run.
  if (!CLCXPlatform::Initialize()) std::abort();
  char folder[] = "/tmp/quorvex-fuzz-XXXXXX";
  if (::mkdtemp(folder) == nullptr) std::abort();
  g_input = std::string(folder) + "/in.csv";
  g_output = std::string(folder) + "/out.xml";
  g_facade = new CLCCsvConvDataCRS();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(g_input.c_str(), "wb");
  if (file == nullptr) std::abort();
  const bool written = std::fwrite(data, 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) std::abort();

  g_facade->CRSCsvCheck2(g_input.c_str(), "2023");
  const CLCCsvConvResultCRS* result = g_facade->CsvConvCRSData2(g_input.c_str(), g_output.c_str());
  const bool exists = ::access(g_output.c_str(), F_OK) == 0;
  if (exists != (result->getResult() == "S_OK")) std::abort();
  std::remove(g_output.c_str());
  return 0;
}
