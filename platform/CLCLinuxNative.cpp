#include "CLCLinuxNative.h"

#include "CLCDefinitionResources.h"
#include "CLCShiftJIS.h"

#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace {

// Decodes one UTF-8 sequence at text[i], advancing i. Returns the code point,
// or -1 for an ill-formed sequence (overlong forms, surrogates and values past
// U+10FFFF included), leaving i unspecified.
int32_t NextCodePoint(const unsigned char* text, std::size_t length, std::size_t& i) {
  const unsigned char lead = text[i++];
  if (lead < 0x80) return lead;
  int trail = 0;
  int32_t cp = 0;
  int32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    trail = 1; cp = lead & 0x1F; minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trail = 2; cp = lead & 0x0F; minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trail = 3; cp = lead & 0x07; minimum = 0x10000;
  } else {
    return -1;
  }
  if (length - i < static_cast<std::size_t>(trail)) return -1;
  for (int k = 0; k < trail; ++k) {
    const unsigned char c = text[i++];
    if ((c & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
  return cp;
}

bool IsValidUtf8(const std::string& text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  for (std::size_t i = 0; i < text.size();) {
    if (NextCodePoint(bytes, text.size(), i) < 0) return false;
  }
  return true;
}

// Closes a descriptor on every path out of a routine.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  ~FileDescriptor() { if (m_fd >= 0) ::close(m_fd); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return m_fd; }
  bool valid() const { return m_fd >= 0; }
  // Closes now so that a failing close can be seen (it may report a lost write).
  bool close() {
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
  }

 private:
  int m_fd;
};

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// The folder part of a path: "." when there is none, "/" for a file at the root.
std::string FolderOf(const std::string& path) {
  std::size_t end = path.size();
  while (end > 1 && path[end - 1] == '/') --end;  // "a/b/" names b
  const std::size_t slash = path.rfind('/', end - 1);
  if (slash == std::string::npos) return ".";
  std::size_t folderEnd = slash;
  while (folderEnd > 0 && path[folderEnd - 1] == '/') --folderEnd;
  return folderEnd == 0 ? "/" : path.substr(0, folderEnd);
}

// Mode a newly created file gets: 0666 less the process umask. The umask is
// read from /proc because umask(2) can only be read by changing it, which
// would race with other threads creating files.
mode_t NewFileMode() {
  mode_t mask = 022;
  if (FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    while (std::fgets(line, sizeof line, status) != nullptr) {
      if (std::strncmp(line, "Umask:", 6) == 0) {
        mask = static_cast<mode_t>(std::strtoul(line + 6, nullptr, 8));
        break;
      }
    }
    std::fclose(status);
  }
  return 0666 & ~mask;
}

std::string ToUtf8(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

// Strict formatters for the four date forms, one set per thread (ICU formats
// are not safe for concurrent use and are costly to build per call).
class DateParsers {
 public:
  const icu::SimpleDateFormat* get(bool japanese, bool withTime) {
    std::unique_ptr<icu::SimpleDateFormat>& slot = m_formats[(japanese ? 2 : 0) + (withTime ? 1 : 0)];
    if (!slot) slot = create(japanese, withTime);
    return slot.get();
  }

 private:
  static std::unique_ptr<icu::SimpleDateFormat> create(bool japanese, bool withTime) {
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString pattern(japanese ? u"GGyy/MM/dd" : u"yyyy/MM/dd");
    if (withTime) pattern.append(u" HH:mm:ss");
    std::unique_ptr<icu::SimpleDateFormat> format;
    if (japanese) {
      format = std::make_unique<icu::SimpleDateFormat>(pattern, icu::Locale("ja_JP@calendar=japanese"),
                                                       status);
    } else {
      const icu::Locale locale("ja_JP");
      format = std::make_unique<icu::SimpleDateFormat>(pattern, locale, status);
      if (U_SUCCESS(status)) format->adoptCalendar(new icu::GregorianCalendar(locale, status));
    }
    if (U_FAILURE(status)) return nullptr;
    format->setLenient(false);
    return format;
  }

  std::unique_ptr<icu::SimpleDateFormat> m_formats[4];
};

enum class PlainDate { NotPlain, Invalid, Valid };

// Most dates in a CRS file are "yyyy-MM-dd". Those are decided here without
// ICU, which costs microseconds per parse: the answer is the same as the strict
// Gregorian parse for years after the calendar reform (1583 on), and the day
// number orders them as their local midnights do. Anything else goes to ICU.
PlainDate ParsePlainDate(const char* text, long& dayNumber) {
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  auto separator = [](char c) { return c == '-' || c == '/' || c == '.'; };
  for (int i = 0; i < 10; ++i) {
    const bool ok = (i == 4 || i == 7) ? separator(text[i]) : digit(text[i]);
    if (!ok) return PlainDate::NotPlain;
  }
  if (text[10] != '\0') return PlainDate::NotPlain;
  const long year = (text[0] - '0') * 1000 + (text[1] - '0') * 100 + (text[2] - '0') * 10 + (text[3] - '0');
  const long month = (text[5] - '0') * 10 + (text[6] - '0');
  const long day = (text[8] - '0') * 10 + (text[9] - '0');
  if (year < 1583) return PlainDate::NotPlain;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (month < 1 || month > 12 || day < 1) return PlainDate::Invalid;
  if (day > kDays[month - 1] + (month == 2 && leap ? 1 : 0)) return PlainDate::Invalid;
  // Days from the civil calendar's epoch (a proleptic Gregorian count).
  const long y = month <= 2 ? year - 1 : year;
  const long era = y / 400;
  const long yearOfEra = y - era * 400;
  const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  dayNumber = era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return PlainDate::Valid;
}

// Parses a date text by the Gregorian or the Japanese-calendar rules; false
// when it is no date. The whole text must be consumed.
bool DateStringToDate(const char* text, UDate& date) {
  if (text == nullptr) return false;
  std::string gregorian(text);
  const bool isGregorian =
      gregorian.find_first_not_of("1234567890/:.- ") == std::string::npos;
  const bool withTime = gregorian.find(':') != std::string::npos;
  icu::UnicodeString subject;
  if (isGregorian) {
    for (char& c : gregorian) {
      if (c == '-' || c == '.') c = '/';
    }
    subject = icu::UnicodeString::fromUTF8(gregorian);
  } else {
    subject = icu::UnicodeString::fromUTF8(gregorian);
    subject.findAndReplace(icu::UnicodeString(u"元"), icu::UnicodeString(u"01"));
    subject.findAndReplace(icu::UnicodeString(u"年"), icu::UnicodeString(u"/"));
    subject.findAndReplace(icu::UnicodeString(u"月"), icu::UnicodeString(u"/"));
    subject.findAndReplace(icu::UnicodeString(u"日"), icu::UnicodeString());
  }
  thread_local DateParsers parsers;
  const icu::SimpleDateFormat* format = parsers.get(!isGregorian, withTime);
  if (format == nullptr) return false;
  icu::ParsePosition position(0);
  const UDate parsed = format->parse(subject, position);
  if (position.getErrorIndex() >= 0 || position.getIndex() != subject.length()) return false;
  date = parsed;
  return true;
}

}  // namespace

long CLCLinuxNative::getFileSize(const char* path) {
  if (path == nullptr) return -1;
  struct stat info {};
  if (::stat(path, &info) != 0) return -1;
  return static_cast<long>(info.st_size);
}

bool CLCLinuxNative::readFileBytes(const char* path, std::string& bytes) {
  bytes.clear();
  if (path == nullptr) return false;
  FileDescriptor fd(::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY));
  if (!fd.valid()) return false;
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  if (S_ISREG(info.st_mode) && info.st_size > 0) bytes.reserve(static_cast<std::size_t>(info.st_size));
  // Read to the end rather than trusting the size: the file may change meanwhile.
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      bytes.clear();
      return false;
    }
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
  return true;
}

