#include "history/CLCHistoryRules.h"

#include <limits>
#include <unordered_set>

namespace quorvex::internal {

namespace {

// " (accounts.csv line 4)" when the record's CSV line is known.
std::string Where(const CLCFiledRecord& record) {
  if (record.csvLine <= 0) return {};
  return " (" + record.csvFile + " line " + std::to_string(record.csvLine) + ")";
}

std::string InMessage(const CLCFiledRecord& record) { return "in message " + record.messageRefId + Where(record); }

// The record a correction points at must be on file, of the same kind of
// data (test or production) and of the same institution; empty when it is.
std::string WhyNotCorrectable(const CLCRecordSpec& correction, const CLCFiledRecord& target,
                              const std::string& institution) {
  const std::string& name = correction.corrDocRefId;
  if (!target.OnFile()) {
    const std::string why = target.messageStatus == "Rejected"
                                ? "message " + target.messageRefId + " was rejected"
                                : "the answer to message " + target.messageRefId + " named it in error";
    return "CorrDocRefId " + name + " names a record the authority did not take in (" + why +
           "): send that record again as new data (OECD1) instead of correcting it";
  }
  if (CLCIsTestRecord(correction.docTypeIndic) != CLCIsTestRecord(target.docTypeIndic)) {
    return "CorrDocRefId " + name + " names a " + (CLCIsTestRecord(target.docTypeIndic) ? "test" : "production") +
           " record (" + target.docTypeIndic + ") from a " +
           (CLCIsTestRecord(correction.docTypeIndic) ? "test" : "production") +
           " correction (" + correction.docTypeIndic +
           "): test corrections point at test records, production ones at "
           "production records";
  }
  if (!institution.empty() && !target.institution.empty() && institution != target.institution) {
    return "CorrDocRefId " + name + " names a record filed for another institution (" + target.institution +
           "; this message: " + institution + ")";
  }
  return {};
}

}  // namespace

void CLCHistoryRules::Check(const CLCHistoryStore& store, const CLCMessageSpec& message,
                            const std::vector<CLCRecordSpec>& records, const std::string& digest,
                            std::vector<CLCValidationFinding>& findings, std::string& note) {
  if (store.Empty()) return;
  long long before = std::numeric_limits<long long>::max();
  CLCHistoryStore::MessageRow recorded;
  if (!message.messageRefId.empty() && store.FindMessage(message.messageRefId, recorded)) {
    if (recorded.digest == digest) {
      before = recorded.id;
      note = "this message is in the filing history (recorded " + recorded.addedAt +
             "): checked against the messages recorded before it";
    } else {
      AddFinding(findings, "50009", CLCFindingSeverity::Error, message.messageRefIdAt, "",
          "MessageRefId " + message.messageRefId + " was used before, by the message recorded " + recorded.addedAt +
              " from " + recorded.xmlFile + ": every message needs a MessageRefId of its own");
    }
  }
  const std::string& institution = message.Institution();
  CLCHistoryStore::Lookups lookups(store);
  CLCFiledRecord filed;
  for (const CLCRecordSpec& record : records) {
    const CLCDocKind kind = CLCDocKindOf(record.docTypeIndic);
    if (!record.docRefId.empty() && kind != CLCDocKind::Resend && lookups.FindRecord(record.docRefId, before, filed) &&
        filed.OnFile()) {
      AddFinding(findings, "80000", CLCFindingSeverity::Error, record.docRefIdAt, record.docRefId,
          "DocRefId " + record.docRefId + " was filed before, " + InMessage(filed) +
              ": a record needs a DocRefId never used before; only resent data (OECD0) keeps its DocRefId");
    }
    if (kind != CLCDocKind::Correction || record.corrDocRefIdAt.line <= 0 || record.corrDocRefId.empty()) continue;
    if (!lookups.FindRecord(record.corrDocRefId, before, filed)) {
      AddFinding(findings, "80002", CLCFindingSeverity::Error, record.corrDocRefIdAt, record.docRefId,
          "CorrDocRefId " + record.corrDocRefId +
              " names no record on file: a correction or deletion points at the "
              "DocRefId of a record filed in an earlier message");
      continue;
    }
    if (const std::string why = WhyNotCorrectable(record, filed, institution); !why.empty()) {
      AddFinding(findings, "80002", CLCFindingSeverity::Error, record.corrDocRefIdAt, record.docRefId, why);
      continue;
    }
    CLCFiledRecord correction;
    if (!lookups.FindCorrection(record.corrDocRefId, before, correction)) continue;
    // The latest record of the chain is the one to point at; a chain that
    // ends in a deletion leaves nothing to correct.
    CLCFiledRecord latest = correction;
    std::unordered_set<std::string> seen{record.corrDocRefId, latest.docRefId};
    CLCFiledRecord next;
    while (lookups.FindCorrection(latest.docRefId, before, next) && seen.insert(next.docRefId).second) latest = next;
    const bool deleted = latest.docTypeIndic == "OECD3" || latest.docTypeIndic == "OECD13";
    std::string text =
        "CorrDocRefId " + record.corrDocRefId + " names a record already " +
        (correction.docTypeIndic == "OECD3" || correction.docTypeIndic == "OECD13" ? "deleted" : "corrected") +
        " by DocRefId " + correction.docRefId + " " + InMessage(correction) + ": ";
    text += deleted ? "the record was deleted by DocRefId " + latest.docRefId + " " + InMessage(latest) +
                          ", so nothing is left to correct"
                    : "point at the latest DocRefId of the record, " + latest.docRefId;
    AddFinding(findings, "80003", CLCFindingSeverity::Error, record.corrDocRefIdAt, record.docRefId, text);
  }
}

CLCMessageValidator::MoreRules CLCHistoryRules::Hook(const CLCHistoryStore& store, const char* data, std::size_t size) {
  const std::string digest = CLCHistoryStore::Digest(data != nullptr ? data : "", data != nullptr ? size : 0);
  return [&store, digest](const CLCMessageSpec& message, const std::vector<CLCRecordSpec>& records,
                          std::vector<CLCValidationFinding>& findings, std::string& note) {
    std::vector<CLCValidationFinding> found;
    try {
      Check(store, message, records, digest, found, note);
    } catch (const CLCHistoryError& e) {
      note = std::string("not checked against the filing history: ") + e.what();
      return;
    }
    findings.insert(findings.end(), found.begin(), found.end());
  };
}
}  // namespace quorvex::internal
