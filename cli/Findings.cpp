#include "Findings.h"

#include "quorvex.h"

#include <unordered_map>

const char* SeverityName(CLCFindingSeverity severity) {
  return severity == CLCFindingSeverity::Error ? "error" : "warning";
}

const char* ContextName(CLCValidationContext context) {
  return context == CLCValidationContext::Exchange ? "exchange" : "domestic";
}

std::string FindingMessage(const CLCValidationFinding& finding, ToolLanguage language) {
  const char* title = quorvex_finding_title(finding.code.c_str(), MessageLanguage::Code(language));
  return title != nullptr ? std::string(title) + ": " + finding.message : finding.message;
}

std::size_t CountErrors(const std::vector<SourcedFinding>& findings) {
  std::size_t errors = 0;
  for (const SourcedFinding& sourced : findings) errors += sourced.finding.severity == CLCFindingSeverity::Error;
  return errors;
}

std::string FindingCounts(const std::vector<SourcedFinding>& findings) {
  const std::size_t errors = CountErrors(findings);
  const std::size_t warnings = findings.size() - errors;
  const auto counted = [](std::size_t number, const char* noun) {
    return std::to_string(number) + ' ' + noun + (number == 1 ? "" : "s");
  };
  if (errors == 0) return counted(warnings, "warning");
  if (warnings == 0) return counted(errors, "error");
  return counted(errors, "error") + ", " + counted(warnings, "warning");
}

std::vector<SourcedFinding> SourceFindings(const std::vector<CLCValidationFinding>& findings,
                                           const std::vector<CLCRecordOrigin>& origins) {
  std::unordered_map<std::string, std::vector<long>> lines;
  for (const CLCRecordOrigin& origin : origins) lines[origin.docRefId].push_back(origin.fileLine);
  std::vector<SourcedFinding> sourced;
  sourced.reserve(findings.size());
  for (const CLCValidationFinding& finding : findings) {
    const auto found = finding.docRefId.empty() ? lines.end() : lines.find(finding.docRefId);
    sourced.push_back({finding, found != lines.end() ? found->second : std::vector<long>()});
  }
  return sourced;
}

std::vector<SourcedFinding> Unsourced(const std::vector<CLCValidationFinding>& findings) {
  return SourceFindings(findings, {});
}

std::string CsvPlace(const SourcedFinding& sourced) {
  const std::vector<long>& lines = sourced.csvLines;
  if (sourced.finding.docRefId.empty()) return "message-level";
  if (lines.empty()) return "no CSV record with DocRefId " + sourced.finding.docRefId;
  std::string place = lines.size() == 1 ? "CSV file line " : "CSV file lines ";
  for (std::size_t i = 0; i < lines.size(); ++i) place += (i == 0 ? "" : ", ") + std::to_string(lines[i]);
  return place;
}

std::string XmlPlace(const CLCValidationFinding& finding) {
  std::string place = "XML line " + std::to_string(finding.line) + ", column " + std::to_string(finding.column);
  if (!finding.path.empty()) place += ", " + finding.path;
  if (!finding.docRefId.empty()) place += ", DocRefId " + finding.docRefId;
  return place;
}
