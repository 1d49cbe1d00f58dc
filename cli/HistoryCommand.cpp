#include "HistoryCommand.h"

#include "CLCCsvConvDataCRS.h"
#include "CLCFilingHistory.h"
#include "quorvex.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <sys/stat.h>
#include <unordered_map>

namespace {

constexpr int kPassed = 0;
constexpr int kFailed = 1;

bool Exists(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0;
}

// The code's title in the chosen language, then the detail.
std::string Described(const CLCValidationFinding& finding, ToolLanguage language) {
  const char* title = quorvex_finding_title(finding.code.c_str(), MessageLanguage::Code(language));
  return finding.code + " " + (title != nullptr ? std::string(title) + ": " : std::string()) + finding.message;
}

std::string CsvPlace(const std::string& file, long line) {
  return line > 0 ? file + " line " + std::to_string(line) : std::string();
}

nlohmann::ordered_json JsonOf(const CLCFiledMessage& message) {
  return {{"MessageRefId", message.messageRefId},
          {"MessageTypeIndic", message.messageTypeIndic},
          {"TransmittingCountry", message.transmittingCountry},
          {"ReceivingCountry", message.receivingCountry},
          {"Institution", message.institution},
          {"ReportingPeriod", message.reportingPeriod},
          {"XmlFile", message.xmlFile},
          {"CsvFile", message.csvFile},
          {"AddedAt", message.addedAt},
          {"Status", message.status},
          {"Records", message.records},
          {"RecordsInError", message.recordsInError}};
}

nlohmann::ordered_json JsonOf(const CLCStatusReport& report) {
  nlohmann::ordered_json errors = nlohmann::ordered_json::array();
  for (const CLCStatusError& error : report.errors) {
    errors.push_back({{"level", error.fileError ? "file" : "record"},
                      {"code", error.code},
                      {"details", error.details},
                      {"docRefId", error.docRefId},
                      {"docTypeIndic", error.docTypeIndic},
                      {"csvFile", error.csvFile},
                      {"csvLine", error.csvLine},
                      {"fieldPaths", error.fieldPaths},
                      {"advice", error.advice}});
  }
  nlohmann::ordered_json object = {{"StatusMessageRefId", report.statusMessageRefId},
                                   {"OriginalMessageRefId", report.originalMessageRefId},
                                   {"Status", report.status},
                                   {"Timestamp", report.timestamp},
                                   {"ValidatedBy", report.validatedBy},
                                   {"Imported", report.imported},
                                   {"AlreadyImported", report.alreadyImported},
                                   {"Errors", errors}};
  if (!report.error.empty()) object["Error"] = report.error;
  return object;
}

void PrintStatus(const std::string& file, const CLCStatusReport& report) {
  if (!report.status.empty()) {
    std::cout << file << ": message " << report.originalMessageRefId << " was " << report.status << " (status message "
              << report.statusMessageRefId;
    if (!report.timestamp.empty()) std::cout << ", " << report.timestamp;
    for (std::size_t i = 0; i < report.validatedBy.size(); ++i) {
      std::cout << (i == 0 ? ", validated by " : "; ") << report.validatedBy[i];
    }
    std::cout << ")" << (report.alreadyImported ? "; imported before, nothing written" : "") << '\n';
  }
  for (const CLCStatusError& error : report.errors) {
    std::cout << (error.fileError ? "file error " : "record error ") << error.code;
    if (!error.docRefId.empty()) std::cout << ", DocRefId " << error.docRefId;
    if (!error.docTypeIndic.empty()) std::cout << " (" << error.docTypeIndic << ")";
    if (error.csvLine > 0) std::cout << ", " << CsvPlace(error.csvFile, error.csvLine);
    std::cout << ": " << (error.details.empty() ? "no details given" : error.details);
    for (const std::string& path : error.fieldPaths) std::cout << " [" << path << "]";
    std::cout << "\n  what to do: " << error.advice << '\n';
  }
}

}  // namespace

std::string HistoryCommand::DefaultPathText() {
  const std::string path = CLCFilingHistory::DefaultPath();
  return path.empty() ? "$XDG_DATA_HOME/quorvex/history.sqlite3" : path;
}

std::optional<int> HistoryCommand::Resolve(ToolOptions& options) {
  if (!options.historyGiven) {
    const std::string path = CLCFilingHistory::DefaultPath();
    options.history = !path.empty() && Exists(path) ? path : std::string();
  }
  if (options.history.empty()) return std::nullopt;
  CLCFilingHistory history;
  if (history.Open(options.history.c_str(), CLCFilingHistory::Access::Read)) return std::nullopt;
  std::cerr << "quorvex " << (options.command == ToolCommand::Convert ? "convert" : "validate")
            << ": the filing history cannot be used: " << history.Error() << '\n';
  return kFailed;
}

