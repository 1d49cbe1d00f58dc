#include "OutcomeReporter.h"

#include "HtmlReport.h"
#include "Interruption.h"
#include "JsonRecord.h"

#include <iostream>

namespace {

constexpr int kPassed = 0;
constexpr int kFailed = 1;
constexpr int kInterrupted = 130;  // 128 + SIGINT, as shells report it

bool WritesToStandardOutput(const ToolOptions& options) {
  if (options.json) return false;
  return options.command == ToolCommand::ReadXml ||
         (options.command == ToolCommand::Convert && options.output.empty() && options.outputFolder.empty());
}

std::string Identifiers(const CLCCsvConvResultCRS& record) {
  std::string text = std::to_string(record.getAccountReportCount()) + " account report(s)";
  if (!record.getHojinNo().empty()) text += ", corporate number " + record.getHojinNo();
  if (!record.getGIIN().empty()) text += ", GIIN " + record.getGIIN();
  return text;
}

}  // namespace

OutcomeReporter::OutcomeReporter(const ToolOptions& options)
    : m_options(options),
      m_printer(options.command, options.language),
      m_summary(WritesToStandardOutput(options) ? std::cerr : std::cout) {
  if (m_options.json && m_options.batch()) std::cout << "[\n";
}

std::string OutcomeReporter::PassedLine(const FileOutcome& outcome) const {
  const std::string schema = std::to_string(m_options.schema) + ".0";
  if (m_options.command == ToolCommand::Check) {
    return "OK: " + outcome.file + " passed the schema " + schema + " check, " + Identifiers(outcome.record);
  }
  std::string line = "OK: wrote " + outcome.outputPath + " from " + outcome.file;
  line += outcome.checked ? " (passed the schema " + schema + " check), " : " (not checked), ";
  return line + Identifiers(outcome.record);
}

void OutcomeReporter::ReportText(const FileOutcome& outcome) {
  if (!outcome.refusal.empty()) {
    const std::string prefix = m_options.batch() ? outcome.file + ": " : std::string();
    for (const std::string& line : outcome.historyFindings) std::cerr << prefix << line << '\n';
    m_summary << (outcome.interrupted ? "NOT RUN: " : "FAILED: ") << outcome.file << ": " << outcome.refusal << '\n';
    return;
  }
  if (outcome.passed()) {
    if (m_options.command == ToolCommand::ReadXml) {
      std::cout << outcome.record.getXMLData();
    } else if (m_options.command == ToolCommand::Convert && outcome.outputPath.empty()) {
      std::cout << outcome.record.getCRSData() << '\n';
    } else {
      m_summary << PassedLine(outcome) << '\n';
    }
    return;
  }
  const std::string prefix = m_options.batch() ? outcome.file + ": " : std::string();
  m_printer.Print(outcome.problems, prefix, std::cerr);
  if (!outcome.systemReason.empty()) std::cerr << prefix << "the system says: " << outcome.systemReason << '\n';
  const std::size_t count = outcome.problems.size();
  m_summary << "FAILED: " << outcome.file << ": " << count << (count == 1 ? " problem" : " problems") << " in the "
            << outcome.StepName(m_options)
            << (m_options.command == ToolCommand::Convert && !outcome.converted ? "; nothing written" : "") << '\n';
}

void OutcomeReporter::ReportJson(const FileOutcome& outcome) {
  nlohmann::json object = JsonRecord(outcome.record, outcome.problems, m_options.language);
  if (!outcome.historyFindings.empty()) object["HistoryFindings"] = outcome.historyFindings;
  if (m_options.batch()) {
    object["File"] = outcome.file;
    if (!outcome.refusal.empty()) object["Refused"] = outcome.refusal;
    if (m_passed + m_failed + m_notRun > 0) std::cout << ",\n";
  }
  std::cout << object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  if (!m_options.batch()) std::cout << '\n';
}

void OutcomeReporter::Report(FileOutcome&& outcome) {
  if (m_options.json) {
    ReportJson(outcome);
  } else {
    ReportText(outcome);
  }
  if (!m_options.htmlReport.empty() && outcome.refusal.empty() &&
      !HtmlReport(m_options, outcome).Write(m_options.htmlReport)) {
    std::cerr << "quorvex: could not write the report " << m_options.htmlReport << '\n';
    m_reportFailed = true;
  }
  if (outcome.interrupted) {
    ++m_notRun;
  } else if (outcome.passed()) {
    ++m_passed;
  } else {
    ++m_failed;
  }
  std::cout.flush();
}

int OutcomeReporter::Finish() {
  if (m_options.json && m_options.batch()) std::cout << "\n]\n";
  if (m_options.batch() && !m_options.json) {
    m_summary << m_options.files.size() << " files: " << m_passed << " passed, " << m_failed << " failed";
    if (m_notRun > 0) m_summary << ", " << m_notRun << " not run (interrupted)";
    m_summary << '\n';
  }
  if (Interruption::Requested()) return kInterrupted;
  return m_failed == 0 && m_notRun == 0 && !m_reportFailed ? kPassed : kFailed;
}
