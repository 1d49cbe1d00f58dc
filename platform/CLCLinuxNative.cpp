#include "CLCNative.h"
#include "text/CLCPortable.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <memory>
#include <new>
#include <random>
#include <vector>

namespace quorvex::internal {

// The POSIX body of the platform services: files through POSIX calls, the clock
// through gettimeofday and localtime_r.

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
  // Hands the descriptor over: no longer closed here.
  void release() { m_fd = -1; }
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

// A name inside a folder as FolderOf gives it.
std::string InFolder(const std::string& folder, const std::string& name) {
  return folder + (folder.back() == '/' ? "" : "/") + name;
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

// The entry a chain of symbolic links finally names (it need not exist yet);
// empty when the chain is too long or a link cannot be read.
std::string FinalTarget(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
    const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
    if (n < 0 || static_cast<std::size_t>(n) >= link.size()) return {};
    link.resize(static_cast<std::size_t>(n));
    path = link.front() == '/' ? std::move(link) : InFolder(FolderOf(path), link);
  }
  return {};
}

// True when an existing file may be replaced: the process can write it, and it
// is not marked read-only for everyone (which root could otherwise override).
bool IsWritableFile(const std::string& path, const struct stat& info) {
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
         ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// A fresh random name in the folder, for a file linked in just before it is
// renamed over its target.
std::string HiddenName(const std::string& folder) {
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::random_device random;
  std::uint64_t bits = (static_cast<std::uint64_t>(random()) << 32) | random();
  std::string name = ".quorvex-";
  for (int i = 0; i < 12; ++i, bits /= 36) name.push_back(kDigits[bits % 36]);
  return InFolder(folder, name);
}

// Gives the unnamed file behind fd the target's name, replacing what is there.
// false when the file system refuses the link, before anything was changed.
bool LinkIntoPlace(int fd, const std::string& folder, const std::string& target) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
  if (errno != EEXIST) return false;
  // linkat never replaces: link under a fresh name, then rename over the target.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string hidden = HiddenName(folder);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, hidden.c_str(), AT_SYMLINK_FOLLOW) != 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    if (::rename(hidden.c_str(), target.c_str()) == 0) return true;
    ::unlink(hidden.c_str());
    return false;
  }
  return false;
}

}  // namespace

long CLCNative::getFileSize(const char* path) {
  if (path == nullptr) return -1;
  struct stat info {};
  if (::stat(path, &info) != 0) return -1;
  return static_cast<long>(info.st_size);
}

std::unique_ptr<CLCNativeFileReader> CLCNativeFileReader::open(const char* path) {
  if (path == nullptr) return nullptr;
  // Non-blocking, so that a FIFO does not hold the open until a writer comes;
  // the descriptor's own type then decides, so nothing but a regular file is read.
  FileDescriptor fd(::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (!fd.valid()) return nullptr;
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
  std::unique_ptr<CLCNativeFileReader> reader;
  try {
    reader.reset(new CLCNativeFileReader(fd.get()));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  fd.release();
  return reader;
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
  const std::unique_ptr<CLCNativeFileReader> reader = CLCNativeFileReader::open(path);
  if (!reader) return false;
  // One byte past the limit tells the caller the file is too large; the size
  // taken here is only a hint, since the file may grow meanwhile.
  const std::size_t cap =
      maxBytes < 0 ? std::numeric_limits<std::size_t>::max() : static_cast<std::size_t>(maxBytes) + 1;
  struct stat info {};
  if (::fstat(static_cast<int>(reader->m_handle), &info) == 0) {
    bytes.reserve(std::min(cap, static_cast<std::size_t>(std::max<off_t>(info.st_size, 0))));
  }
  char chunk[65536];
  while (bytes.size() < cap) {
    const long n = reader->read(chunk, std::min(sizeof chunk, cap - bytes.size()));
    if (n == 0) break;
    if (n < 0) {
      bytes.clear();
      return false;
    }
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
  return true;
}

bool CLCNative::writeFile(const char* path, const std::string& text) {
  if (path == nullptr || *path == '\0') return false;
  // A symbolic link stays: the file it finally names is the one replaced.
  const std::string target = FinalTarget(path);
  if (target.empty()) return false;
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  // Only a regular file the process may write is replaced: never a device,
  // a FIFO, a folder or a read-only file.
  if (exists && (!S_ISREG(existing.st_mode) || !IsWritableFile(target, existing))) return false;

  const std::string folder = FolderOf(target);
  // A replaced file keeps its permissions; a new one gets the usual ones.
  const mode_t mode = exists ? (existing.st_mode & 07777) : NewFileMode();
  auto fill = [&](FileDescriptor& fd) {
    return WriteAll(fd.get(), text.data(), text.size()) && ::fchmod(fd.get(), mode) == 0 &&
           ::fsync(fd.get()) == 0;
  };

  bool placed = false;
  // An unnamed file has no name until it is complete, so a process killed
  // half way leaves nothing behind.
  FileDescriptor unnamed(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
  if (unnamed.valid()) {
    if (!fill(unnamed)) return false;
    placed = LinkIntoPlace(unnamed.get(), folder, target);
  }
  if (!placed) {
    // File systems without unnamed files: a hidden named one, renamed over the target.
    std::string temporary = InFolder(folder, ".quorvex-XXXXXX");
    FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd.valid()) return false;
    if (!fill(fd) || !fd.close() || ::rename(temporary.c_str(), target.c_str()) != 0) {
      ::unlink(temporary.c_str());
      return false;
    }
  }
  // Make the new name itself durable; the data is already safe, so ignore failure.
  FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.valid()) ::fsync(dir.get());
  return true;
}

bool CLCNative::isSameFile(const char* first, const char* second) {
  if (first == nullptr || second == nullptr) return false;
  struct stat a {};
  struct stat b {};
  return ::stat(first, &a) == 0 && ::stat(second, &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool CLCNative::pathFileExists(const char* path) {
  if (path == nullptr) return false;
  struct stat info {};
  return ::stat(path, &info) == 0 && S_ISREG(info.st_mode);
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

bool CLCNative::createPathDirectory(const char* path) {
  if (path == nullptr || *path == '\0') return false;
  const std::string folder = FolderOf(path);
  const auto isFolder = [](const std::string& name) {
    struct stat info {};
    return ::stat(name.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  };
  // From the top down; EEXIST when another process made one in between.
  for (std::size_t end = 1; end <= folder.size(); ++end) {
    if (end != folder.size() && folder[end] != '/') continue;
    const std::string part = folder.substr(0, end);
    if (isFolder(part)) continue;
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return isFolder(folder);
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

const char* CLCNative::debugSwitchVariable() { return "QUORVEX_OUTPUT"; }

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
}  // namespace quorvex::internal
