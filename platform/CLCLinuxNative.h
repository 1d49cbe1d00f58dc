#pragma once
#include <string>

// Linux bodies of the platform services: POSIX files, ICU for encodings,
// calendars and the clock. Stateless; every operation reports failure through
// its sentinel result. CLCCRSCommon forwards here.
class CLCLinuxNative {
 public:
  static long getFileSize(const char* path);
  // Whole file as it is on disk; false when it cannot be opened or read.
  static bool readFileBytes(const char* path, std::string& bytes);
  // Whole file, strictly validated as UTF-8; empty when unreadable or invalid.
  static std::string readFile(const char* path);
  // Whole file decoded from Windows-31J into UTF-8; empty on any undecodable byte.
  static std::string readFileSJIS(const char* path);
  // Temporary file in the target folder, synchronised, renamed over the target.
  static bool writeFile(const char* path, const std::string& text);
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
  static constexpr bool kResourceIsPath = false;
  static std::string definitionDocument(unsigned short identifier);
  static const char* getEnvironment(const char* name);
};
