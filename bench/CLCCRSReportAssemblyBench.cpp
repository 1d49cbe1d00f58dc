// The conversion's writing step alone: distribution into the kind lists and
// MakeReportData with the schema 2.0 conversion definition over generated valid
// files from a quarter of 7.5 MB to 7.5 MB. Reading and tokenising the file is
// outside the timing (each run needs a fresh, undistributed file).
#include "CLCLocalTime.h"
#include "csv/CLCCRSCsvCRSReport.h"
#include "definitions/CLCCRSDefinition.h"
#include "diagnostics/CLCValidResult.h"
#include "CRSCsvGenerator.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

using namespace quorvex::internal;

namespace {

constexpr std::size_t kConversionSize = 7500000;
constexpr CLCLocalTime kStamp{2024, 4, 1, 9, 30, 15, 250};

const std::string& GeneratedText(std::size_t bytes) {
  static std::map<std::size_t, std::string> texts;
  auto found = texts.find(bytes);
  if (found != texts.end()) return found->second;
  return texts.emplace(bytes, GenerateCrsCsv(bytes)).first->second;
}

void BM_MakeReportData(benchmark::State& state) {
  const std::size_t bytes = kConversionSize * static_cast<std::size_t>(state.range(0)) / 4;
  const std::string& text = GeneratedText(bytes);
  CLCValidResult result;
  CLCCRSDefinition definition;
  if (!definition.CreateDefinition("CRS_OECD", 208, false, result)) {
    state.SkipWithError("definition 208 did not load");
    return;
  }
  std::size_t xmlBytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto csv = std::make_unique<CLCCRSCsvCRSReport>(result);
    const bool parsed = csv->Parse(text);
    state.ResumeTiming();
    if (!parsed) {
      state.SkipWithError("generated file not read");
      return;
    }
    bool success = true;
    for (long record = 0; record < csv->GetRecordCount() && success; ++record) success = csv->DistributeRecord(record);
    std::string xml;
    if (success) success = definition.MakeReportData(*csv, kStamp, xml, result).IsPassed();
    if (!success) {
      state.SkipWithError(result.MakeResult().c_str());
      return;
    }
    xmlBytes = xml.size();
    state.PauseTiming();
    csv.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["xml_MB"] = static_cast<double>(xmlBytes) / 1e6;
}

BENCHMARK(BM_MakeReportData)->DenseRange(1, 4)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
