#include "EndToEndSupport.h"

#include "csv/CLCCRSCsvCRSReport.h"
#include "diagnostics/CLCValidResult.h"
#include "TestSupport.h"

#include <array>
#include <cstdio>
#include <memory>
#include <stdexcept>

using namespace quorvex::internal;

namespace quorvex_test {

std::vector<Row> LoadCsvRows(const std::string& path) {
  CLCValidResult problems;
  CLCCRSCsvCRSReport report(problems);
  if (!report.ReadFile(path.c_str())) throw std::runtime_error("cannot read " + path);
  std::vector<Row> rows;
  for (long row = 0; row < report.GetRecordCount(); ++row) {
    Row columns;
    for (long column = 0; report.GetItem(row, column) != nullptr; ++column) {
      columns.emplace_back(report.GetItem(row, column));
    }
    rows.push_back(std::move(columns));
  }
  return rows;
}

void SaveCsvRows(const std::string& path, const std::vector<Row>& rows) {
  WriteBytes(path, ToShiftJis(CsvText(rows)));
}

std::string SourcePath(const std::string& relative) { return std::string(QUORVEX_SOURCE_DIR) + "/" + relative; }

bool PassesCrsSchema(const std::string& xmlPath, std::string* diagnostics) {
  const std::string command = "xmllint --noout --schema '" + SourcePath("schemas/crs-v2.0/CrsXML_v2.0.xsd") +
                              "' '" + xmlPath + "' 2>&1";
  std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), &pclose);
  if (!pipe) return false;
  std::string output;
  std::array<char, 4096> buffer;
  while (fgets(buffer.data(), static_cast<int>(buffer.size()), pipe.get()) != nullptr) output += buffer.data();
  const int status = pclose(pipe.release());
  if (diagnostics != nullptr) *diagnostics = output;
  return status == 0;
}

}  // namespace quorvex_test
