#pragma once
#include "CLCValidationResult.h"
#include "history/CLCHistoryStore.h"
#include "validate/CLCMessageRules.h"
#include "validate/CLCMessageValidator.h"

#include <cstddef>
#include <string>
#include <vector>

namespace quorvex::internal {

// The Status Message rules that need earlier filings, against the history:
//   50009  the MessageRefId of an earlier message
//   80000  the DocRefId of a record on file (resent data, OECD0 and OECD10,
//          keeps its DocRefId)
//   80002  a CorrDocRefId that names no record on file of the same
//          institution, or a production record from a test correction or the
//          other way round
//   80003  a CorrDocRefId that names a record a later message on file already
//          corrected or deleted
// A record is on file unless its message was rejected or the latest answer
// named it in error: the authority holds nothing else. A message recorded in
// the history itself is checked against the messages recorded before it.
class CLCHistoryRules {
 public:
  // Throws CLCHistoryError when the history cannot be read.
  static void Check(const CLCHistoryStore& store, const CLCMessageSpec& message,
                    const std::vector<CLCRecordSpec>& records, const std::string& digest,
                    std::vector<CLCValidationFinding>& findings, std::string& note);

  // The validator's hook that applies them to the message in `data`; a
  // history that cannot be read is said in the note. The store must outlive it.
  static CLCMessageValidator::MoreRules Hook(const CLCHistoryStore& store, const char* data, std::size_t size);
};
}  // namespace quorvex::internal
