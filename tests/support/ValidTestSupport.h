#pragma once
// Builders shared by the rule and dispatcher suites: single rules, the
// collector's view of what they recorded, and small tokenised CSV files.
#include "csv/CLCCRSCsvCRSReport.h"
#include "rules/CLCCRSValidItem.h"
#include "diagnostics/CLCValidResult.h"
#include "TestSupport.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace quorvex::internal;  // the suites test the engine from inside

namespace quorvex_valid_test {

inline constexpr const char* kFatal = "00000-0000000-HE40000E";

using quorvex_test::Collector;
inline void ClearCollector() { Collector().ClearResult(); }
// The detail error document of everything recorded so far; empties the collector.
inline std::string Recorded() { return quorvex_test::TakeRecorded(); }

inline std::unique_ptr<CLCCRSValidItem> Rule(const char* id, const char* value = "", const char* min = "",
                                             const char* max = "", CLCCRSMessage_t message = CRSMSG_NONE,
                                             long column = -1) {
  return CLCCRSValidItem::CreateItem(column, id, value, min, max, message, Collector());
}

// The message of the rule's own verdict on a value, recorded nowhere (the
// precondition path: a definition error gives HE40000E, 1, for the caller to record).
inline int Verdict(CLCCRSValidItem& rule, const char* value) { return rule.ValidateOuter(value).Message(); }

// A record of `count` columns of kind `kind`, the given 1-based columns filled.
inline std::vector<std::string> Record(const std::string& kind, std::size_t count,
                                       const std::map<std::size_t, std::string>& values = {}) {
  std::vector<std::string> columns(count);
  columns[0] = kind;
  for (const auto& [column, value] : values) columns.at(column - 1) = value;
  return columns;
}

// Tokenised report of the records (UTF-8 text, every column quoted).
inline std::unique_ptr<CLCCRSCsvCRSReport> Csv(const std::vector<std::vector<std::string>>& records) {
  const std::string text = quorvex_test::CsvText(records);
  auto report = std::make_unique<CLCCRSCsvCRSReport>(Collector());
  if (!report->Parse(text)) return nullptr;
  return report;
}

}  // namespace quorvex_valid_test
