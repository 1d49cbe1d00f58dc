#include "CLCNative.h"
#include "text/CLCPortable.h"

#import <Foundation/Foundation.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <memory>
#include <new>
#include <cstring>

namespace quorvex::internal {

// The macOS body of the platform services, written against Foundation: files
// through NSFileManager and NSData (a file read in pieces through a POSIX
// descriptor), the clock through NSDate and the Gregorian NSCalendar.
//
// Every operation runs under its own autorelease pool, since the engine may
// call from threads that have none, and catches everything: a Foundation
// exception or a C++ one becomes the operation's sentinel result.

namespace {

class AutoreleasePool {
 public:
  AutoreleasePool() : m_pPool([[NSAutoreleasePool alloc] init]) {}
  ~AutoreleasePool() { [m_pPool drain]; }
  AutoreleasePool(const AutoreleasePool&) = delete;
  AutoreleasePool& operator=(const AutoreleasePool&) = delete;

 private:
  NSAutoreleasePool* m_pPool;
};

// Runs body under a pool; any exception gives the sentinel.
template <typename Result, typename Body>
Result Guarded(Result sentinel, Body body) {
  try {
    AutoreleasePool pool;
    return body();
  } catch (...) {
    return sentinel;
  }
}

// A path in the file system's representation; nil for null or empty.
NSString* PathOf(const char* path) {
  if (path == nullptr || *path == '\0') return nil;
  return [[NSFileManager defaultManager] stringWithFileSystemRepresentation:path
                                                                      length:std::strlen(path)];
}

std::string TextOf(NSString* string) {
  if (string == nil) return {};
  NSData* data = [string dataUsingEncoding:NSUTF8StringEncoding];
  if (data == nil) return {};
  return std::string(static_cast<const char*>([data bytes]), [data length]);
}

// Attributes of what the path names, links followed; nil when it does not exist.
NSDictionary* AttributesOf(NSString* path) {
  return [[NSFileManager defaultManager] attributesOfItemAtPath:[path stringByResolvingSymlinksInPath]
                                                          error:NULL];
}

bool IsRegularFile(NSString* path) {
  return [[AttributesOf(path) fileType] isEqualToString:NSFileTypeRegular];
}

// Entry at path: 0 none, 1 a folder, 2 anything else. Links are followed.
int EntryKind(NSString* path) {
  BOOL isDirectory = NO;
  if (![[NSFileManager defaultManager] fileExistsAtPath:path isDirectory:&isDirectory]) return 0;
  return isDirectory ? 1 : 2;
}

}  // namespace

long CLCNative::getFileSize(const char* path) {
  return Guarded(-1L, [&]() -> long {
    NSString* file = PathOf(path);
    if (file == nil) return -1;
    // Attributes of what a link points at, as the engine reads through links.
    NSDictionary* attributes = AttributesOf(file);
    if (attributes == nil) return -1;
    return static_cast<long>([attributes fileSize]);
  });
}

std::unique_ptr<CLCNativeFileReader> CLCNativeFileReader::open(const char* path) {
  return Guarded(std::unique_ptr<CLCNativeFileReader>(), [&]() -> std::unique_ptr<CLCNativeFileReader> {
    NSString* file = PathOf(path);
    if (file == nil) return nullptr;
    // A descriptor rather than a file handle object, so that pieces are read
    // without copies; non-blocking, and only a regular file is kept.
    const int fd = ::open([file fileSystemRepresentation], O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      ::close(fd);
      return nullptr;
    }
    try {
      return std::unique_ptr<CLCNativeFileReader>(new CLCNativeFileReader(fd));
    } catch (const std::bad_alloc&) {
      ::close(fd);
      return nullptr;
    }
  });
}

CLCNativeFileReader::~CLCNativeFileReader() { ::close(static_cast<int>(m_handle)); }

long CLCNativeFileReader::read(char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(static_cast<int>(m_handle), buffer, size);
    if (n >= 0) return static_cast<long>(n);
    if (errno != EINTR) return -1;
  }
}

bool CLCNative::readFileBytes(const char* path, std::string& bytes, long maxBytes) {
  bytes.clear();
  return Guarded(false, [&]() {
    NSString* file = PathOf(path);
    // Only a regular file is opened, so that a FIFO or a device never blocks.
    if (file == nil || !IsRegularFile(file)) return false;
    NSFileHandle* handle = [NSFileHandle fileHandleForReadingAtPath:file];
    if (handle == nil) return false;
    NSData* data = maxBytes < 0 ? [handle readDataToEndOfFile]
                                : [handle readDataOfLength:static_cast<NSUInteger>(maxBytes) + 1];
    [handle closeFile];
    if (data == nil) return false;
    bytes.assign(static_cast<const char*>([data bytes]), [data length]);
    return true;
  });
}

bool CLCNative::writeFile(const char* path, const std::string& text) {
  return Guarded(false, [&]() {
    NSString* requested = PathOf(path);
    if (requested == nil) return false;
    // A link keeps pointing at the file it names: its target is what is replaced.
    NSString* target = [requested stringByResolvingSymlinksInPath];
    NSFileManager* manager = [NSFileManager defaultManager];
    const int kind = EntryKind(target);
    if (kind == 1) return false;
    NSDictionary* previous = kind == 2 ? [manager attributesOfItemAtPath:target error:NULL] : nil;
    // Only a regular file that the process may write and that is not read-only
    // is replaced.
    if (kind == 2 && (![[previous fileType] isEqualToString:NSFileTypeRegular] ||
                      ([previous filePosixPermissions] & 0222) == 0 || ![manager isWritableFileAtPath:target])) {
      return false;
    }

    // GNUstep logs a failed write to the standard error: spare a host the
    // common case of a missing folder.
    NSString* folder = [target stringByDeletingLastPathComponent];
    if ([folder length] > 0 && EntryKind(folder) != 1) return false;

    // Written to a temporary file beside the target and moved over it, so a
    // failure never leaves a partial or damaged file.
    NSData* data = [NSData dataWithBytes:text.data() length:text.size()];
    if (![data writeToFile:target atomically:YES]) return false;
    // A replaced file keeps its permissions.
    if (previous != nil) {
      NSDictionary* permissions = [NSDictionary dictionaryWithObject:[previous objectForKey:NSFilePosixPermissions]
                                                              forKey:NSFilePosixPermissions];
#if defined(GNUSTEP)
      [manager changeFileAttributes:permissions atPath:target];  // GNUstep lacks the error: form
#else
      [manager setAttributes:permissions ofItemAtPath:target error:NULL];
#endif
    }
    return true;
  });
}