std::string CLCLinuxNative::readFile(const char* path) {
  std::string bytes;
  if (!readFileBytes(path, bytes) || !IsValidUtf8(bytes)) return {};
  return bytes;
}

std::string CLCLinuxNative::readFileSJIS(const char* path) {
  std::string bytes;
  std::string text;
  if (!readFileBytes(path, bytes) || bytes.empty() || !CLCShiftJIS::ToUtf8(bytes, text)) return {};
  return text;
}

bool CLCLinuxNative::writeFile(const char* path, const std::string& text) {
  if (path == nullptr || *path == '\0') return false;
  const std::string target(path);
  struct stat existing {};
  const bool exists = ::stat(path, &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) return false;

  const std::string folder = FolderOf(target);
  std::string temporary = folder + (folder.back() == '/' ? "" : "/") + ".quorvex-XXXXXX";
  FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
  if (!fd.valid()) return false;

  // A replaced file keeps its permissions; a new one gets the usual ones.
  const mode_t mode = exists && S_ISREG(existing.st_mode) ? (existing.st_mode & 07777) : NewFileMode();
  const bool written = WriteAll(fd.get(), text.data(), text.size()) && ::fchmod(fd.get(), mode) == 0 &&
                       ::fsync(fd.get()) == 0 && fd.close();
  if (!written || ::rename(temporary.c_str(), path) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  // Make the rename itself durable; the data is already safe, so ignore failure.
  FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.valid()) ::fsync(dir.get());
  return true;
}

