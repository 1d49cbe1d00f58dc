#pragma once
#include "CLCValidationResult.h"
#include "validate/CLCMessageRules.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace quorvex::internal {

// Validates one CRS XML message: the OECD CRS XML 2.0 schema in
// one streaming pass (no document tree), then the threat scan of the raw text
// and the Status Message rules. A message that is not well-formed is one 50007
// finding at the parser's position. Never throws.
class CLCMessageValidator {
 public:
  // Findings past this count are dropped (the note says so): a message wrong
  // in every record must not exhaust memory.
  static constexpr std::size_t kMaxFindings = 10000;

  // Rules that need more than the message (the filing history): given what
  // the pass collected of a well-formed CRS XML 2.0 message, they add their
  // findings and may say what they did not check.
  using MoreRules = std::function<void(const CLCMessageSpec& message, const std::vector<CLCRecordSpec>& records,
                                       std::vector<CLCValidationFinding>& findings, std::string& note)>;

  static CLCValidationResult Validate(const char* data, std::size_t size, CLCValidationContext context,
                                      const MoreRules& more = nullptr);
  // The same on a file read in pieces: memory follows the records, not the
  // size of the message. A file that cannot be opened is not valid, with no
  // finding and the reason in `note`.
  static CLCValidationResult ValidateFile(const char* path, CLCValidationContext context,
                                          const MoreRules& more = nullptr);
};
}  // namespace quorvex::internal
