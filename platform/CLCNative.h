#pragma once
#include "CLCLocalTime.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quorvex::internal {

// The part of the platform services that differs per operating system. Exactly
// one body is compiled, chosen by CMake from the target system:
//
//   Linux and other POSIX systems   CLCLinuxNative.cpp    POSIX files, clock
//   (and the browser, Emscripten)
//   Windows                         CLCWindowsNative.cpp  Win32
//   macOS                           CLCMacOSNative.mm     Foundation
//
// Everything else (Shift_JIS decoding, trimming, XML escaping, UTF-16 code-unit
// counts, dates in both calendars, path joining, the definition documents, time
// formatting, reading the environment) is portable code in CLCShiftJIS,
// CLCPortable, CLCDateText and CLCCRSCommon,
// shared by every body and tested once.
//
// Contract every body keeps:
// - Stateless: no global or thread_local mutable state; any operation may run on
//   several threads at once.
// - No exception leaves an operation; failure is reported only through the
//   sentinel named below (-1, false, empty text). Nothing is logged or recorded.
// - Text in and out is UTF-8, paths included; a body converts to the system's own
//   encoding (for example UTF-16 for the Win32 wide calls). A null path fails.
// - Definition documents are handed to the engine as text: the copy compiled into
//   the library (CLCPortable::definitionDocument), or on Windows the "DEFINITION"
//   resources of the module that holds the engine, whose handle the module's entry
//   point gives the body once (its only state). Every build, the macOS framework
//   included, parses that text; no system carries them as separate files.
// A regular file open for reading in pieces, so that a large file is never
// held whole; closed when destroyed. Each reading opens its own.
class CLCNative;
class CLCNativeFileReader {
 public:
  // Null when the file cannot be opened or is anything but a regular file (a
  // FIFO, a device, a folder); opening never blocks.
  static std::unique_ptr<CLCNativeFileReader> open(const char* path);
  ~CLCNativeFileReader();
  CLCNativeFileReader(const CLCNativeFileReader&) = delete;
  CLCNativeFileReader& operator=(const CLCNativeFileReader&) = delete;
  // Up to `size` bytes into `buffer`: how many were read, 0 at the end of the
  // file, -1 when reading fails.
  long read(char* buffer, std::size_t size);

 private:
  friend class CLCNative;  // whole-file reading sizes its buffer from the open file
  explicit CLCNativeFileReader(std::intptr_t handle) : m_handle(handle) {}
  std::intptr_t m_handle;  // the system's open file: a descriptor or a handle
};

class CLCNative {
 public:
  // Size in bytes, or -1 when the entry cannot be examined (missing, no access).
  static long getFileSize(const char* path);
  // A regular file's bytes as they are on disk, taken from the open file (links
  // followed): at most maxBytes + 1 of them, all when maxBytes is negative. false
  // (bytes empty) when it cannot be opened or read, or is anything but a regular
  // file (a FIFO, a device, a folder); opening never blocks.
  static bool readFileBytes(const char* path, std::string& bytes, long maxBytes = -1);
  // Writes the bytes to a temporary file in the target's folder (unnamed where
  // the system allows, so that a killed process leaves nothing) and puts it in
  // place atomically: a failure leaves the target as it was and no temporary
  // behind. A replaced file keeps its permissions; a symlink's final target is
  // replaced and the link kept. Only a regular file that the process may write
  // and that is not read-only is replaced; anything else fails. True on success;
  // on failure errno holds the system's reason where it gave one (ENOSPC for a
  // full disk), for a message a person can act on.
  static bool writeFile(const char* path, const std::string& text);
  // True when both paths name the same existing file (same device and file
  // identity, links followed), however they are spelt.
  static bool isSameFile(const char* first, const char* second);
  // True when a regular file exists at the path (links followed).
  static bool pathFileExists(const char* path);
  // True when the process can open the file for reading (without blocking).
  static bool pathFileIsRead(const char* path);
  // True when the folder that would hold the path exists and is a folder; a path
  // without a folder part names a file in the current folder.
  static bool pathDirectoryExists(const char* path);
  // Creates the folder that would hold the path, and every missing folder
  // above it (new ones for the user alone where the system has such modes);
  // a folder another process creates meanwhile is fine. True when the folder
  // exists afterwards.
  static bool createPathDirectory(const char* path);
  // Current local time; false when the clock cannot be read.
  static bool localNow(CLCLocalTime& now);
  // The user's home folder, or empty text.
  static std::string homeDirectory();
  // Text of definition document 205 to 208 (the Shift_JIS bytes of the file),
  // or empty: the compiled-in copy, on Windows the module's resource.
  static std::string definitionDocument(unsigned short identifier);
  // Folder of the debug log (Windows: the temporary folder), or empty text.
  static std::string logDirectory();
  // Appends a UTF-8 log record to the file, creating it, in the encoding the
  // system's support staff read (Windows: code page 932); failures are ignored.
  static void appendLogRecord(const char* path, const std::string& record);
  // Name of the environment variable whose presence switches the debug log on,
  // in the form the system's hosts use for such settings.
  static const char* debugSwitchVariable();
};
}  // namespace quorvex::internal
