// Feeds arbitrary bytes to the CSV tokeniser and record checks: whatever the
// input, reading must end in true or false with the collector holding a
// well-formed document, never in a crash or an out-of-bounds read.
#include "csv/CLCCRSCsvCRSReport.h"
#include "diagnostics/CLCValidResult.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace quorvex::internal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CLCValidResult result;
  CLCCRSCsvCRSReport report(result);
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (report.Parse(text) && report.ValidateCsv()) {
    for (long row = 0; row < report.GetRecordCount(); ++row) report.DistributeRecord(row);
    CLCStatus status;
    status.Merge(report.AccountReportDocRefIdOverlapCheck())
        .Merge(report.AccountReportAcctHolderTypeCheck())
        .Merge(report.PaymentDocRefIdCheck());
  }
  result.MakeResult();
  return 0;
}
