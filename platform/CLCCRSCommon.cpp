#include "CLCCRSCommon.h"

// One body per system; the macOS framework build defines QUORVEX_PLATFORM_MACOS.
#if defined(QUORVEX_PLATFORM_MACOS)
#include "CLCMacOSNative.h"
using CLCNative = CLCMacOSNative;
#else
#include "CLCLinuxNative.h"
using CLCNative = CLCLinuxNative;
#endif

#include <cstring>

long CLCCRSCommon::GetFileSize(const char* path) { return CLCNative::getFileSize(path); }

std::string CLCCRSCommon::ReadFileData(const char* path) { return CLCNative::readFile(path); }

std::string CLCCRSCommon::ReadCsvFileData(const char* path) { return CLCNative::readFileSJIS(path); }

bool CLCCRSCommon::ReadFileBytes(const char* path, std::string& bytes) {
  return CLCNative::readFileBytes(path, bytes);
}

bool CLCCRSCommon::WriteFileData(const char* path, const std::string& text) {
  return CLCNative::writeFile(path, text);
}

bool CLCCRSCommon::PathFileExists(const char* path) { return CLCNative::pathFileExists(path); }

bool CLCCRSCommon::PathFileIsRead(const char* path) { return CLCNative::pathFileIsRead(path); }

bool CLCCRSCommon::PathDirectoryExists(const char* path) { return CLCNative::pathDirectoryExists(path); }

std::string CLCCRSCommon::StringTrim(const char* text) { return CLCNative::stringByTrimming(text); }

void CLCCRSCommon::ConvEntityRefs(const char* text, std::size_t length, std::string& out) {
  if (text == nullptr || length == 0) return;
  out.reserve(out.size() + length);
  // Copy runs of ordinary bytes at once; UTF-8 multi-byte sequences never
  // contain these five ASCII values, so byte-wise visiting is exact.
  std::size_t runStart = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const char* replacement = nullptr;
    switch (text[i]) {
      case '"': replacement = "&quot;"; break;
      case '&': replacement = "&amp;"; break;
      case '\'': replacement = "&apos;"; break;
      case '<': replacement = "&lt;"; break;
      case '>': replacement = "&gt;"; break;
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
  return CLCNative::dateTimeNow(pattern);
}

std::string CLCCRSCommon::LoadResoucePath(unsigned short identifier, const char* type) {
  if (type == nullptr || std::strcmp(type, "DEFINITION") != 0) return {};
  if (identifier < 205 || identifier > 208) return {};
  return CLCNative::definitionDocument(identifier);
}

bool CLCCRSCommon::ResourceIsPath() { return CLCNative::kResourceIsPath; }

bool CLCCRSCommon::dateTimeChange(const char* text) { return CLCNative::dateTimeChange(text); }

int CLCCRSCommon::dateTimeComp(const char* a, const char* b) { return CLCNative::dateTimeComp(a, b); }

long CLCCRSCommon::getCharacterLength(const char* text) { return CLCNative::getCharacterLength(text); }

std::string CLCCRSCommon::homeDirectory() { return CLCNative::homeDirectory(); }

std::string CLCCRSCommon::appendFilePath(const char* folder, const char* name) {
  return CLCNative::appendFilePath(folder, name);
}

const char* CLCCRSCommon::GetEnvironment(const char* name) { return CLCNative::getEnvironment(name); }
