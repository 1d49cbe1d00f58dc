#include "CLCMacOSNative.h"

#import <Foundation/Foundation.h>

#if defined(GNUSTEP)
#include "CLCShiftJIS.h"
#endif

#include <cstdlib>
#include <cstring>

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

// UTF-8 engine text as a string; nil for null or invalid UTF-8.
NSString* StringOf(const char* text) {
  if (text == nullptr) return nil;
  return [[[NSString alloc] initWithBytes:text length:std::strlen(text)
                                 encoding:NSUTF8StringEncoding] autorelease];
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

// Entry at path: 0 none, 1 a folder, 2 anything else. Links are followed.
int EntryKind(NSString* path) {
  BOOL isDirectory = NO;
  if (![[NSFileManager defaultManager] fileExistsAtPath:path isDirectory:&isDirectory]) return 0;
  return isDirectory ? 1 : 2;
}

NSData* ContentsOf(const char* path) {
  NSString* file = PathOf(path);
  if (file == nil || EntryKind(file) != 2) return nil;
  return [NSData dataWithContentsOfFile:file];
}

// ja_JP formatter with the Gregorian or the Japanese calendar, whatever
// calendar the user prefers.
NSDateFormatter* Formatter(NSString* pattern, NSString* calendarIdentifier) {
  NSDateFormatter* formatter = [[[NSDateFormatter alloc] init] autorelease];
  [formatter setLocale:[[[NSLocale alloc] initWithLocaleIdentifier:@"ja_JP"] autorelease]];
  [formatter setCalendar:[[[NSCalendar alloc] initWithCalendarIdentifier:calendarIdentifier] autorelease]];
  [formatter setDateFormat:pattern];
  return formatter;
}

// Strict date formatters for the four date forms, one set per thread: building
// one costs milliseconds, and a formatter must not be shared between threads.
class DateParsers {
 public:
  DateParsers() = default;
  DateParsers(const DateParsers&) = delete;
  DateParsers& operator=(const DateParsers&) = delete;
  ~DateParsers() {
    AutoreleasePool pool;
    for (NSDateFormatter* format : m_formats) [format release];
  }

  NSDateFormatter* get(bool japanese, bool withTime) {
    NSDateFormatter*& slot = m_formats[(japanese ? 2 : 0) + (withTime ? 1 : 0)];
    if (slot == nil) {
      NSString* date = japanese ? @"GGyy/MM/dd" : @"yyyy/MM/dd";
      NSString* pattern = withTime ? [date stringByAppendingString:@" HH:mm:ss"] : date;
      slot = [Formatter(pattern, japanese ? NSJapaneseCalendar : NSGregorianCalendar) retain];
      [slot setLenient:NO];
    }
    return slot;
  }

 private:
  NSDateFormatter* m_formats[4] = {nil, nil, nil, nil};
};

NSString* Replace(NSString* text, NSString* what, NSString* with) {
  return [text stringByReplacingOccurrencesOfString:what withString:with];
}

// Parses a date text by the Gregorian or the Japanese-calendar rules; nil when
// it is no date. The formatter is asked not to be lenient, but Foundation
// still rolls impossible days over (2023/02/30 into March) and ignores text
// after the date, so a parse counts only when formatting the date again gives
// back exactly the text.
NSDate* DateStringToDate(const char* text) {
  NSString* subject = StringOf(text);
  if (subject == nil) return nil;
  NSCharacterSet* gregorianCharacters = [NSCharacterSet characterSetWithCharactersInString:@"1234567890/:.- "];
  const BOOL isGregorian =
      [subject rangeOfCharacterFromSet:[gregorianCharacters invertedSet]].location == NSNotFound;
  const BOOL withTime = [subject rangeOfString:@":"].location != NSNotFound;
  if (isGregorian) {
    subject = Replace(Replace(subject, @"-", @"/"), @".", @"/");
  } else {
    subject = Replace(subject, @"\u5143", @"01");  // 元, the first year of an era
    subject = Replace(subject, @"\u5e74", @"/");   // 年
    subject = Replace(subject, @"\u6708", @"/");   // 月
    subject = Replace(subject, @"\u65e5", @"");    // 日
  }
  thread_local DateParsers parsers;
  NSDateFormatter* formatter = parsers.get(!isGregorian, withTime);
  NSDate* date = [formatter dateFromString:subject];
  if (date == nil || ![[formatter stringFromDate:date] isEqualToString:subject]) return nil;
  return date;
}

struct DefinitionFile {
  unsigned short identifier;
  const char* name;
};

constexpr DefinitionFile kDefinitionFiles[] = {
    {205, "CRSValidateDefine.xml"},
    {206, "CRSDataConvDefine.xml"},
    {207, "CRSValidateDefine_2.0.xml"},
    {208, "CRSDataConvDefine_2.0.xml"},
};

}  // namespace

