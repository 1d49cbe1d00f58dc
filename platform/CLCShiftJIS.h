#pragma once
#include <string>
#include <string_view>

namespace quorvex::internal {

// Windows-31J (the Shift_JIS superset that Japanese spreadsheet software
// writes) to UTF-8 with ICU. Shared by the Linux body and by the macOS body
// where the system's own Shift_JIS table is narrower.
class CLCShiftJIS {
 public:
  // Every unmapped, ill-formed or cut-off byte sequence becomes one U+FFFD,
  // which the table never yields otherwise, so that the reader can point at
  // it. false (out empty) only when the converter itself fails.
  static bool ToUtf8(std::string_view bytes, std::string& out);
};
}  // namespace quorvex::internal
