#include "CLCCRSCommon.h"

#include "CLCLinuxNative.h"

#include <cstring>

long CLCCRSCommon::GetFileSize(const char* path) { return CLCLinuxNative::getFileSize(path); }

std::string CLCCRSCommon::ReadFileData(const char* path) { return CLCLinuxNative::readFile(path); }

std::string CLCCRSCommon::ReadCsvFileData(const char* path) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return {};
  return ShiftJisToUtf8(bytes);
}

bool CLCCRSCommon::ReadFileBytes(const char* path, std::string& bytes, long maxBytes) {
  return CLCLinuxNative::readFileBytes(path, bytes, maxBytes);
}

std::string CLCCRSCommon::ShiftJisToUtf8(const std::string& bytes) { return CLCLinuxNative::shiftJisToUtf8(bytes); }

bool CLCCRSCommon::WriteFileData(const char* path, const std::string& text) {
  return CLCLinuxNative::writeFile(path, text);
}

bool CLCCRSCommon::IsSameFile(const char* first, const char* second) {
  return CLCLinuxNative::isSameFile(first, second);
}

bool CLCCRSCommon::PathFileExists(const char* path) { return CLCLinuxNative::pathFileExists(path); }

bool CLCCRSCommon::PathFileIsRead(const char* path) { return CLCLinuxNative::pathFileIsRead(path); }

bool CLCCRSCommon::PathDirectoryExists(const char* path) { return CLCLinuxNative::pathDirectoryExists(path); }

std::string CLCCRSCommon::StringTrim(const char* text) { return CLCLinuxNative::stringByTrimming(text); }

void CLCCRSCommon::ConvEntityRefs(const char* text, std::size_t length, std::string& out, bool attribute) {
  if (text == nullptr || length == 0) return;
  out.reserve(out.size() + length);
  // Copy runs of ordinary bytes at once; UTF-8 multi-byte sequences never
  // contain these ASCII values, so byte-wise visiting is exact.
  std::size_t runStart = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const char* replacement = nullptr;
    switch (text[i]) {
      case '"': replacement = "&quot;"; break;
      case '&': replacement = "&amp;"; break;
      case '\'': replacement = "&apos;"; break;
      case '<': replacement = "&lt;"; break;
      case '>': replacement = "&gt;"; break;
      // A parser reads a raw CR as LF, and in an attribute a raw tab or LF as a
      // space: references keep the value exact.
      case '\r': replacement = "&#13;"; break;
      case '\t':
        if (!attribute) continue;
        replacement = "&#9;";
        break;
      case '\n':
        if (!attribute) continue;
        replacement = "&#10;";
        break;
      default: continue;
    }
    out.append(text + runStart, i - runStart);
    out.append(replacement);
    runStart = i + 1;
  }
  out.append(text + runStart, length - runStart);
}

std::string CLCCRSCommon::Now(const char* datePattern, const char* timePattern) {
  const bool hasDate = datePattern != nullptr && *datePattern != '\0';
  const bool hasTime = timePattern != nullptr && *timePattern != '\0';
  if (!hasDate && !hasTime) return {};
  std::string pattern;
  if (hasDate) pattern = datePattern;
  if (hasDate && hasTime) pattern.push_back(' ');
  if (hasTime) pattern.append(timePattern);
  return CLCLinuxNative::dateTimeNow(pattern);
}

std::string CLCCRSCommon::LoadResoucePath(unsigned short identifier, const char* type) {
  if (type == nullptr || std::strcmp(type, "DEFINITION") != 0) return {};
  if (identifier < 205 || identifier > 208) return {};
  return CLCLinuxNative::definitionDocument(identifier);
}

bool CLCCRSCommon::dateTimeChange(const char* text) { return CLCLinuxNative::dateTimeChange(text); }

int CLCCRSCommon::dateTimeComp(const char* a, const char* b) { return CLCLinuxNative::dateTimeComp(a, b); }

long CLCCRSCommon::getCharacterLength(const char* text) { return CLCLinuxNative::getCharacterLength(text); }

std::string CLCCRSCommon::homeDirectory() { return CLCLinuxNative::homeDirectory(); }

std::string CLCCRSCommon::appendFilePath(const char* folder, const char* name) {
  return CLCLinuxNative::appendFilePath(folder, name);
}

const char* CLCCRSCommon::GetEnvironment(const char* name) { return CLCLinuxNative::getEnvironment(name); }
