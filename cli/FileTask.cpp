#include "FileTask.h"

#include "CLCCsvConvDataCRS.h"
#include "HistoryCommand.h"
#include "Interruption.h"
#include "Problems.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

// The library says "the file does not exist" for any path it cannot look up,
// and "the file could not be written" whatever stopped it; a person needs to
// know when the path is too long or the disk is full.
std::string SystemReason(const std::string& file, const std::vector<CLCErrorDescription>& problems) {
  for (const CLCErrorDescription& problem : problems) {
    if (!problem.systemReason.empty()) return problem.systemReason;
    if (!problem.isArgument || problem.column != 1 || problem.code != "HE40004E") continue;
    struct stat status;
    if (stat(file.c_str(), &status) != 0 && errno != ENOENT) return std::strerror(errno);
  }
  return {};
}

}  // namespace

std::string FileOutcome::StepName(const ToolOptions& options) const {
  const std::string schema = "schema " + std::to_string(options.schema) + ".0";
  if (options.command == ToolCommand::ReadXml) return "XML read";
  return converted ? schema + " conversion" : schema + " check";
}

FileOutcome FileOutcome::Unexpected(std::string file, const std::string& what) {
  FileOutcome outcome;
  outcome.file = std::move(file);
  outcome.refusal = "stopped by an unexpected error (" + what + ")";
  outcome.record.putResult("E_FAIL");
  return outcome;
}

FileOutcome FileTask::Run() const {
  FileOutcome outcome;
  outcome.file = m_file;
  outcome.outputPath = m_outputPath;
  CLCCsvConvDataCRS facade;
  facade.SetDescribeErrors(true);
  const char* file = m_file.c_str();
  const CLCCsvConvResultCRS* record = nullptr;

  if (m_options.command == ToolCommand::ReadXml) {
    record = facade.ReadXMLFile(file, m_options.limit);
  } else {
    if (m_options.checksFirst()) {
      outcome.checked = true;
      record = m_options.schema == 1 ? facade.CRSCsvCheck(file) : facade.CRSCsvCheck2(file, m_options.year.c_str());
    }
    const bool checkPassed = record == nullptr || record->succeeded();
    if (m_options.command == ToolCommand::Convert && checkPassed) {
      if (Interruption::Requested()) {
        outcome.refusal = "interrupted before the conversion";
        outcome.interrupted = true;
        return outcome;
      }
      outcome.converted = true;
      const char* output = m_outputPath.c_str();
      const auto convert = [&](const char* to) {
        return m_options.schema == 1 ? facade.CsvConvCRSData(file, to) : facade.CsvConvCRSData2(file, to);
      };
      if (m_options.history.empty()) {
        record = convert(output);
      } else {
        // In memory first: a message the filing history shows to be refused is not written.
        record = convert("");
        if (record->succeeded()) {
          outcome.historyFindings = HistoryCommand::ConversionFindings(m_options, m_file, record->getCRSData());
          if (!outcome.historyFindings.empty()) {
            outcome.record = *record;
            outcome.record.putResult("E_FAIL");
            outcome.record.putCRSData(std::string());
            const std::size_t count = outcome.historyFindings.size();
            outcome.refusal = std::to_string(count) + (count == 1 ? " objection" : " objections") +
                              " of the filing history " + m_options.history + "; nothing written";
            return outcome;
          }
          if (!m_outputPath.empty()) record = convert(output);
        }
      }
    }
  }
  outcome.record = *record;
  if (!outcome.record.succeeded()) {
    outcome.problems = DescribeProblems(outcome.record);
    outcome.record.putErrorDescriptions({});  // kept once, in problems
    outcome.systemReason = SystemReason(m_file, outcome.problems);
  }
  // A written file needs no copy of its XML in memory while the batch goes on.
  if (!m_outputPath.empty() && !m_options.json) outcome.record.putCRSData(std::string());
  return outcome;
}
