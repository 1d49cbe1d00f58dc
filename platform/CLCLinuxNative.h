#pragma once
#include <string>

// Linux bodies of the platform services: POSIX files, ICU for encodings,
// calendars and the clock. Stateless; every operation reports failure through
// its sentinel result. CLCCRSCommon forwards here.
class CLCLinuxNative {
 public:
  static long getFileSize(const char* path);
  // A regular file's bytes as they are on disk, at most maxBytes + 1 of them
  // (all for a negative maxBytes); false when it cannot be read or is no regular file.
  static bool readFileBytes(const char* path, std::string& bytes, long maxBytes = -1);
  // Whole file, strictly validated as UTF-8; empty when unreadable or invalid.
  static std::string readFile(const char* path);
  // Windows-31J bytes as UTF-8, every undecodable sequence as U+FFFD.
  static std::string shiftJisToUtf8(const std::string& bytes);
  // Unnamed (else hidden) file in the target folder, synchronised, put in place
  // atomically; links followed; only a writable regular file is replaced.
  static bool writeFile(const char* path, const std::string& text);
  static bool isSameFile(const char* first, const char* second);
  static bool pathFileExists(const char* path);
  static bool pathFileIsRead(const char* path);
  static bool pathDirectoryExists(const char* path);

  static std::string stringByTrimming(const char* text);

  // Current local time formatted with one combined pattern (Gregorian, ja_JP).
  static std::string dateTimeNow(const std::string& pattern);
  static bool dateTimeChange(const char* text);
  static int dateTimeComp(const char* a, const char* b);
  static long getCharacterLength(const char* text);

  static std::string homeDirectory();
  static std::string appendFilePath(const char* folder, const char* name);

  // Text of the compiled-in definition document, or empty.
  static std::string definitionDocument(unsigned short identifier);
  static const char* getEnvironment(const char* name);
};