int HistoryCommand::Run() const {
  const std::string path = m_options.historyGiven ? m_options.history : CLCFilingHistory::DefaultPath();
  if (path.empty()) {
    std::cerr << "quorvex history " << m_options.historyAction
              << ": there is no default filing history (neither XDG_DATA_HOME nor HOME is set): name one with "
                 "--history\n";
    return kFailed;
  }
  if (m_options.historyAction == "add") return Add(path);
  if (m_options.historyAction == "list") return List(path);
  return Status(path);
}

int HistoryCommand::Add(const std::string& path) const {
  const std::string& file = m_options.files.front();
  CLCFilingHistory history;
  if (!history.Open(path.c_str(), CLCFilingHistory::Access::Write)) {
    std::cerr << "quorvex history add: " << history.Error() << '\n';
    return kFailed;
  }
  const CLCHistoryAddResult result = history.Add(file.c_str(), m_options.csv.empty() ? nullptr : m_options.csv.c_str());
  if (!result.error.empty()) {
    std::cerr << "quorvex history add: " << result.error << "; nothing recorded\n";
    return kFailed;
  }
  // What the authority may refuse: the message was filed as it is, so it is
  // recorded all the same.
  for (const CLCValidationFinding& finding : result.findings) {
    std::cerr << file << ':' << finding.line << ':' << finding.column << ": "
              << (finding.severity == CLCFindingSeverity::Error ? "error " : "warning ")
              << Described(finding, m_options.language) << " [" << finding.path
              << (finding.docRefId.empty() ? "" : ", DocRefId " + finding.docRefId) << "]\n";
  }
  if (result.alreadyRecorded) {
    std::cout << "already recorded: " << result.messageRefId << " from " << file << " is in " << path
              << "; nothing written\n";
    return kPassed;
  }
  std::cout << "recorded " << result.messageRefId << " from " << file << ": " << result.records << " record"
            << (result.records == 1 ? "" : "s");
  if (!m_options.csv.empty()) {
    std::cout << ", " << result.recordsWithCsvLine << " with their line in " << m_options.csv;
  }
  std::cout << " (" << path << ")\n";
  if (!result.findings.empty()) {
    std::cerr << "the authority may refuse what is listed above: the message is recorded as it was filed\n";
  }
  return kPassed;
}

int HistoryCommand::List(const std::string& path) const {
  if (!Exists(path)) {
    if (m_options.json) {
      std::cout << "[]\n";
    } else {
      std::cout << "no filing history at " << path << " yet\n";
    }
    return kPassed;
  }
  CLCFilingHistory history;
  if (!history.Open(path.c_str(), CLCFilingHistory::Access::Read)) {
    std::cerr << "quorvex history list: " << history.Error() << '\n';
    return kFailed;
  }
  const std::vector<CLCFiledMessage> messages = history.List();
  if (!history.Error().empty()) {
    std::cerr << "quorvex history list: " << history.Error() << '\n';
    return kFailed;
  }
  if (m_options.json) {
    nlohmann::ordered_json all = nlohmann::ordered_json::array();
    for (const CLCFiledMessage& message : messages) all.push_back(JsonOf(message));
    std::cout << all.dump(2) << '\n';
    return kPassed;
  }
  for (const CLCFiledMessage& message : messages) {
    std::cout << message.addedAt << "  " << message.status << "  " << message.messageRefId << "  "
              << message.messageTypeIndic << "  " << message.records << " record" << (message.records == 1 ? "" : "s");
    if (message.recordsInError > 0) std::cout << " (" << message.recordsInError << " in error)";
    std::cout << "  " << message.xmlFile;
    if (!message.csvFile.empty()) std::cout << " from " << message.csvFile;
    std::cout << '\n';
  }
  return kPassed;
}

int HistoryCommand::Status(const std::string& path) const {
  const std::string& file = m_options.files.front();
  if (!Exists(path)) {
    std::cerr << "quorvex history status: there is no filing history at " << path
              << ": record the filed message with `quorvex history add` first\n";
    return kFailed;
  }
  CLCFilingHistory history;
  if (!history.Open(path.c_str(), CLCFilingHistory::Access::Write)) {
    std::cerr << "quorvex history status: " << history.Error() << '\n';
    return kFailed;
  }
  const CLCStatusReport report = history.ImportStatus(file.c_str());
  if (m_options.json) {
    std::cout << JsonOf(report).dump(2) << '\n';
  } else {
    PrintStatus(file, report);
  }
  if (!report.error.empty()) {
    std::cerr << "quorvex history status: " << report.error << "; nothing imported\n";
    return kFailed;
  }
  return report.status == "Accepted" && report.errors.empty() ? kPassed : kFailed;
}
