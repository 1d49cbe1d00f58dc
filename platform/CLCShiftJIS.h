#pragma once
#include <string>
#include <string_view>

// Strict Windows-31J (the Shift_JIS superset that Japanese spreadsheet
// software writes) to UTF-8 conversion with ICU. Shared by the Linux body and
// by the macOS body where the system's own Shift_JIS table is narrower.
class CLCShiftJIS {
 public:
  // False, with out empty, on any unmapped or ill-formed byte.
  static bool ToUtf8(std::string_view bytes, std::string& out);
};
