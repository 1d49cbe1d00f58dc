#pragma once
// Small builders shared by the definition, writer and assembly suites: inline
// conversion definitions, CSV records and the collector's view of an operation.
#include "csv/CLCCRSCsvCRSReport.h"
#include "definitions/CLCCRSDefinition.h"
#include "diagnostics/CLCValidResult.h"
#include "TestSupport.h"

#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

using namespace quorvex::internal;  // the suites test the engine from inside

namespace quorvex_test {

// Root of a conversion definition as shipped (version from column 2 of the header).
inline std::string ConversionDocument(const std::string& reports,
                                      const std::string& rootAttributes =
                                          "rootNode=\"CRS_OECD\" attr1=\"Version\" "
                                          "attrValueRec1=\"MessageSpecReportingFI\" attrValueColumn1=\"2\"") {
  return "<?xml version=\"1.0\" encoding=\"Shift_JIS\" standalone=\"no\" ?>\r\n<CRSDataConvDefine VR=\"2.0\" " +
         rootAttributes + ">\r\n" + reports + "</CRSDataConvDefine>\r\n";
}

inline std::string Report(const std::string& id, const std::string& items, bool dummy = false) {
  return "<report reportId=\"" + id + "\" reportVR=\"2.0\" columnNum=\"150\"" +
         (dummy ? " dumyFlg=\"true\"" : "") + ">\r\n" + items + "</report>\r\n";
}

// A conversion definition whose first report "R" holds the given items,
// followed by the five other reports a conversion definition needs.
inline std::string SingleReportDocument(const std::string& items) {
  std::string reports = Report("R", items);
  for (const std::string id : {"R2", "R3", "R4", "R5", "R6"}) {
    reports += Report(id, "<item id=\"X\" parent=\"" + id + "\" type=\"Normal\" column=\"2\"/>\r\n");
  }
  return ConversionDocument(reports);
}

// A record of `count` columns, kind code in column 1, the given 1-based
// columns filled.
inline std::vector<std::string> Record(const std::string& kind, std::size_t count,
                                       const std::map<std::size_t, std::string>& values = {}) {
  std::vector<std::string> columns(count);
  columns[0] = kind;
  for (const auto& [column, value] : values) columns.at(column - 1) = value;
  return columns;
}

using quorvex_test::CsvText;

// A CSV report tokenised from UTF-8 text, as the reader leaves it.
inline std::unique_ptr<CLCCRSCsvCRSReport> ParseCsv(const std::string& text) {
  auto report = std::make_unique<CLCCRSCsvCRSReport>(Collector());
  if (!report->Parse(text)) return nullptr;
  return report;
}

inline void ClearCollector() { Collector().ClearResult(); }
// The detail error document of what was recorded so far (empties the collector).
inline std::string RecordedErrors() { return TakeRecorded(); }
inline constexpr const char* kFatalDocument = "00000-0000000-HE40000E";

// The check operation's record loop over a validation definition: the
// account-holder rule on accounts, else the column rules, the reporting year
// on the header when asked (the schema 2.0 check), and the distribution of
// each record that passed; failed with the last message.
inline CLCStatus ValidateRecords(const CLCCRSDefinition& definition, CLCCRSCsvCRSReport& file, bool reportingYear) {
  CLCStatus status;
  for (long record = 0; record < file.GetRecordCount(); ++record) {
    const char* kind = file.GetItem(record, 0);
    if (kind != nullptr && std::string(kind) == "2") {
      const CLCStatus holder = file.AccountReportExclusiveCheck(record);
      if (status.Merge(holder).IsFatal()) return status;
      if (!holder.IsPassed()) continue;
    }
    const CLCStatus columns = definition.ValidateRecord(file, record, Collector());
    if (status.Merge(columns).IsFatal()) return status;
    if (!columns.IsPassed()) continue;
    if (record == 0 && reportingYear) {
      if (status.Merge(file.NenbunCheck()).IsFatal()) return status;
    }
    if (!file.DistributeRecord(record)) return CLCStatus::Fatal();
  }
  return status;
}

// The generated document with its clock reading replaced.
inline std::string MaskTimestamp(const std::string& xml) {
  static const std::regex kTimestamp("<crs:Timestamp>[^<]*</crs:Timestamp>");
  return std::regex_replace(xml, kTimestamp, "<crs:Timestamp>*</crs:Timestamp>");
}

}  // namespace quorvex_test
