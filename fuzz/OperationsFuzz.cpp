// Whole operations on arbitrary bytes, held in memory as a host would hand
// them over: checked with the schema 2.0 rules and the year 2023, then
// converted. Every run must end in a result record, never in a crash, a leak
// or a hang; a conversion either succeeds with XML or fails with a reason.
#include "CLCCsvConvDataCRS.h"
#include "xml/CLCXPlatform.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace quorvex::internal;

namespace {

CLCCsvConvDataCRS* g_facade = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Never released: the process ends with the fuzzing run.
  if (!CLCXPlatform::Initialize()) std::abort();
  g_facade = new CLCCsvConvDataCRS();
  // A fixed clock: the same input always gives the same document.
  g_facade->SetClock([] { return CLCLocalTime{2024, 4, 1, 9, 30, 15, 250}; });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  g_facade->CRSCsvCheckBuffer(2, bytes, size, "2023");
  const CLCCsvConvResultCRS* result = g_facade->CsvConvCRSDataBuffer(2, bytes, size);
  const bool converted = result->getResult() == "S_OK";
  if (converted == result->getCRSData().empty()) std::abort();
  if (converted != result->getDetailErrorInfo().empty()) std::abort();
  return 0;
}