long CLCMacOSNative::getFileSize(const char* path) {
  return Guarded(-1L, [&]() -> long {
    NSString* file = PathOf(path);
    if (file == nil) return -1;
    // Attributes of what a link points at, as the engine reads through links.
    NSDictionary* attributes =
        [[NSFileManager defaultManager] attributesOfItemAtPath:[file stringByResolvingSymlinksInPath] error:NULL];
    if (attributes == nil) return -1;
    return static_cast<long>([attributes fileSize]);
  });
}

bool CLCMacOSNative::readFileBytes(const char* path, std::string& bytes) {
  bytes.clear();
  return Guarded(false, [&]() {
    NSData* data = ContentsOf(path);
    if (data == nil) return false;
    bytes.assign(static_cast<const char*>([data bytes]), [data length]);
    return true;
  });
}

std::string CLCMacOSNative::readFile(const char* path) {
  return Guarded(std::string(), [&]() {
    NSData* data = ContentsOf(path);
    if (data == nil) return std::string();
    // Decoding only proves the bytes UTF-8; they are the engine's text as they are.
    NSString* text = [[[NSString alloc] initWithData:data encoding:NSUTF8StringEncoding] autorelease];
    if (text == nil) return std::string();
    return std::string(static_cast<const char*>([data bytes]), [data length]);
  });
}

std::string CLCMacOSNative::readFileSJIS(const char* path) {
  return Guarded(std::string(), [&]() {
    NSData* data = ContentsOf(path);
    if (data == nil || [data length] == 0) return std::string();
#if defined(GNUSTEP)
    // GNUstep's Shift_JIS table is the plain JIS X 0208 one: it refuses the
    // NEC and IBM extensions (row 13 numerals, 0xFA40...) that Japanese
    // spreadsheet software writes, and reads 0x5C as the yen sign. Windows-31J
    // through the portable converter keeps every body's result the same.
    std::string text;
    if (!CLCShiftJIS::ToUtf8(std::string_view(static_cast<const char*>([data bytes]), [data length]), text)) {
      return std::string();
    }
    return text;
#else
    // Apple's Shift_JIS encoding is the Windows-31J (code page 932) table.
    return TextOf([[[NSString alloc] initWithData:data encoding:NSShiftJISStringEncoding] autorelease]);
#endif
  });
}

