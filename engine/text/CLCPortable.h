#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct CLCLocalTime;

namespace quorvex::internal {

// Platform services that are the same on every system: UTF-8 handling, UTF-16
// code-unit counts, trimming, XML escaping, path joining, time formatting and the
// compiled-in definition documents. Stateless, no system calls.
class CLCPortable {
 public:
  // Decodes one UTF-8 sequence at text[i] and advances i past it. Returns the
  // code point, or -1 for an ill-formed sequence (overlong forms, surrogates and
  // values past U+10FFFF included), leaving i unspecified.
  static int32_t nextCodePoint(const unsigned char* text, std::size_t length, std::size_t& i);
  static bool isValidUtf8(const std::string& text);
  // The Unicode White_Space property (space, U+3000, tab, CR, LF, FF, VT, NEL,
  // no-break spaces, the U+2000 block spaces, line and paragraph separators).
  static bool isWhiteSpace(int32_t codePoint);

  // Copy without leading and trailing white space; empty for null; text that is
  // not valid UTF-8 is returned unchanged.
  static std::string trim(const char* text);
  // UTF-16 code units of the UTF-8 text; 0 for null or ill-formed text.
  static long characterLength(const char* text);
  // Appends the first `length` bytes of text to out with " & ' < > escaped and
  // CR as "&#13;"; in an attribute value (attribute true) also tab and LF as
  // "&#9;" and "&#10;", so that every value reads back byte for byte. UTF-8
  // multi-byte sequences never contain these bytes.
  static void convEntityRefs(const char* text, std::size_t length, std::string& out, bool attribute = false);
  // The same for NUL-terminated text (null: nothing).
  static void convEntityRefs(const char* text, std::string& out, bool attribute = false);
  // Folder joined with name by exactly one separator; empty for a null folder,
  // the folder alone for a null or empty name.
  static std::string appendFilePath(const char* folder, const char* name);
  // The time formatted by a date pattern: yyyy, yy, MM, M, dd, d, HH, H, mm, m,
  // ss, s, SSS (milliseconds); text between apostrophes is copied as it is, two
  // apostrophes give one; any other character is copied.
  static std::string formatTime(const std::string& pattern, const CLCLocalTime& time);
  // Text of compiled-in definition document 205 to 208, or empty.
  static std::string definitionDocument(unsigned short identifier);
};
}  // namespace quorvex::internal
