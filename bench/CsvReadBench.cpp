// Reading a CSV file near the size limit: read + Shift_JIS decode + tokenise + record
// checks (ReadFile), tokenising alone (Parse), and the eleven cross-record checks.
#include "csv/CLCCRSCsvCRSReport.h"
#include "diagnostics/CLCValidResult.h"
#include "CRSCsvGenerator.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

using namespace quorvex::internal;

namespace {

// The generated file, written once to the temporary folder and removed at exit.
class GeneratedFile {
 public:
  GeneratedFile() : m_text(GenerateCrsCsv(CLCCRSCsvFile::kMaxFileSize)) {
    m_path = (std::filesystem::temp_directory_path() /
              ("quorvex-csvread-" + std::to_string(::getpid()) + ".csv"))
                 .string();
    std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
    out.write(m_text.data(), static_cast<std::streamsize>(m_text.size()));
  }
  ~GeneratedFile() {
    std::error_code ignored;
    std::filesystem::remove(m_path, ignored);
  }
  const std::string& path() const { return m_path; }
  const std::string& text() const { return m_text; }

 private:
  std::string m_text;
  std::string m_path;
};

const GeneratedFile& NearLimitFile() {
  static const GeneratedFile file;
  return file;
}

void BM_ReadFile(benchmark::State& state) {
  const GeneratedFile& file = NearLimitFile();
  long records = 0;
  for (auto _ : state) {
    CLCValidResult result;
    CLCCRSCsvCRSReport report(result);
    if (!report.ReadFile(file.path().c_str())) {
      state.SkipWithError("ReadFile refused the generated file");
      break;
    }
    records = report.GetRecordCount();
    benchmark::DoNotOptimize(records);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.text().size()));
  state.counters["bytes"] = static_cast<double>(file.text().size());
  state.counters["records"] = static_cast<double>(records);
}
BENCHMARK(BM_ReadFile)->Unit(benchmark::kMillisecond);

void BM_Parse(benchmark::State& state) {
  const GeneratedFile& file = NearLimitFile();
  for (auto _ : state) {
    CLCValidResult result;
    CLCCRSCsvCRSReport report(result);
    if (!report.Parse(file.text())) {
      state.SkipWithError("Parse refused the generated text");
      break;
    }
    benchmark::DoNotOptimize(report.GetRecordCount());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.text().size()));
}
BENCHMARK(BM_Parse)->Unit(benchmark::kMillisecond);

void BM_CrossRecordChecks(benchmark::State& state) {
  const GeneratedFile& file = NearLimitFile();
  CLCValidResult result;
  CLCCRSCsvCRSReport report(result);
  if (!report.Parse(file.text())) {
    state.SkipWithError("Parse refused the generated text");
    return;
  }
  for (long index = 0; index < report.GetRecordCount(); ++index) report.DistributeRecord(index);
  for (auto _ : state) {
    CLCStatus status;
    status.Merge(report.MessageSpecReportingFIDocTypeIndicCheck())
        .Merge(report.AccountReportDocTypeIndicCheck())
        .Merge(report.AccountReportDocRefIdCheck())
        .Merge(report.AccountReportDocRefIdOverlapCheck())
        .Merge(report.AccountReportCorrDocRefIdCheck())
        .Merge(report.AccountReportCorrDocRefIdOverlapCheck())
        .Merge(report.AccountReportBirthDateCheck())
        .Merge(report.AccountReportAcctHolderTypeCheck())
        .Merge(report.ControllingPersonBirthDateCheck())
        .Merge(report.ControllingPersonDocRefIdCheck())
        .Merge(report.PaymentDocRefIdCheck());
    if (!status.IsPassed()) {
      state.SkipWithError("a cross-record check found something in the generated file");
      break;
    }
  }
  state.counters["accounts"] = static_cast<double>(report.GetCRSAccountReport()->GetRecordCount());
}
BENCHMARK(BM_CrossRecordChecks)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
