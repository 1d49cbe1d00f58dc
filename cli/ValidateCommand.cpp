#include "ValidateCommand.h"

#include "CLCCsvConvDataCRS.h"
#include "CLCFilingHistory.h"
#include "Findings.h"
#include "HtmlReport.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <string>

namespace {

nlohmann::ordered_json JsonOf(const std::string& file, const CLCValidationResult& result, ToolLanguage language) {
  nlohmann::ordered_json findings = nlohmann::ordered_json::array();
  for (const CLCValidationFinding& finding : result.findings) {
    findings.push_back(FindingJson<nlohmann::ordered_json>(finding, language));
  }
  return {{"File", file}, {"Valid", result.valid}, {"Context", ContextName(result.context)}, {"Findings", findings}};
}

void PrintText(const std::string& file, const CLCValidationResult& result, ToolLanguage language) {
  for (const CLCValidationFinding& finding : result.findings) {
    std::cout << file << ':' << finding.line << ':' << finding.column << ": " << SeverityName(finding.severity)
              << ' ' << finding.code << ' ' << FindingMessage(finding, language) << " [" << finding.path;
    if (!finding.docRefId.empty()) std::cout << ", DocRefId " << finding.docRefId;
    std::cout << "]\n";
  }
  std::cout << file << ": " << (result.valid ? "valid" : "not valid") << " (" << ContextName(result.context)
            << ", " << result.findings.size() << " finding" << (result.findings.size() == 1 ? "" : "s") << ")\n";
}

// The validation as the HTML report shows a file's outcome.
FileOutcome OutcomeOf(const std::string& file, const CLCValidationResult& result) {
  FileOutcome outcome;
  outcome.file = file;
  outcome.record.putResult(result.valid ? "S_OK" : "E_FAIL");
  outcome.validated = true;
  outcome.validationFailed = !result.valid;
  outcome.findings = Unsourced(result.findings);
  outcome.validationContext = ContextName(result.context);
  outcome.validationNote = result.note;
  return outcome;
}

}  // namespace

int ValidateCommand::Run() const {
  const CLCValidationContext context = m_options.context == "domestic"   ? CLCValidationContext::Domestic
                                       : m_options.context == "exchange" ? CLCValidationContext::Exchange
                                                                         : CLCValidationContext::Automatic;
  CLCCsvConvDataCRS facade;
  CLCFilingHistory history;
  if (!m_options.history.empty() && history.Open(m_options.history.c_str(), CLCFilingHistory::Access::Read)) {
    facade.SetFilingHistory(&history);
  }
  nlohmann::ordered_json all = nlohmann::ordered_json::array();
  bool failed = false;
  for (const std::string& file : m_options.files) {
    const CLCValidationResult& result = facade.ValidateXMLFile(file.c_str(), context);
    failed = failed || !result.valid;
    if (!result.note.empty()) std::cerr << "quorvex validate: " << file << ": " << result.note << '\n';
    if (m_options.json) {
      all.push_back(JsonOf(file, result, m_options.language));
    } else {
      PrintText(file, result, m_options.language);
    }
    if (m_options.htmlReport.empty()) continue;
    // The command line allows a report of one file only.
    const FileOutcome outcome = OutcomeOf(file, result);
    if (!HtmlReport(m_options, outcome).Write(m_options.htmlReport)) {
      std::cerr << "quorvex: could not write the report " << m_options.htmlReport << '\n';
      failed = true;
    }
  }
  if (m_options.json) std::cout << (all.size() == 1 ? all.front() : all).dump(2) << '\n';
  return failed ? 1 : 0;
}
