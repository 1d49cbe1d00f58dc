#include "validate/CLCMessageRules.h"

#include <algorithm>
#include <unordered_map>

namespace quorvex::internal {

CLCDocKind CLCDocKindOf(const std::string& indic) {
  if (indic == "OECD0" || indic == "OECD10") return CLCDocKind::Resend;
  if (indic == "OECD1" || indic == "OECD11") return CLCDocKind::New;
  if (indic == "OECD2" || indic == "OECD3" || indic == "OECD12" || indic == "OECD13") return CLCDocKind::Correction;
  return CLCDocKind::Other;
}

bool CLCIsTestRecord(const std::string& indic) {
  return indic == "OECD10" || indic == "OECD11" || indic == "OECD12" || indic == "OECD13";
}

void AddFinding(std::vector<CLCValidationFinding>& findings, const char* code, CLCFindingSeverity severity,
                const CLCValuePosition& at, const std::string& docRefId, std::string message) {
  CLCValidationFinding finding;
  finding.code = code;
  finding.severity = severity;
  finding.line = at.line > 0 ? at.line : 1;
  finding.column = at.column > 0 ? at.column : 1;
  finding.path = at.path;
  finding.docRefId = docRefId;
  finding.message = std::move(message);
  findings.push_back(std::move(finding));
}

namespace {

void CheckTestData(const std::vector<CLCRecordSpec>& records, std::vector<CLCValidationFinding>& findings) {
  std::size_t tests = 0;
  for (const CLCRecordSpec& record : records) tests += CLCIsTestRecord(record.docTypeIndic) ? 1 : 0;
  if (tests == 0) return;
  if (tests < records.size()) {
    for (const CLCRecordSpec& record : records) {
      if (!CLCIsTestRecord(record.docTypeIndic)) continue;
      AddFinding(findings, "50010", CLCFindingSeverity::Error, record.docTypeIndicAt, record.docRefId,
          "test data (" + record.docTypeIndic + ") among live records (OECD0 to OECD3): a message is all test "
          "data or none");
    }
    return;
  }
  const CLCRecordSpec& first = records.front();
  AddFinding(findings, "50010", CLCFindingSeverity::Warning, first.docTypeIndicAt, first.docRefId,
      "every record is test data (OECD10 to OECD13): a production submission is refused; send it only to a test "
      "environment");
}

void CheckDocRefIds(const CLCMessageSpec& message, const std::vector<CLCRecordSpec>& records,
                    CLCValidationContext context, std::vector<CLCValidationFinding>& findings) {
  std::unordered_map<std::string, const CLCRecordSpec*> seen;
  seen.reserve(records.size());
  for (const CLCRecordSpec& record : records) {
    if (record.docRefId.empty()) continue;  // the schema reports a missing or empty one
    const auto [first, inserted] = seen.emplace(record.docRefId, &record);
    if (!inserted) {
      AddFinding(findings, "80000", CLCFindingSeverity::Error, record.docRefIdAt, record.docRefId,
          "DocRefId " + record.docRefId + " is already used by the record at line " +
              std::to_string(first->second->docRefIdAt.line) + ", column " +
              std::to_string(first->second->docRefIdAt.column) + ": every record needs its own");
    }
    const std::string& country = message.transmittingCountry;
    if (!country.empty() && record.docRefId.compare(0, country.size(), country) != 0) {
      // Between jurisdictions the prefix keeps identifiers unique world-wide;
      // at home the authority sets its own format.
      AddFinding(findings, "80001",
          context == CLCValidationContext::Exchange ? CLCFindingSeverity::Error : CLCFindingSeverity::Warning,
          record.docRefIdAt, record.docRefId,
          "DocRefId " + record.docRefId + " does not start with the transmitting country " + country);
    }
  }
}

void CheckCorrections(const CLCMessageSpec& message, const std::vector<CLCRecordSpec>& records,
                      std::vector<CLCValidationFinding>& findings) {
  std::unordered_map<std::string, const CLCRecordSpec*> corrected;
  const CLCRecordSpec* firstNew = nullptr;
  const CLCRecordSpec* firstCorrection = nullptr;
  for (const CLCRecordSpec& record : records) {
    const CLCDocKind kind = CLCDocKindOf(record.docTypeIndic);
    const bool hasCorr = record.corrDocRefIdAt.line > 0;
    if (kind == CLCDocKind::New && hasCorr) {
      AddFinding(findings, "80004", CLCFindingSeverity::Error, record.corrDocRefIdAt, record.docRefId,
          "a new record (" + record.docTypeIndic + ") carries CorrDocRefId " + record.corrDocRefId +
              ": only a correction or deletion refers to an earlier record");
    }
    if (kind == CLCDocKind::Correction && !hasCorr) {
      AddFinding(findings, "80005", CLCFindingSeverity::Error, record.docTypeIndicAt, record.docRefId,
          "a correction or deletion (" + record.docTypeIndic + ") needs the CorrDocRefId of the record it replaces");
    }
    if (kind == CLCDocKind::Resend && record.account) {
      AddFinding(findings, "80008", CLCFindingSeverity::Error, record.docTypeIndicAt, record.docRefId,
                 "an account report cannot be resent unchanged (" + record.docTypeIndic +
                     "): only the ReportingFI is; send accounts as new data, corrections or deletions");
    }
    if (hasCorr && !record.corrDocRefId.empty()) {
      const auto [first, inserted] = corrected.emplace(record.corrDocRefId, &record);
      if (!inserted) {
        AddFinding(findings, "80011", CLCFindingSeverity::Error, record.corrDocRefIdAt, record.docRefId,
                   "record " + record.corrDocRefId + " is already corrected or deleted in this message by " +
                       first->second->docRefId + ": one message changes a record once");
      }
    }
    if (kind == CLCDocKind::New && firstNew == nullptr) firstNew = &record;
    if (kind == CLCDocKind::Correction && firstCorrection == nullptr) firstCorrection = &record;
  }
  if (firstCorrection == nullptr) return;
  // A message of new data (CRS701) holds no correction at all; otherwise the
  // kind that appears second is the intruder.
  CLCDocKind intruder = CLCDocKind::Correction;
  if (message.messageTypeIndic != "CRS701") {
    if (firstNew == nullptr) return;
    const bool newFirst = firstNew->docTypeIndicAt.line < firstCorrection->docTypeIndicAt.line ||
                          (firstNew->docTypeIndicAt.line == firstCorrection->docTypeIndicAt.line &&
                           firstNew->docTypeIndicAt.column < firstCorrection->docTypeIndicAt.column);
    intruder = newFirst ? CLCDocKind::Correction : CLCDocKind::New;
  }
  for (const CLCRecordSpec& record : records) {
    if (CLCDocKindOf(record.docTypeIndic) != intruder) continue;
    std::string why = intruder == CLCDocKind::New ? "this new record follows corrections"
                      : firstNew != nullptr    ? "this correction follows new records"
                                               : "this correction is in a message of new data (CRS701)";
    AddFinding(findings, "80010", CLCFindingSeverity::Error, record.docTypeIndicAt, record.docRefId,
               "a message holds either new records (OECD1) or corrections and deletions (OECD2, OECD3), not both: " +
                   why);
  }
}

// Only a nil report (CRS703) has no account.
void CheckNilReport(const CLCMessageSpec& message, const std::vector<CLCRecordSpec>& records,
                    std::vector<CLCValidationFinding>& findings) {
  const bool anyAccount =
      std::any_of(records.begin(), records.end(), [](const CLCRecordSpec& record) { return record.account; });
  if (anyAccount || message.messageTypeIndic == "CRS703") return;
  const CLCValuePosition& at =
      message.messageTypeIndicAt.line > 0 ? message.messageTypeIndicAt : records.front().docTypeIndicAt;
  AddFinding(findings, "60015", CLCFindingSeverity::Error, at, "",
             "the message reports no account: only a nil report (MessageTypeIndic CRS703) may leave them out");
}

}  // namespace

CLCValidationContext CLCMessageRules::Resolve(CLCValidationContext requested, const CLCMessageSpec& message) {
  if (requested != CLCValidationContext::Automatic) return requested;
  return !message.transmittingCountry.empty() && message.transmittingCountry == message.receivingCountry
             ? CLCValidationContext::Domestic
             : CLCValidationContext::Exchange;
}

void CLCMessageRules::Check(const CLCMessageSpec& message, const std::vector<CLCRecordSpec>& records,
                            CLCValidationContext context, std::vector<CLCValidationFinding>& findings) {
  if (records.empty()) return;
  CheckTestData(records, findings);
  CheckDocRefIds(message, records, context, findings);
  CheckCorrections(message, records, findings);
  CheckNilReport(message, records, findings);
}
}  // namespace quorvex::internal
