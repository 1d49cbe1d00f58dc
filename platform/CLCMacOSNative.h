#pragma once
#include <string>

// macOS bodies of the platform services, written against Foundation. Plain C++
// interface so that engine sources stay C++. Stateless; every operation
// reports failure through its sentinel result. CLCCRSCommon forwards here.
class CLCMacOSNative {
 public:
  static long getFileSize(const char* path);
  // Whole file as it is on disk; false when it cannot be read.
  static bool readFileBytes(const char* path, std::string& bytes);
  // Whole file decoded as UTF-8; empty when unreadable or invalid.
  static std::string readFile(const char* path);
  // Whole file decoded from Shift_JIS (Windows-31J) into UTF-8; empty when
  // unreadable or undecodable.
  static std::string readFileSJIS(const char* path);
  // Written whole to a temporary file beside the target, then moved over it.
  static bool writeFile(const char* path, const std::string& text);
  static bool pathFileExists(const char* path);
  static bool pathFileIsRead(const char* path);
  static bool pathDirectoryExists(const char* path);

  // Trimmed of the system's white-space and line-break set; invalid UTF-8 is
  // returned unchanged.
  static std::string stringByTrimming(const char* text);

  // Current local time formatted with one combined pattern (Gregorian, ja_JP).
  static std::string dateTimeNow(const std::string& pattern);
  static bool dateTimeChange(const char* text);
  static int dateTimeComp(const char* a, const char* b);
  static long getCharacterLength(const char* text);

  static std::string homeDirectory();
  static std::string appendFilePath(const char* folder, const char* name);

  // The definition documents are files of the framework's resource bundle:
  // the lookup gives the file's full path, which the caller parses as a file.
  static constexpr bool kResourceIsPath = true;
  static std::string definitionDocument(unsigned short identifier);
  // Full path of a file of the resource bundle; empty when not found.
  static std::string getBundlePathName(const char* name);
  static const char* getEnvironment(const char* name);
};
