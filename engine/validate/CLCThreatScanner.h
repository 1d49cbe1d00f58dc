#pragma once
#include "CLCValidationResult.h"

#include <cstddef>
#include <functional>

namespace quorvex::internal {

// Looks through the raw text of a well-formed UTF-8 message for the character
// sequences that receivers' threat scans refuse in data ("--", "/*", "&#"),
// in element content, CDATA and attribute values; markup (comments, processing
// instructions) is not data. The raw text matters: "&#13;" reads as a carriage
// return, yet it is "&#" that the receiver sees. One finding per sequence and
// text run, at the sequence's first character.
class CLCThreatScanner {
 public:
  using Sink = std::function<void(CLCValidationFinding&&)>;
  static void Scan(const char* data, std::size_t size, const Sink& sink);
};
}  // namespace quorvex::internal
