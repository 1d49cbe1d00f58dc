#include "CLCBstrText.h"

#include <climits>

namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Strict conversion: false when the text is not valid UTF-16.
bool StrictUtf8(const wchar_t* text, int length, std::string& out) {
  const int size = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return false;
  out.resize(static_cast<std::size_t>(size));
  return WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, length, out.data(), size, nullptr, nullptr) ==
         size;
}

}  // namespace

std::string CLCBstrText::ToUtf8(BSTR text) {
  const UINT length = SysStringLen(text);
  if (length == 0 || length > INT_MAX / 3) return {};
  std::string out;
  if (StrictUtf8(text, static_cast<int>(length), out)) return out;
  // Valid runs convert as they are; an unpaired surrogate is written as the
  // three bytes its code point would take, an ill-formed UTF-8 sequence.
  out.clear();
  UINT start = 0;
  for (UINT i = 0; i <= length; ++i) {
    bool unpaired = false;
    if (i < length) {
      if (IsHighSurrogate(text[i])) {
        if (i + 1 < length && IsLowSurrogate(text[i + 1])) {
          ++i;
          continue;
        }
        unpaired = true;
      } else {
        unpaired = IsLowSurrogate(text[i]);
      }
      if (!unpaired) continue;
    }
    std::string run;
    if (i > start && !StrictUtf8(text + start, static_cast<int>(i - start), run)) return {};
    out += run;
    if (unpaired) {
      const unsigned unit = text[i];
      out.push_back(static_cast<char>(0xE0 | (unit >> 12)));
      out.push_back(static_cast<char>(0x80 | ((unit >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
    }
    start = i + 1;
  }
  return out;
}

std::wstring CLCBstrText::FromUtf8(const std::string& text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
  if (size <= 0) return {};
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), length, out.data(), size);
  return out;
}
