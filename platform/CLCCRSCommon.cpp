#include "CLCCRSCommon.h"

#include "text/CLCDateText.h"
#include "CLCNative.h"
#include "text/CLCPortable.h"
#include "text/CLCShiftJIS.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace quorvex::internal {

long CLCCRSCommon::GetFileSize(const char* path) { return CLCNative::getFileSize(path); }

std::string CLCCRSCommon::ReadFileData(const char* path) {
  std::string bytes;
  if (!CLCNative::readFileBytes(path, bytes) || !CLCPortable::isValidUtf8(bytes)) return {};
  return bytes;
}

std::string CLCCRSCommon::ReadCsvFileData(const char* path) {
  std::string bytes;
  if (!CLCNative::readFileBytes(path, bytes)) return {};
  return ShiftJisToUtf8(bytes);
}

bool CLCCRSCommon::ReadFileBytes(const char* path, std::string& bytes, long maxBytes) {
  return CLCNative::readFileBytes(path, bytes, maxBytes);
}

std::unique_ptr<CLCNativeFileReader> CLCCRSCommon::OpenFileReader(const char* path) {
  return CLCNativeFileReader::open(path);
}

std::string CLCCRSCommon::ShiftJisToUtf8(std::string_view bytes) {
  try {
    return CLCShiftJIS::ToUtf8(bytes);
  } catch (const std::bad_alloc&) {
    return {};
  }
}

bool CLCCRSCommon::WriteFileData(const char* path, const std::string& text) {
  return CLCNative::writeFile(path, text);
}

bool CLCCRSCommon::IsSameFile(const char* first, const char* second) {
  return CLCNative::isSameFile(first, second);
}

bool CLCCRSCommon::PathFileExists(const char* path) { return CLCNative::pathFileExists(path); }

bool CLCCRSCommon::PathFileIsRead(const char* path) { return CLCNative::pathFileIsRead(path); }

bool CLCCRSCommon::PathDirectoryExists(const char* path) { return CLCNative::pathDirectoryExists(path); }

bool CLCCRSCommon::CreatePathDirectory(const char* path) { return CLCNative::createPathDirectory(path); }

std::string CLCCRSCommon::StringTrim(const char* text) { return CLCPortable::trim(text); }

void CLCCRSCommon::ConvEntityRefs(const char* text, std::size_t length, std::string& out, bool attribute) {
  CLCPortable::convEntityRefs(text, length, out, attribute);
}

void CLCCRSCommon::ConvEntityRefs(const char* text, std::string& out, bool attribute) {
  CLCPortable::convEntityRefs(text, out, attribute);
}

bool CLCCRSCommon::LocalNow(CLCLocalTime& now) { return CLCNative::localNow(now); }

std::string CLCCRSCommon::Now(const char* datePattern, const char* timePattern) {
  const bool hasDate = datePattern != nullptr && *datePattern != '\0';
  const bool hasTime = timePattern != nullptr && *timePattern != '\0';
  if (!hasDate && !hasTime) return {};
  std::string pattern;
  if (hasDate) pattern = datePattern;
  if (hasDate && hasTime) pattern.push_back(' ');
  if (hasTime) pattern.append(timePattern);
  CLCLocalTime now;
  if (!CLCNative::localNow(now)) return {};
  return CLCPortable::formatTime(pattern, now);
}

std::string CLCCRSCommon::LoadResoucePath(unsigned short identifier, const char* type) {
  if (type == nullptr || std::strcmp(type, "DEFINITION") != 0) return {};
  return CLCNative::definitionDocument(identifier);
}

bool CLCCRSCommon::dateTimeChange(const char* text) { return CLCDateText().parse(text); }

int CLCCRSCommon::dateTimeComp(const char* a, const char* b) {
  CLCDateText first;
  CLCDateText second;
  if (!first.parse(a)) return -1;
  if (!second.parse(b)) return -2;
  return first.compare(second);
}

long CLCCRSCommon::getCharacterLength(const char* text) { return CLCPortable::characterLength(text); }

std::string CLCCRSCommon::homeDirectory() { return CLCNative::homeDirectory(); }

std::string CLCCRSCommon::appendFilePath(const char* folder, const char* name) {
  return CLCPortable::appendFilePath(folder, name);
}

std::string CLCCRSCommon::LogDirectory() { return CLCNative::logDirectory(); }

void CLCCRSCommon::AppendLogRecord(const char* path, const std::string& record) {
  CLCNative::appendLogRecord(path, record);
}

// The C library reads the environment alike on every system.
const char* CLCCRSCommon::GetEnvironment(const char* name) { return name != nullptr ? std::getenv(name) : nullptr; }

const char* CLCCRSCommon::DebugSwitchVariable() { return CLCNative::debugSwitchVariable(); }
}  // namespace quorvex::internal
