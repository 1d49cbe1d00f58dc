#include "validate/CLCMessageRules.h"

#include <unordered_map>

namespace quorvex::internal {

namespace {

enum class DocKind { Resend, New, Correction, Other };

bool IsTest(const std::string& indic) {
  return indic == "OECD10" || indic == "OECD11" || indic == "OECD12" || indic == "OECD13";
}

// Test records mirror the live ones: OECD11 is new test data, and so on.
DocKind KindOf(const std::string& indic) {
  if (indic == "OECD0" || indic == "OECD10") return DocKind::Resend;
  if (indic == "OECD1" || indic == "OECD11") return DocKind::New;
  if (indic == "OECD2" || indic == "OECD3" || indic == "OECD12" || indic == "OECD13") return DocKind::Correction;
  return DocKind::Other;
}

void Add(std::vector<CLCValidationFinding>& findings, const char* code, CLCFindingSeverity severity,
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

void CheckTestData(const std::vector<CLCRecordSpec>& records, std::vector<CLCValidationFinding>& findings) {
  std::size_t tests = 0;
  for (const CLCRecordSpec& record : records) tests += IsTest(record.docTypeIndic) ? 1 : 0;
  if (tests == 0) return;
  if (tests < records.size()) {
    for (const CLCRecordSpec& record : records) {
      if (!IsTest(record.docTypeIndic)) continue;
      Add(findings, "50010", CLCFindingSeverity::Error, record.docTypeIndicAt, record.docRefId,
          "test data (" + record.docTypeIndic + ") among live records (OECD0 to OECD3): a message is all test "
          "data or none");
    }
    return;
  }
  const CLCRecordSpec& first = records.front();
  Add(findings, "50010", CLCFindingSeverity::Warning, first.docTypeIndicAt, first.docRefId,
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
      Add(findings, "80000", CLCFindingSeverity::Error, record.docRefIdAt, record.docRefId,
          "DocRefId " + record.docRefId + " is already used by the record at line " +
              std::to_string(first->second->docRefIdAt.line) + ", column " +
              std::to_string(first->second->docRefIdAt.column) + ": every record needs its own");
    }
    const std::string& country = message.transmittingCountry;
    if (!country.empty() && record.docRefId.compare(0, country.size(), country) != 0) {
      // Between jurisdictions the prefix keeps identifiers unique world-wide;
      // at home the authority sets its own format.
      Add(findings, "80001",
          context == CLCValidationContext::Exchange ? CLCFindingSeverity::Error : CLCFindingSeverity::Warning,
          record.docRefIdAt, record.docRefId,
          "DocRefId " + record.docRefId + " does not start with the transmitting country " + country);
    }
  }
}

void CheckCorrections(const std::vector<CLCRecordSpec>& records, std::vector<CLCValidationFinding>& findings) {
  const CLCRecordSpec* firstNew = nullptr;
  const CLCRecordSpec* firstCorrection = nullptr;
  for (const CLCRecordSpec& record : records) {
    const DocKind kind = KindOf(record.docTypeIndic);
    const bool hasCorr = record.corrDocRefIdAt.line > 0;
    if (kind == DocKind::New && hasCorr) {
      Add(findings, "80004", CLCFindingSeverity::Error, record.corrDocRefIdAt, record.docRefId,
          "a new record (" + record.docTypeIndic + ") carries CorrDocRefId " + record.corrDocRefId +
              ": only a correction or deletion refers to an earlier record");
    }
    if (kind == DocKind::Correction && !hasCorr) {
      Add(findings, "80005", CLCFindingSeverity::Error, record.docTypeIndicAt, record.docRefId,
          "a correction or deletion (" + record.docTypeIndic + ") needs the CorrDocRefId of the record it replaces");
    }
    if (kind == DocKind::New && firstNew == nullptr) firstNew = &record;
    if (kind == DocKind::Correction && firstCorrection == nullptr) firstCorrection = &record;
  }
  if (firstNew == nullptr || firstCorrection == nullptr) return;
  // The kind that appears second is the intruder.
  const bool newFirst = firstNew->docTypeIndicAt.line < firstCorrection->docTypeIndicAt.line ||
                        (firstNew->docTypeIndicAt.line == firstCorrection->docTypeIndicAt.line &&
                         firstNew->docTypeIndicAt.column < firstCorrection->docTypeIndicAt.column);
  const DocKind intruder = newFirst ? DocKind::Correction : DocKind::New;
  for (const CLCRecordSpec& record : records) {
    if (KindOf(record.docTypeIndic) != intruder) continue;
    Add(findings, "80010", CLCFindingSeverity::Error, record.docTypeIndicAt, record.docRefId,
        std::string("a message holds either new records (OECD1) or corrections and deletions (OECD2, OECD3), "
                    "not both: this ") +
            (intruder == DocKind::New ? "new record" : "correction") + " follows " +
            (intruder == DocKind::New ? "corrections" : "new records"));
  }
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
  CheckCorrections(records, findings);
}
}  // namespace quorvex::internal
