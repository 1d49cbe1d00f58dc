#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

struct CLCLocalTime;

namespace quorvex::internal {

class CLCNativeFileReader;

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
  // Whole file decoded from Shift_JIS (Windows-31J table) into UTF-8; empty
  // when unreadable. See ShiftJisToUtf8 for bytes that do not decode.
  static std::string ReadCsvFileData(const char* path);
  // A regular file's bytes as they are on disk, undecoded: at most maxBytes + 1
  // of them, so that a longer result means the file passes the limit (no limit
  // when maxBytes is negative). false when the file cannot be read or is not a
  // regular file (a FIFO, a device, a folder): nothing else is ever read.
  static bool ReadFileBytes(const char* path, std::string& bytes, long maxBytes = -1);
  // The same file open for reading in pieces (CLCNativeFileReader::read), so
  // that a large one is never held whole; null when ReadFileBytes would fail.
  static std::unique_ptr<CLCNativeFileReader> OpenFileReader(const char* path);
  // Shift_JIS bytes as code page 932 reads them, as UTF-8 (CLCShiftJIS, the
  // same on every system). Every byte sequence that is not Shift_JIS becomes
  // U+FFFD, which the table never yields otherwise, so the reader can point at
  // it; empty only for empty input or when memory runs out.
  static std::string ShiftJisToUtf8(std::string_view bytes);
  // Writes the text as UTF-8 without byte-order mark. The text goes to an
  // unnamed (else hidden) temporary file in the target folder that is then put
  // in place atomically, so a failure never leaves a partial or damaged file.
  // A symbolic link is followed and kept; only a regular file that the process
  // may write and that is not read-only is replaced.
  static bool WriteFileData(const char* path, const std::string& text);
  // True when both paths name the same existing file (same device and inode,
  // links followed), whatever the spelling of the paths.
  static bool IsSameFile(const char* first, const char* second);
  // True when a regular file exists at the path (links followed).
  static bool PathFileExists(const char* path);
  // True when the process can open the file for reading.
  static bool PathFileIsRead(const char* path);
  // True when the folder that would hold the path exists. A path without a
  // folder part names a file in the current folder.
  static bool PathDirectoryExists(const char* path);
  // Creates the folder that would hold the path, with any missing parents;
  // true when it exists afterwards.
  static bool CreatePathDirectory(const char* path);

  // Copy without leading and trailing white space (space, U+3000, tab, CR, LF,
  // form feed, vertical tab and the other Unicode white space); empty for null.
  static std::string StringTrim(const char* text);
  // Appends the first `length` bytes of text to out with " & ' < > escaped and
  // CR as "&#13;"; in an attribute value also tab and LF ("&#9;", "&#10;"), so
  // that every value reads back byte for byte.
  static void ConvEntityRefs(const char* text, std::size_t length, std::string& out, bool attribute = false);
  // The same for NUL-terminated text (null: nothing).
  static void ConvEntityRefs(const char* text, std::string& out, bool attribute = false);

  // Current local time (Gregorian calendar); false when the clock cannot be read.
  static bool LocalNow(CLCLocalTime& now);
  // Current local time in the given date and time patterns (Gregorian calendar);
  // both given: date, one space, time. Both null or empty: empty text.
  static std::string Now(const char* datePattern, const char* timePattern);

  // Text of definition document 205 to 208 for type "DEFINITION"; empty otherwise.
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
  // The environment variable that switches the debug log on: "QUORVEX_OUTPUT",
  // on macOS a reverse-domain name ending in ".DebugOutput".
  static const char* DebugSwitchVariable();
};
}  // namespace quorvex::internal
