// Whole operations through the facade on generated valid files: a schema 2.0
// check from a quarter of the 19 MiB input limit up to the limit, and a
// conversion from a quarter of 7.5 MB (whose XML stays under the output limit)
// up to 7.5 MB. Peak RSS is the process's high-water mark so far; the sizes run
// in ascending order, so each figure is the peak of the largest file yet.
#include "CLCCsvConvDataCRS.h"
#include "CRSCsvGenerator.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>

namespace {

constexpr std::size_t kInputLimit = 19922944;
constexpr std::size_t kConversionSize = 7500000;

// One generated file per size, written once into the temporary folder.
const std::string& GeneratedFile(std::size_t bytes) {
  static std::map<std::size_t, std::string> files;
  auto found = files.find(bytes);
  if (found != files.end()) return found->second;
  const std::string path =
      (std::filesystem::temp_directory_path() / ("quorvex-bench-" + std::to_string(bytes) + ".csv")).string();
  const std::string text = GenerateCrsCsv(bytes);
  std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
  return files.emplace(bytes, path).first->second;
}

double PeakRssMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void Report(benchmark::State& state, std::size_t bytes, const CLCCsvConvResultCRS* result) {
  if (result->getResult() != "S_OK") {
    state.SkipWithError(("operation failed: " + result->getDetailErrorInfo().substr(0, 200)).c_str());
    return;
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["accounts"] = static_cast<double>(result->getAccountReportCount());
  state.counters["peak_rss_MB"] = PeakRssMegabytes();
}

void BM_Check2(benchmark::State& state) {
  const std::size_t bytes = kInputLimit * static_cast<std::size_t>(state.range(0)) / 4;
  const std::string& path = GeneratedFile(bytes);
  CLCCsvConvDataCRS facade;
  const CLCCsvConvResultCRS* result = nullptr;
  for (auto _ : state) result = facade.CRSCsvCheck2(path.c_str(), "2023");
  Report(state, bytes, result);
}

void BM_Convert2(benchmark::State& state) {
  const std::size_t bytes = kConversionSize * static_cast<std::size_t>(state.range(0)) / 4;
  const std::string& path = GeneratedFile(bytes);
  CLCCsvConvDataCRS facade;
  const CLCCsvConvResultCRS* result = nullptr;
  for (auto _ : state) result = facade.CsvConvCRSData2(path.c_str(), "");
  Report(state, bytes, result);
  if (result != nullptr) state.counters["xml_MB"] = static_cast<double>(result->getCRSData().size()) / 1e6;
}

BENCHMARK(BM_Check2)->DenseRange(1, 4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Convert2)->DenseRange(1, 4)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
