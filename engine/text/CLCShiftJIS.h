#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvex::internal {

// Shift_JIS as code page 932 reads it (the Windows-31J table with the NEC and
// IBM extensions and the user-defined area, control bytes and 0x5C as
// themselves), decoded to UTF-8 in one pass by a table generated at build time
// from Python's cp932 codec (scripts/gen_cp932_table.py). The same on every system.
class CLCShiftJIS {
 public:
  // Every byte sequence that is not Shift_JIS becomes one U+FFFD, which no
  // character maps to, so that the reader can point at it:
  //  - a lead byte and a trail byte that name no character: one U+FFFD for both;
  //  - a lead byte whose next byte is no trail byte (0x00-0x3F, 0x7F, 0xFD-0xFF),
  //    or that ends the text: one U+FFFD for the lead byte alone, and the next
  //    byte is read on its own, so that a comma or a line break is never lost;
  //  - 0x80, 0xA0 and 0xFD to 0xFF, which no Shift_JIS text holds.
  // Throws std::bad_alloc only.
  static std::string ToUtf8(std::string_view bytes);
  // The same decoding appended to `out`. Splitting the bytes just before a
  // byte below 0x40 (never a trail byte) decodes exactly as the whole would.
  static void AppendUtf8(std::string_view bytes, std::string& out);

 private:
  static constexpr int kLeadRows = 60;       // 0x81-0x9F, then 0xE0-0xFC
  static constexpr int kTrailColumns = 189;  // 0x40-0xFC; 0x7F is no trail byte
  // UTF-16 unit of each single byte; 0 for a lead byte.
  static const std::uint16_t kSingleUnits[256];
  static const std::uint16_t kPairUnits[kLeadRows][kTrailColumns];
};
}  // namespace quorvex::internal
