#include "text/CLCShiftJIS.h"

#include <cstring>

namespace quorvex::internal {

namespace {

constexpr std::uint16_t kReplacement = 0xFFFD;

bool IsTrail(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

// True when none of the eight bytes has its high bit set.
bool IsAsciiBlock(const unsigned char* bytes) {
  std::uint64_t block;
  std::memcpy(&block, bytes, sizeof block);
  return (block & 0x8080808080808080u) == 0;
}

char* PutUtf8(std::uint16_t unit, char* out) {
  if (unit < 0x80) {
    *out++ = static_cast<char>(unit);
  } else if (unit < 0x800) {
    *out++ = static_cast<char>(0xC0 | (unit >> 6));
    *out++ = static_cast<char>(0x80 | (unit & 0x3F));
  } else {
    *out++ = static_cast<char>(0xE0 | (unit >> 12));
    *out++ = static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (unit & 0x3F));
  }
  return out;
}

}  // namespace

std::string CLCShiftJIS::ToUtf8(std::string_view bytes) {
  std::string out;
  AppendUtf8(bytes, out);
  return out;
}

void CLCShiftJIS::AppendUtf8(std::string_view bytes, std::string& out) {
  const auto* from = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* fromEnd = from + bytes.size();
  // Most column text is ASCII, which is its own UTF-8.
  const auto* firstHigh = from;
  while (firstHigh < fromEnd && *firstHigh < 0x80) ++firstHigh;
  out.append(bytes.data(), static_cast<std::size_t>(firstHigh - from));
  if (firstHigh == fromEnd) return;
  from = firstHigh;
  // ASCII stays one byte and a double-byte character becomes three, so only
  // text full of half-width kana or undecodable bytes ever needs more room.
  const std::size_t start = out.size();
  const std::size_t rest = static_cast<std::size_t>(fromEnd - from);
  out.resize(start + rest + rest / 2 + 16);
  char* to = out.data() + start;
  char* toEnd = out.data() + out.size();
  constexpr std::size_t kRoom = 8;  // one block of ASCII, or one character
  while (from < fromEnd) {
    if (static_cast<std::size_t>(toEnd - to) < kRoom) {
      const std::size_t written = static_cast<std::size_t>(to - out.data());
      out.resize(out.size() * 2);
      to = out.data() + written;
      toEnd = out.data() + out.size();
    }
    const unsigned char c = *from;
    if (c < 0x80) {
      // ASCII is its own UTF-8: eight bytes at a time where they all are.
      if (fromEnd - from >= 8 && IsAsciiBlock(from)) {
        std::memcpy(to, from, 8);
        from += 8;
        to += 8;
      } else {
        *to++ = static_cast<char>(c);
        ++from;
      }
      continue;
    }
    ++from;
    std::uint16_t unit = kSingleUnits[c];
    if (unit == 0) {  // a lead byte
      if (from < fromEnd && IsTrail(*from)) {
        unit = kPairUnits[c < 0xA0 ? c - 0x81 : c - 0xE0 + 31][*from - 0x40];
        ++from;
      } else {
        unit = kReplacement;
      }
    }
    to = PutUtf8(unit, to);
  }
  out.resize(static_cast<std::size_t>(to - out.data()));
}
}  // namespace quorvex::internal
