#include "ValidateCommand.h"

#include "CLCCsvConvDataCRS.h"
#include "CLCFilingHistory.h"
#include "quorvex.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <string>

namespace {

const char* ContextName(CLCValidationContext context) {
  return context == CLCValidationContext::Exchange ? "exchange" : "domestic";
}

const char* SeverityName(CLCFindingSeverity severity) {
  return severity == CLCFindingSeverity::Error ? "error" : "warning";
}

// The code's title in the chosen language, then the detail.
std::string MessageOf(const CLCValidationFinding& finding, ToolLanguage language) {
  const char* title = quorvex_finding_title(finding.code.c_str(), MessageLanguage::Code(language));
  return title != nullptr ? std::string(title) + ": " + finding.message : finding.message;
}

nlohmann::ordered_json JsonOf(const std::string& file, const CLCValidationResult& result, ToolLanguage language) {
  nlohmann::ordered_json findings = nlohmann::ordered_json::array();
  for (const CLCValidationFinding& finding : result.findings) {
    findings.push_back({{"code", finding.code},
                        {"severity", SeverityName(finding.severity)},
                        {"line", finding.line},
                        {"column", finding.column},
                        {"path", finding.path},
                        {"docRefId", finding.docRefId},
                        {"message", MessageOf(finding, language)}});
  }
  return {{"File", file}, {"Valid", result.valid}, {"Context", ContextName(result.context)}, {"Findings", findings}};
}

void PrintText(const std::string& file, const CLCValidationResult& result, ToolLanguage language) {
  for (const CLCValidationFinding& finding : result.findings) {
    std::cout << file << ':' << finding.line << ':' << finding.column << ": " << SeverityName(finding.severity)
              << ' ' << finding.code << ' ' << MessageOf(finding, language) << " [" << finding.path;
    if (!finding.docRefId.empty()) std::cout << ", DocRefId " << finding.docRefId;
    std::cout << "]\n";
  }
  std::cout << file << ": " << (result.valid ? "valid" : "not valid") << " (" << ContextName(result.context)
            << ", " << result.findings.size() << " finding" << (result.findings.size() == 1 ? "" : "s") << ")\n";
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
  bool anyError = false;
  for (const std::string& file : m_options.files) {
    const CLCValidationResult& result = facade.ValidateXMLFile(file.c_str(), context);
    anyError = anyError || !result.valid;
    if (!result.note.empty()) std::cerr << "quorvex validate: " << file << ": " << result.note << '\n';
    if (m_options.json) {
      all.push_back(JsonOf(file, result, m_options.language));
    } else {
      PrintText(file, result, m_options.language);
    }
  }
  if (m_options.json) std::cout << (all.size() == 1 ? all.front() : all).dump(2) << '\n';
  return anyError ? 1 : 0;
}