bool CLCLinuxNative::pathFileExists(const char* path) {
  if (path == nullptr) return false;
  struct stat info {};
  return ::stat(path, &info) == 0 && !S_ISDIR(info.st_mode);
}

bool CLCLinuxNative::pathFileIsRead(const char* path) {
  if (path == nullptr) return false;
  // Non-blocking so that probing a FIFO does not wait for a writer.
  FileDescriptor fd(::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  return fd.valid();
}

bool CLCLinuxNative::pathDirectoryExists(const char* path) {
  if (path == nullptr || *path == '\0') return false;
  const std::string folder = FolderOf(path);
  struct stat info {};
  return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string CLCLinuxNative::stringByTrimming(const char* text) {
  if (text == nullptr) return {};
  const std::size_t length = std::strlen(text);
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);

  // One pass validates the text and finds where the non-white content starts and ends.
  std::size_t begin = length;
  std::size_t end = 0;
  for (std::size_t i = 0; i < length;) {
    const std::size_t start = i;
    const int32_t cp = NextCodePoint(bytes, length, i);
    if (cp < 0) return std::string(text, length);
    if (!u_isUWhiteSpace(cp)) {
      if (begin == length) begin = start;
      end = i;
    }
  }
  if (begin >= end) return {};
  return std::string(text + begin, end - begin);
}

std::string CLCLinuxNative::dateTimeNow(const std::string& pattern) {
  if (pattern.empty()) return {};
  UErrorCode status = U_ZERO_ERROR;
  const icu::Locale locale("ja_JP");
  icu::SimpleDateFormat format(icu::UnicodeString::fromUTF8(pattern), locale, status);
  if (U_FAILURE(status)) return {};
  // Gregorian whatever calendar the user's locale prefers.
  format.adoptCalendar(new icu::GregorianCalendar(locale, status));
  if (U_FAILURE(status)) return {};
  icu::UnicodeString out;
  format.format(icu::Calendar::getNow(), out);
  return ToUtf8(out);
}

bool CLCLinuxNative::dateTimeChange(const char* text) {
  long day = 0;
  const PlainDate plain = text != nullptr ? ParsePlainDate(text, day) : PlainDate::NotPlain;
  if (plain != PlainDate::NotPlain) return plain == PlainDate::Valid;
  UDate date = 0;
  return DateStringToDate(text, date);
}

int CLCLinuxNative::dateTimeComp(const char* a, const char* b) {
  long firstDay = 0;
  long secondDay = 0;
  const PlainDate plainA = a != nullptr ? ParsePlainDate(a, firstDay) : PlainDate::NotPlain;
  if (plainA == PlainDate::Invalid) return -1;
  const PlainDate plainB = b != nullptr ? ParsePlainDate(b, secondDay) : PlainDate::NotPlain;
  if (plainA == PlainDate::Valid && plainB == PlainDate::Invalid) return -2;
  if (plainA == PlainDate::Valid && plainB == PlainDate::Valid) {
    if (firstDay == secondDay) return 0;
    return firstDay > secondDay ? 1 : 2;
  }
  UDate first = 0;
  UDate second = 0;
  if (!DateStringToDate(a, first)) return -1;
  if (!DateStringToDate(b, second)) return -2;
  if (first == second) return 0;
  return first > second ? 1 : 2;
}

long CLCLinuxNative::getCharacterLength(const char* text) {
  if (text == nullptr) return 0;
  const std::size_t length = std::strlen(text);
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  long units = 0;
  for (std::size_t i = 0; i < length;) {
    const int32_t cp = NextCodePoint(bytes, length, i);
    if (cp < 0) return 0;
    units += cp > 0xFFFF ? 2 : 1;
  }
  return units;
}

std::string CLCLinuxNative::homeDirectory() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr) {
    return {};
  }
  return found->pw_dir;
}

std::string CLCLinuxNative::appendFilePath(const char* folder, const char* name) {
  if (folder == nullptr) return {};
  std::string joined(folder);
  std::string_view tail(name != nullptr ? name : "");
  while (!tail.empty() && tail.front() == '/') tail.remove_prefix(1);
  while (joined.size() > 1 && joined.back() == '/') joined.pop_back();
  if (tail.empty()) return joined;
  if (joined.empty()) return std::string(tail);
  if (joined.back() != '/') joined.push_back('/');
  joined.append(tail);
  return joined;
}

std::string CLCLinuxNative::definitionDocument(unsigned short identifier) {
  for (const CLCDefinitionResource* entry = kCLCDefinitionResources; entry->id != 0; ++entry) {
    if (entry->id == identifier) return std::string(entry->bytes, entry->size);
  }
  return {};
}

const char* CLCLinuxNative::getEnvironment(const char* name) {
  return name != nullptr ? std::getenv(name) : nullptr;
}