bool CLCNative::isSameFile(const char* first, const char* second) {
  return Guarded(false, [&]() {
    NSString* firstPath = PathOf(first);
    NSString* secondPath = PathOf(second);
    if (firstPath == nil || secondPath == nil) return false;
    NSDictionary* a = AttributesOf(firstPath);
    NSDictionary* b = AttributesOf(secondPath);
    if (a == nil || b == nil) return false;
    return [[a objectForKey:NSFileSystemNumber] isEqual:[b objectForKey:NSFileSystemNumber]] &&
           [[a objectForKey:NSFileSystemFileNumber] isEqual:[b objectForKey:NSFileSystemFileNumber]];
  });
}

bool CLCNative::pathFileExists(const char* path) {
  return Guarded(false, [&]() {
    NSString* file = PathOf(path);
    return file != nil && IsRegularFile(file);
  });
}

bool CLCNative::pathFileIsRead(const char* path) {
  return Guarded(false, [&]() {
    NSString* file = PathOf(path);
    return file != nil && [[NSFileManager defaultManager] isReadableFileAtPath:file];
  });
}

bool CLCNative::pathDirectoryExists(const char* path) {
  return Guarded(false, [&]() {
    NSString* file = PathOf(path);
    if (file == nil) return false;
    NSString* folder = [file stringByDeletingLastPathComponent];
    // A bare file name lives in the current folder.
    if ([folder length] == 0) folder = [[NSFileManager defaultManager] currentDirectoryPath];
    return EntryKind(folder) == 1;
  });
}

bool CLCNative::createPathDirectory(const char* path) {
  return Guarded(false, [&]() {
    NSString* file = PathOf(path);
    if (file == nil) return false;
    NSString* folder = [file stringByDeletingLastPathComponent];
    if ([folder length] == 0) return true;  // the current folder
    NSDictionary* attributes = [NSDictionary dictionaryWithObject:[NSNumber numberWithShort:0700]
                                                           forKey:NSFilePosixPermissions];
    // Fails when the folder appeared meanwhile; what counts is that it is there.
    [[NSFileManager defaultManager] createDirectoryAtPath:folder
                              withIntermediateDirectories:YES
                                               attributes:attributes
                                                    error:NULL];
    return EntryKind(folder) == 1;
  });
}

bool CLCNative::localNow(CLCLocalTime& now) {
  return Guarded(false, [&]() {
    NSDate* date = [NSDate date];
    // Gregorian whatever calendar the user prefers.
    NSCalendar* gregorian = [[[NSCalendar alloc] initWithCalendarIdentifier:NSGregorianCalendar] autorelease];
    if (gregorian == nil) return false;
    [gregorian setTimeZone:[NSTimeZone localTimeZone]];
    const NSUInteger units = NSCalendarUnitYear | NSCalendarUnitMonth | NSCalendarUnitDay | NSCalendarUnitHour |
                             NSCalendarUnitMinute | NSCalendarUnitSecond;
    NSDateComponents* parts = [gregorian components:units fromDate:date];
    if (parts == nil) return false;
    now.year = static_cast<int>([parts year]);
    now.month = static_cast<int>([parts month]);
    now.day = static_cast<int>([parts day]);
    now.hour = static_cast<int>([parts hour]);
    now.minute = static_cast<int>([parts minute]);
    now.second = static_cast<int>([parts second]);
    // Time zones differ by whole seconds, so the fraction is the local one too.
    const double seconds = [date timeIntervalSinceReferenceDate];
    now.millisecond = static_cast<int>((seconds - std::floor(seconds)) * 1000.0);
    return true;
  });
}

std::string CLCNative::homeDirectory() {
  return Guarded(std::string(), [&]() { return TextOf(NSHomeDirectory()); });
}

// macOS hosts name per-application settings in reverse-domain form.
const char* CLCNative::debugSwitchVariable() { return "kvr.Quorvex.DebugOutput"; }

std::string CLCNative::definitionDocument(unsigned short identifier) {
  return CLCPortable::definitionDocument(identifier);
}

std::string CLCNative::logDirectory() { return homeDirectory(); }

void CLCNative::appendLogRecord(const char* path, const std::string& record) {
  if (path == nullptr) return;
  Guarded(0, [&]() {
    NSString* file = [NSString stringWithUTF8String:path];
    if (file == nil) return 0;
    NSFileHandle* handle = [NSFileHandle fileHandleForWritingAtPath:file];
    if (handle == nil) {
      if (![[NSFileManager defaultManager] createFileAtPath:file contents:nil attributes:nil]) return 0;
      handle = [NSFileHandle fileHandleForWritingAtPath:file];
      if (handle == nil) return 0;
    }
    [handle seekToEndOfFile];
    [handle writeData:[NSData dataWithBytes:record.data() length:record.size()]];
    [handle closeFile];
    return 0;
  });
}
}  // namespace quorvex::internal
