#include "FileTask.h"

#include "CLCCsvConvDataCRS.h"
#include "CLCFilingHistory.h"
#include "Interruption.h"
#include "Problems.h"

#include <algorithm>
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

// The findings of the converted XML, each with the CSV lines of its record;
// the CSV is read again for those only when a finding needs them.
void KeepFindings(CLCCsvConvDataCRS& facade, CLCValidationResult&& validation, FileOutcome& outcome) {
  outcome.validationFailed = !validation.valid;
  outcome.validationContext = ContextName(validation.context);
  outcome.validationNote = std::move(validation.note);
  const bool inRecords = std::any_of(validation.findings.begin(), validation.findings.end(),
                                     [](const CLCValidationFinding& finding) { return !finding.docRefId.empty(); });
  const std::vector<CLCRecordOrigin> origins =
      inRecords ? facade.CsvRecordOrigins(outcome.file.c_str()) : std::vector<CLCRecordOrigin>();
  outcome.findings = SourceFindings(validation.findings, origins);
}

}  // namespace

std::string FileOutcome::StepName(const ToolOptions& options) const {
  const std::string schema = "schema " + std::to_string(options.schema) + ".0";
  if (options.command == ToolCommand::ReadXml) return "XML read";
  if (options.command == ToolCommand::Validate) return "CRS XML validation";
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
      // The XML is validated before anything is written: a message the
      // authority would refuse is reported, never written or printed.
      CLCValidationResult validation;
      // The filing history, when there is one, is consulted by that validation.
      CLCFilingHistory history;
      if (m_options.validatesOutput() && !m_options.history.empty()) {
        if (!history.Open(m_options.history.c_str(), CLCFilingHistory::Access::Read)) {
          outcome.refusal = "the filing history cannot be used: " + history.Error();
          outcome.record.putResult("E_FAIL");
          return outcome;
        }
        facade.SetFilingHistory(&history);
      }
      if (m_options.validatesOutput()) {
        facade.SetOutputGate([&](const std::string& xml) {
          outcome.validated = true;
          validation = facade.ValidateXMLBuffer(xml.data(), xml.size());
          return validation.valid;
        });
      }
      const char* output = m_outputPath.c_str();
      record = m_options.schema == 1 ? facade.CsvConvCRSData(file, output) : facade.CsvConvCRSData2(file, output);
      if (outcome.validated) KeepFindings(facade, std::move(validation), outcome);
    }
  }
  outcome.record = *record;
  if (outcome.validationFailed) {
    // Nothing was written: the record must not say otherwise.
    outcome.record.putResult("E_FAIL");
    outcome.record.putCRSData(std::string());
  }
  if (!outcome.record.succeeded()) {
    outcome.problems = DescribeProblems(outcome.record);
    outcome.record.putErrorDescriptions({});  // kept once, in problems
    outcome.systemReason = SystemReason(m_file, outcome.problems);
  }
  // A written file needs no copy of its XML in memory while the batch goes on.
  if (!m_outputPath.empty() && !m_options.json) outcome.record.putCRSData(std::string());
  return outcome;
}
