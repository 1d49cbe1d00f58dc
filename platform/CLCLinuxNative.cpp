#include "CLCNative.h"
#include "CLCPortable.h"

#include <unicode/ucnv.h>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

// The POSIX body of the platform services: files through POSIX calls, Shift_JIS
// through the ICU converter, the clock through gettimeofday and localtime_r.

namespace {

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

}  // namespace

long CLCNative::getFileSize(const char* path) {
  if (path == nullptr) return -1;
  struct stat info {};
  if (::stat(path, &info) != 0) return -1;
  return static_cast<long>(info.st_size);
}

bool CLCNative::readFileBytes(const char* path, std::string& bytes) {
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

bool CLCNative::shiftJisToUtf8(const std::string& bytes, std::string& text) {
  text.clear();
  if (bytes.empty()) return true;

  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UConverter, decltype(&ucnv_close)> source(ucnv_open("windows-31j", &status),
                                                             &ucnv_close);
  std::unique_ptr<UConverter, decltype(&ucnv_close)> target(ucnv_open("UTF-8", &status), &ucnv_close);
  if (U_FAILURE(status)) return false;
  // Any unmapped or ill-formed byte stops the conversion, which fails the read.
  ucnv_setToUCallBack(source.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  if (U_FAILURE(status)) return false;

  // Most CSV text is ASCII; a double-byte character grows to three bytes.
  text.resize(bytes.size() + bytes.size() / 2 + 16);
  char* outPos = text.data();
  const char* inPos = bytes.data();
  const char* inEnd = bytes.data() + bytes.size();
  UChar pivot[4096];
  UChar* pivotSource = pivot;
  UChar* pivotTarget = pivot;
  bool reset = true;
  for (;;) {
    status = U_ZERO_ERROR;
    ucnv_convertEx(target.get(), source.get(), &outPos, text.data() + text.size(), &inPos, inEnd, pivot,
                   &pivotSource, &pivotTarget, pivot + 4096, reset, true, &status);
    reset = false;
    if (status != U_BUFFER_OVERFLOW_ERROR) break;
    const std::size_t written = static_cast<std::size_t>(outPos - text.data());
    text.resize(text.size() * 2);
    outPos = text.data() + written;
  }
  if (U_FAILURE(status)) {
    text.clear();
    return false;
  }
  text.resize(static_cast<std::size_t>(outPos - text.data()));
  return true;
}

bool CLCNative::writeFile(const char* path, const std::string& text) {
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

bool CLCNative::pathFileExists(const char* path) {
  if (path == nullptr) return false;
  struct stat info {};
  return ::stat(path, &info) == 0 && !S_ISDIR(info.st_mode);
}

bool CLCNative::pathFileIsRead(const char* path) {
  if (path == nullptr) return false;
  // Non-blocking so that probing a FIFO does not wait for a writer.
  FileDescriptor fd(::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  return fd.valid();
}

bool CLCNative::pathDirectoryExists(const char* path) {
  if (path == nullptr || *path == '\0') return false;
  const std::string folder = FolderOf(path);
  struct stat info {};
  return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string CLCNative::homeDirectory() {
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

const char* CLCNative::getEnvironment(const char* name) {
  return name != nullptr ? std::getenv(name) : nullptr;
}

bool CLCNative::localNow(CLCLocalTime& now) {
  struct timeval clock {};
  if (::gettimeofday(&clock, nullptr) != 0) return false;
  struct tm local {};
  const time_t seconds = clock.tv_sec;
  if (::localtime_r(&seconds, &local) == nullptr) return false;
  now.year = local.tm_year + 1900;
  now.month = local.tm_mon + 1;
  now.day = local.tm_mday;
  now.hour = local.tm_hour;
  now.minute = local.tm_min;
  now.second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second reads as :59
  now.millisecond = static_cast<int>(clock.tv_usec / 1000);
  return true;
}

std::string CLCNative::definitionDocument(unsigned short identifier) {
  return CLCPortable::definitionDocument(identifier);
}

std::string CLCNative::logDirectory() { return homeDirectory(); }

void CLCNative::appendLogRecord(const char* path, const std::string& record) {
  if (path == nullptr) return;
  std::FILE* out = std::fopen(path, "ae");
  if (out == nullptr) return;
  std::fwrite(record.data(), 1, record.size(), out);
  std::fflush(out);
  std::fclose(out);
}
