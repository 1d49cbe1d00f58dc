#pragma once
#include <cstddef>
#include <string>

// The engine's only door to the operating system: files, text encodings,
// trimming, escaping, the clock, dates and the definition documents.
// Every operation is stateless and reports failure through its sentinel result
// (empty text, -1, false); none records an error or writes to the log.
// Engine text is UTF-8; character lengths are UTF-16 code units.
class CLCCRSCommon {
 public:
  CLCCRSCommon() = default;
  virtual ~CLCCRSCommon() = default;

  // Size in bytes, or -1 when the entry cannot be examined.
  static long GetFileSize(const char* path);
  // Whole file as strictly validated UTF-8; empty when unreadable or invalid.
  static std::string ReadFileData(const char* path);
  // Whole file decoded from Shift_JIS (Windows-31J table, strict) into UTF-8;
  // empty when unreadable or undecodable.
  static std::string ReadCsvFileData(const char* path);
  // Whole file as it is on disk, undecoded; false when it cannot be read.
  static bool ReadFileBytes(const char* path, std::string& bytes);
  // Writes the text as UTF-8 without byte-order mark. The text goes to a
  // temporary file in the target folder that is then renamed over the target,
  // so a failure never leaves a partial or damaged file.
  static bool WriteFileData(const char* path, const std::string& text);
  // True when an entry exists at the path and it is not a folder.
  static bool PathFileExists(const char* path);
  // True when the process can open the file for reading.
  static bool PathFileIsRead(const char* path);
  // True when the folder that would hold the path exists. A path without a
  // folder part names a file in the current folder.
  static bool PathDirectoryExists(const char* path);

  // Copy without leading and trailing white space (space, U+3000, tab, CR, LF,
  // form feed, vertical tab and the other Unicode white space); empty for null.
  static std::string StringTrim(const char* text);
  // Appends the first `length` bytes of text to out with " & ' < > escaped.
  static void ConvEntityRefs(const char* text, std::size_t length, std::string& out);

  // Current local time in the given date and time patterns (Gregorian calendar);
  // both given: date, one space, time. Both null or empty: empty text.
  static std::string Now(const char* datePattern, const char* timePattern);

  // Definition document text for 205 to 208 and type "DEFINITION"; empty otherwise.
  static std::string LoadResoucePath(unsigned short identifier, const char* type);

  // Dates: "yyyy/MM/dd[ HH:mm:ss]" (hyphen and full stop read as slash) or
  // Japanese-calendar "GGyy/MM/dd[ HH:mm:ss]", strict, whole text.
  static bool dateTimeChange(const char* text);
  // 0 equal, 1 a later, 2 a earlier, -1 a is no date, -2 b is no date.
  static int dateTimeComp(const char* a, const char* b);
  // UTF-16 code units of the UTF-8 text; 0 when it cannot be converted.
  static long getCharacterLength(const char* text);

  static std::string homeDirectory();
  // Folder joined with name by exactly one separator; empty for a null folder.
  static std::string appendFilePath(const char* folder, const char* name);
  // Folder of the debug log: the home folder, on Windows the temporary folder.
  static std::string LogDirectory();
  // Appends one debug-log record (UTF-8) to the file, creating it, in the
  // system's log encoding; failures are ignored, as the log never reports them.
  static void AppendLogRecord(const char* path, const std::string& record);
  // Value of an environment variable, or null when absent.
  static const char* GetEnvironment(const char* name);
};
