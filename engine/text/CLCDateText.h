#pragma once
#include <cstdint>

namespace quorvex::internal {

// Date texts of the CSV file, read without any calendar library:
//  - Gregorian "yyyy/MM/dd[ HH:mm:ss]" when the text holds nothing but digits,
//    "/", ":", ".", "-" and spaces; hyphens and full stops are read as slashes;
//  - otherwise the Japanese calendar "GGyy/MM/dd[ HH:mm:ss]" (era name, year of
//    the era, month, day), after "元" becomes "01", "年" and "月" become "/" and
//    "日" is dropped.
// The time part is asked for by any colon in the text. Parsing is strict and
// must consume the whole text, with the rules of the strict calendar parse this
// engine has always used: spaces may stand before a number; years and months
// and hours take one digit or more, days, minutes and seconds two or more; any
// Unicode decimal digits count; month, day and time must exist (no 2023/02/30,
// no 24:00:00); years run from 1 (Gregorian to 144683, Japanese to 142664).
// Dates before 15 October 1582 are Julian-calendar dates. A Japanese year is
// counted from the first year of its era and is not bounded by the next era
// (平成40 is 2028). The eras are the 237 of the Japanese calendar from 大化 (645)
// to 令和 (2019); a text without an era name counts in the current era, 令和.
class CLCDateText {
 public:
  // Parses the text; false when it is no date. Null is no date.
  bool parse(const char* text);
  // 0 equal, 1 this later, 2 this earlier.
  int compare(const CLCDateText& other) const;

 private:
  int64_t m_lDay = 0;     // Julian day number
  int32_t m_lSecond = 0;  // seconds since midnight
};
}  // namespace quorvex::internal