bool CLCMacOSNative::writeFile(const char* path, const std::string& text) {
  return Guarded(false, [&]() {
    NSString* requested = PathOf(path);
    if (requested == nil) return false;
    // A link keeps pointing at the file it names: its target is what is replaced.
    NSString* target = [requested stringByResolvingSymlinksInPath];
    NSFileManager* manager = [NSFileManager defaultManager];
    const int kind = EntryKind(target);
    if (kind == 1) return false;
    NSDictionary* previous = kind == 2 ? [manager attributesOfItemAtPath:target error:NULL] : nil;
    if (kind == 2 && ![[previous fileType] isEqualToString:NSFileTypeRegular]) return false;

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

bool CLCMacOSNative::pathFileExists(const char* path) {
  return Guarded(false, [&]() {
    NSString* file = PathOf(path);
    return file != nil && EntryKind(file) == 2;
  });
}

bool CLCMacOSNative::pathFileIsRead(const char* path) {
  return Guarded(false, [&]() {
    NSString* file = PathOf(path);
    return file != nil && [[NSFileManager defaultManager] isReadableFileAtPath:file];
  });
}

bool CLCMacOSNative::pathDirectoryExists(const char* path) {
  return Guarded(false, [&]() {
    NSString* file = PathOf(path);
    if (file == nil) return false;
    NSString* folder = [file stringByDeletingLastPathComponent];
    // A bare file name lives in the current folder.
    if ([folder length] == 0) folder = [[NSFileManager defaultManager] currentDirectoryPath];
    return EntryKind(folder) == 1;
  });
}

std::string CLCMacOSNative::stringByTrimming(const char* text) {
  if (text == nullptr) return {};
  return Guarded(std::string(text), [&]() {
    NSString* string = StringOf(text);
    if (string == nil) return std::string(text);  // not UTF-8: cannot be trimmed
    return TextOf([string stringByTrimmingCharactersInSet:[NSCharacterSet whitespaceAndNewlineCharacterSet]]);
  });
}

std::string CLCMacOSNative::dateTimeNow(const std::string& pattern) {
  if (pattern.empty()) return {};
  return Guarded(std::string(), [&]() {
    NSString* format = StringOf(pattern.c_str());
    if (format == nil) return std::string();
    return TextOf([Formatter(format, NSGregorianCalendar) stringFromDate:[NSDate date]]);
  });
}

bool CLCMacOSNative::dateTimeChange(const char* text) {
  return Guarded(false, [&]() { return DateStringToDate(text) != nil; });
}

int CLCMacOSNative::dateTimeComp(const char* a, const char* b) {
  return Guarded(-1, [&]() {
    NSDate* first = DateStringToDate(a);
    if (first == nil) return -1;
    NSDate* second = DateStringToDate(b);
    if (second == nil) return -2;
    switch ([first compare:second]) {
      case NSOrderedSame: return 0;
      case NSOrderedDescending: return 1;
      default: return 2;
    }
  });
}

long CLCMacOSNative::getCharacterLength(const char* text) {
  return Guarded(0L, [&]() -> long {
    NSString* string = StringOf(text);
    return string != nil ? static_cast<long>([string length]) : 0;
  });
}

std::string CLCMacOSNative::homeDirectory() {
  return Guarded(std::string(), [&]() { return TextOf(NSHomeDirectory()); });
}

std::string CLCMacOSNative::appendFilePath(const char* folder, const char* name) {
  if (folder == nullptr) return {};
  return Guarded(std::string(), [&]() {
    NSString* base = StringOf(folder);
    NSString* tail = StringOf(name != nullptr ? name : "");
    if (base == nil || tail == nil) return std::string();
    return TextOf([base stringByAppendingPathComponent:tail]);
  });
}

std::string CLCMacOSNative::definitionDocument(unsigned short identifier) {
  for (const DefinitionFile& file : kDefinitionFiles) {
    if (file.identifier == identifier) return getBundlePathName(file.name);
  }
  return {};
}

std::string CLCMacOSNative::getBundlePathName(const char* name) {
  return Guarded(std::string(), [&]() {
    NSString* file = StringOf(name);
    // The resource locator belongs to the front end; looked up by name so
    // that the platform layer does not depend on its headers.
    Class locatorClass = NSClassFromString(@"CLCLoadResource");
    if (file == nil || locatorClass == Nil) return std::string();
    id locator = [[[locatorClass alloc] init] autorelease];
    return TextOf([locator performSelector:@selector(getPathName:) withObject:file]);
  });
}

const char* CLCMacOSNative::getEnvironment(const char* name) {
  return name != nullptr ? std::getenv(name) : nullptr;
}
