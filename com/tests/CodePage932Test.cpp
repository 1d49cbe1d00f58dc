// The engine's Shift_JIS decoder against the system's code page 932
// (MultiByteToWideChar) on every one- and two-byte sequence. Where the system
// maps a sequence, the decoder must give the same text, except for the bytes
// it reads as not Shift_JIS (0x80, 0xA0, 0xFD-0xFF: U+0080 and U+F8F0 to
// U+F8F3 here); where the system refuses one, the decoder must mark it with
// U+FFFD. Prints every kind of difference and "N passed, M failed".
#include "text/CLCShiftJIS.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

using quorvex::internal::CLCShiftJIS;

std::wstring Wide(UINT codePage, DWORD flags, const std::string& bytes, bool& ok) {
  std::wstring out(bytes.size() * 2 + 2, L'\0');
  const int length = MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), out.data(),
                                         static_cast<int>(out.size()));
  ok = length > 0;
  out.resize(ok ? static_cast<std::size_t>(length) : 0);
  return out;
}

std::string Hex(const std::string& bytes) {
  std::string text;
  char piece[4];
  for (unsigned char c : bytes) {
    std::snprintf(piece, sizeof piece, "%02X", c);
    text += piece;
  }
  return text;
}

std::string Units(const std::wstring& text) {
  std::string units;
  char piece[8];
  for (wchar_t c : text) {
    std::snprintf(piece, sizeof piece, "%sU+%04X", units.empty() ? "" : " ", static_cast<unsigned>(c));
    units += piece;
  }
  return units;
}

// The system's answer for a byte the decoder reads as not Shift_JIS.
bool IsRoundTripUnit(wchar_t c) { return c == 0x0080 || (c >= 0xF8F0 && c <= 0xF8F3); }

bool IsLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrail(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

}  // namespace

int main() {
  int passed = 0;
  int failed = 0;
  int roundTripBytes = 0;
  std::map<std::string, int> leadWithoutTrail;  // what the system makes of them, without MB_ERR_INVALID_CHARS
  auto compare = [&](const std::string& bytes) {
    bool ok = false;
    const std::wstring decoded = Wide(CP_UTF8, MB_ERR_INVALID_CHARS, CLCShiftJIS::ToUtf8(bytes), ok);
    bool mapped = false;
    const std::wstring system = Wide(932, MB_ERR_INVALID_CHARS, bytes, mapped);
    bool agrees = ok;
    if (agrees && mapped) {
      agrees = decoded.size() == system.size();
      bool roundTrip = false;
      for (std::size_t i = 0; agrees && i < decoded.size(); ++i) {
        if (decoded[i] == system[i]) continue;
        roundTrip = decoded[i] == 0xFFFD && IsRoundTripUnit(system[i]);
        agrees = roundTrip;
      }
      if (agrees && roundTrip) ++roundTripBytes;
    } else if (agrees) {
      agrees = decoded.find(L'\uFFFD') != std::wstring::npos;
    }
    if (agrees) {
      ++passed;
      return;
    }
    if (++failed <= 40) {
      std::printf("DIFF %s: decoder %s, system %s\n", Hex(bytes).c_str(), Units(decoded).c_str(),
                  mapped ? Units(system).c_str() : "refuses");
    }
  };
  for (int first = 0; first < 256; ++first) compare(std::string(1, static_cast<char>(first)));
  for (int first = 0; first < 256; ++first) {
    for (int second = 0; second < 256; ++second) {
      const std::string bytes{static_cast<char>(first), static_cast<char>(second)};
      compare(bytes);
      if (IsLead(static_cast<unsigned char>(first)) && !IsTrail(static_cast<unsigned char>(second))) {
        bool ok = false;
        const std::wstring loose = Wide(932, 0, bytes, ok);
        ++leadWithoutTrail[loose.size() == 1 ? "one character for both bytes" : "the second byte kept"];
      }
    }
  }
  std::printf("sequences with 0x80, 0xA0 or 0xFD-0xFF, which the system maps and the decoder marks: %d\n",
              roundTripBytes);
  for (const auto& [what, count] : leadWithoutTrail) {
    std::printf("lead byte and no trail byte, system without MB_ERR_INVALID_CHARS: %s: %d\n", what.c_str(), count);
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
