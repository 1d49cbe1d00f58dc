#include "text/CLCPortable.h"

#include "definitions/CLCDefinitionResources.h"
#include "CLCNative.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace quorvex::internal {

int32_t CLCPortable::nextCodePoint(const unsigned char* text, std::size_t length, std::size_t& i) {
  const unsigned char lead = text[i++];
  if (lead < 0x80) return lead;
  int trail = 0;
  int32_t cp = 0;
  int32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    trail = 1; cp = lead & 0x1F; minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trail = 2; cp = lead & 0x0F; minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trail = 3; cp = lead & 0x07; minimum = 0x10000;
  } else {
    return -1;
  }
  if (length - i < static_cast<std::size_t>(trail)) return -1;
  for (int k = 0; k < trail; ++k) {
    const unsigned char c = text[i++];
    if ((c & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
  return cp;
}

bool CLCPortable::isValidUtf8(const std::string& text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  for (std::size_t i = 0; i < text.size();) {
    if (nextCodePoint(bytes, text.size(), i) < 0) return false;
  }
  return true;
}

bool CLCPortable::isWhiteSpace(int32_t cp) {
  // The White_Space property is fixed by Unicode's stability policy.
  return (cp >= 0x09 && cp <= 0x0D) || cp == 0x20 || cp == 0x85 || cp == 0xA0 || cp == 0x1680 ||
         (cp >= 0x2000 && cp <= 0x200A) || cp == 0x2028 || cp == 0x2029 || cp == 0x202F ||
         cp == 0x205F || cp == 0x3000;
}

std::string CLCPortable::trim(const char* text) {
  if (text == nullptr) return {};
  const std::size_t length = std::strlen(text);
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  // One pass validates the text and finds where the non-white content starts and ends.
  std::size_t begin = length;
  std::size_t end = 0;
  for (std::size_t i = 0; i < length;) {
    const std::size_t start = i;
    const int32_t cp = nextCodePoint(bytes, length, i);
    if (cp < 0) return std::string(text, length);
    if (!isWhiteSpace(cp)) {
      if (begin == length) begin = start;
      end = i;
    }
  }
  if (begin >= end) return {};
  return std::string(text + begin, end - begin);
}

long CLCPortable::characterLength(const char* text) {
  if (text == nullptr) return 0;
  const std::size_t length = std::strlen(text);
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  long units = 0;
  for (std::size_t i = 0; i < length;) {
    if (bytes[i] < 0x80) {  // most values are ASCII: one unit per byte, no decoding
      ++units;
      ++i;
      continue;
    }
    const int32_t cp = nextCodePoint(bytes, length, i);
    if (cp < 0) return 0;
    units += cp > 0xFFFF ? 2 : 1;
  }
  return units;
}

namespace {

// The bytes that are written as references: the first six everywhere, tab and
// LF in attribute values only. A parser reads a raw CR as LF, and in an
// attribute a raw tab or LF as a space: references keep the value exact.
struct Entity {
  char byte;
  const char* reference;
};
constexpr Entity kEntityList[] = {{'"', "&quot;"}, {'&', "&amp;"},  {'\'', "&apos;"}, {'<', "&lt;"},
                                  {'>', "&gt;"},   {'\r', "&#13;"}, {'\t', "&#9;"},   {'\n', "&#10;"}};
constexpr std::size_t kTextEntityCount = 6;

// Per kind of text (0 element text, 1 attribute value): the reference of each
// byte (null: the byte itself) and the bytes to stop at, NUL-terminated.
struct EntityTable {
  const char* replacement[2][256] = {};
  char stops[2][sizeof kEntityList / sizeof kEntityList[0] + 1] = {};
  constexpr EntityTable() {
    for (int attribute = 0; attribute < 2; ++attribute) {
      const std::size_t count = attribute ? sizeof kEntityList / sizeof kEntityList[0] : kTextEntityCount;
      for (std::size_t i = 0; i < count; ++i) {
        replacement[attribute][static_cast<unsigned char>(kEntityList[i].byte)] = kEntityList[i].reference;
        stops[attribute][i] = kEntityList[i].byte;
      }
    }
  }
};
constexpr EntityTable kEntities;

}  // namespace

void CLCPortable::convEntityRefs(const char* text, std::size_t length, std::string& out, bool attribute) {
  if (text == nullptr || length == 0) return;
  const char* const* replacement = kEntities.replacement[attribute ? 1 : 0];
  // Copy runs of ordinary bytes at once.
  std::size_t runStart = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const char* entity = replacement[static_cast<unsigned char>(text[i])];
    if (entity == nullptr) continue;
    out.append(text + runStart, i - runStart);
    out.append(entity);
    runStart = i + 1;
  }
  out.append(text + runStart, length - runStart);
}

void CLCPortable::convEntityRefs(const char* text, std::string& out, bool attribute) {
  if (text == nullptr) return;
  const int kind = attribute ? 1 : 0;
  // The C library finds the next byte to replace faster than a loop here, and
  // the end of the text on the way.
  for (;;) {
    const std::size_t run = std::strcspn(text, kEntities.stops[kind]);
    out.append(text, run);
    text += run;
    if (*text == '\0') return;
    out.append(kEntities.replacement[kind][static_cast<unsigned char>(*text)]);
    ++text;
  }
}

namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "/\\";
#else
constexpr std::string_view kSeparators = "/";
#endif

bool IsSeparator(char c) { return kSeparators.find(c) != std::string_view::npos; }

}  // namespace

std::string CLCPortable::appendFilePath(const char* folder, const char* name) {
  if (folder == nullptr) return {};
  std::string joined(folder);
  std::string_view tail(name != nullptr ? name : "");
  while (!tail.empty() && IsSeparator(tail.front())) tail.remove_prefix(1);
  while (joined.size() > 1 && IsSeparator(joined.back())) joined.pop_back();
  if (tail.empty()) return joined;
  if (joined.empty()) return std::string(tail);
  if (!IsSeparator(joined.back())) joined.push_back('/');
  joined.append(tail);
  return joined;
}

std::string CLCPortable::formatTime(const std::string& pattern, const CLCLocalTime& time) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size();) {
    const char c = pattern[i];
    if (c == '\'') {
      // Quoted literal; '' inside or outside quotes is one apostrophe.
      if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
        out.push_back('\'');
        i += 2;
        continue;
      }
      for (++i; i < pattern.size(); ++i) {
        if (pattern[i] != '\'') {
          out.push_back(pattern[i]);
        } else if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
          out.push_back('\'');
          ++i;
        } else {
          break;
        }
      }
      ++i;
      continue;
    }
    std::size_t count = 1;
    while (i + count < pattern.size() && pattern[i + count] == c) ++count;
    int value = -1;
    switch (c) {
      case 'y': value = count == 2 ? time.year % 100 : time.year; break;
      case 'M': value = time.month; break;
      case 'd': value = time.day; break;
      case 'H': value = time.hour; break;
      case 'm': value = time.minute; break;
      case 's': value = time.second; break;
      case 'S': value = time.millisecond; break;
      default: break;
    }
    if (value < 0) {
      out.append(count, c);
    } else {
      char digits[16];
      std::snprintf(digits, sizeof digits, "%0*d", static_cast<int>(count > 9 ? 9 : count), value);
      out.append(digits);
    }
    i += count;
  }
  return out;
}

std::string CLCPortable::definitionDocument(unsigned short identifier) {
  for (const CLCDefinitionResource* entry = kCLCDefinitionResources; entry->id != 0; ++entry) {
    if (entry->id == identifier) return std::string(entry->bytes, entry->size);
  }
  return {};
}
}  // namespace quorvex::internal
