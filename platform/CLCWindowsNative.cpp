// Windows body of the platform services: Win32 wide-character file calls, the
// local clock and the module's resources.
#include "CLCWindowsNative.h"

#include "CLCNative.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <cwchar>
#include <memory>
#include <new>

namespace quorvex::internal {

namespace {

std::atomic<HMODULE> g_resourceModule{nullptr};

// UTF-16 form of UTF-8 text; false for null or ill-formed text, so that a
// damaged path can never name some other file.
bool ToWide(const char* text, std::wstring& wide) {
  wide.clear();
  if (text == nullptr) return false;
  const std::size_t length = std::strlen(text);
  if (length == 0) return true;
  if (length > INT_MAX) return false;
  const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, static_cast<int>(length), nullptr, 0);
  if (size <= 0) return false;
  wide.resize(static_cast<std::size_t>(size));
  return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, static_cast<int>(length), wide.data(), size) ==
         size;
}

// UTF-8 form of UTF-16 text; false when it holds an unpaired surrogate.
bool ToUtf8(const wchar_t* text, std::size_t length, std::string& out) {
  out.clear();
  if (length == 0) return true;
  if (length > INT_MAX / 3) return false;
  const int size = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, static_cast<int>(length), nullptr, 0,
                                       nullptr, nullptr);
  if (size <= 0) return false;
  out.resize(static_cast<std::size_t>(size));
  return WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, static_cast<int>(length), out.data(), size,
                             nullptr, nullptr) == size;
}

// Closes a file handle on every path out of a routine.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : m_handle(handle) {}
  ~FileHandle() { close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return m_handle; }
  bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
  // Hands the handle over: no longer closed here.
  void release() { m_handle = INVALID_HANDLE_VALUE; }
  void reset(HANDLE handle) {
    close();
    m_handle = handle;
  }
  bool close() {
    if (!valid()) return true;
    const HANDLE handle = m_handle;
    m_handle = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) != FALSE;
  }

 private:
  HANDLE m_handle;
};

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// The folder part of a path: "." when there is none, the root or "X:\" for a
// file there, "X:." for a drive-relative name.
std::wstring FolderOf(const std::wstring& path) {
  std::size_t end = path.size();
  while (end > 1 && IsSeparator(path[end - 1])) --end;
  std::size_t slash = std::wstring::npos;
  for (std::size_t i = end; i > 0; --i) {
    if (IsSeparator(path[i - 1])) {
      slash = i - 1;
      break;
    }
  }
  const bool drive = path.size() >= 2 && path[1] == L':';
  if (slash == std::wstring::npos) return drive ? path.substr(0, 2) + L"." : L".";
  std::size_t folderEnd = slash;
  while (folderEnd > 0 && IsSeparator(path[folderEnd - 1])) --folderEnd;
  if (folderEnd == 0) return path.substr(0, 1);                  // "\name"
  if (drive && folderEnd == 2) return path.substr(0, 3);         // "X:\name"
  return path.substr(0, folderEnd);
}

// The file a write really replaces: for a symbolic link, its target, so the
// link stays a link.
std::wstring WriteTarget(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return path;
  FileHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return path;
  std::wstring target(MAX_PATH, L'\0');
  DWORD length = GetFinalPathNameByHandleW(file.get(), target.data(), static_cast<DWORD>(target.size()), 0);
  if (length >= target.size()) {
    target.resize(length + 1);
    length = GetFinalPathNameByHandleW(file.get(), target.data(), static_cast<DWORD>(target.size()), 0);
  }
  if (length == 0 || length >= target.size()) return path;
  target.resize(length);
  return target;
}

bool WriteAll(HANDLE file, const char* data, std::size_t size) {
  while (size > 0) {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

// Puts the complete temporary file in place of the target. An existing target
// is replaced with ReplaceFileW, which keeps its security descriptor,
// attributes, creation time and streams; where that cannot apply (a file
// system without it, a locked target) and the temporary file still has its
// name, it is moved over the target instead.
bool PutInPlace(const std::wstring& temporary, const std::wstring& target, bool targetExists) {
  if (targetExists &&
      ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                   REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr)) {
    return true;
  }
  if (targetExists && GetFileAttributesW(temporary.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  return MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

// Volume and file index of the file at the path, links followed.
bool FileIdentity(const char* path, BY_HANDLE_FILE_INFORMATION& info) {
  std::wstring wide;
  if (!ToWide(path, wide) || wide.empty()) return false;
  FileHandle file(CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return file.valid() && GetFileInformationByHandle(file.get(), &info);
}

}  // namespace

void CLCWindowsNative::setResourceModule(void* module) { g_resourceModule = static_cast<HMODULE>(module); }

std::string CLCWindowsNative::resourceText(unsigned short identifier, const char* type) {
  std::wstring wideType;
  if (!ToWide(type, wideType) || wideType.empty()) return {};
  const HMODULE module = g_resourceModule;
  HRSRC found = FindResourceExW(module, wideType.c_str(), MAKEINTRESOURCEW(identifier),
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
  if (found == nullptr) found = FindResourceW(module, MAKEINTRESOURCEW(identifier), wideType.c_str());
  if (found == nullptr) return {};
  const HGLOBAL loaded = LoadResource(module, found);
  const DWORD size = SizeofResource(module, found);
  const char* bytes = loaded != nullptr ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (bytes == nullptr) return {};
  // The text ends at the resource's end or at a NUL byte, whichever comes first.
  const void* nul = std::memchr(bytes, '\0', size);
  return std::string(bytes, nul != nullptr ? static_cast<const char*>(nul) - bytes : size);
}

long CLCNative::getFileSize(const char* path) {
  std::wstring wide;
  if (!ToWide(path, wide) || wide.empty()) return -1;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) return -1;
  const unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  // long has 32 bits here: a larger file reports the largest size, which every
  // size limit refuses, rather than a wrapped-around small one.
  return size > static_cast<unsigned long long>(LONG_MAX) ? LONG_MAX : static_cast<long>(size);
}

std::unique_ptr<CLCNativeFileReader> CLCNativeFileReader::open(const char* path) {
  std::wstring wide;
  if (!ToWide(path, wide) || wide.empty()) return nullptr;
  // Others may go on reading; a folder does not open without backup semantics,
  // and the handle's own type keeps pipes, consoles and devices out.
  FileHandle file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK) return nullptr;
  std::unique_ptr<CLCNativeFileReader> reader;
  try {
    reader.reset(new CLCNativeFileReader(reinterpret_cast<std::intptr_t>(file.get())));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  file.release();
  return reader;
}

CLCNativeFileReader::~CLCNativeFileReader() { CloseHandle(reinterpret_cast<HANDLE>(m_handle)); }

long CLCNativeFileReader::read(char* buffer, std::size_t size) {
  DWORD read = 0;
  const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  if (!ReadFile(reinterpret_cast<HANDLE>(m_handle), buffer, want, &read, nullptr)) return -1;
  return static_cast<long>(read);
}

bool CLCNative::readFileBytes(const char* path, std::string& bytes, long maxBytes) {
  bytes.clear();
  const std::unique_ptr<CLCNativeFileReader> reader = CLCNativeFileReader::open(path);
  if (!reader) return false;
  // One byte past the limit tells the caller the file is too large.
  const unsigned long long cap = maxBytes < 0 ? ~0ull : static_cast<unsigned long long>(maxBytes) + 1;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(reinterpret_cast<HANDLE>(reader->m_handle), &size) && size.QuadPart > 0) {
    const unsigned long long hint = static_cast<unsigned long long>(size.QuadPart);
    bytes.reserve(static_cast<std::size_t>(std::min<unsigned long long>(std::min(hint, cap), INT_MAX)));
  }
  char chunk[65536];
  while (bytes.size() < cap) {
    const long n = reader->read(chunk, static_cast<std::size_t>(std::min<unsigned long long>(sizeof chunk, cap - bytes.size())));
    if (n < 0) {
      bytes.clear();
      return false;
    }
    if (n == 0) break;
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
  return true;
}

bool CLCNative::writeFile(const char* path, const std::string& text) {
  std::wstring wide;
  if (!ToWide(path, wide) || wide.empty()) return false;
  const std::wstring target = WriteTarget(wide);
  // Only a regular file that may be written is replaced.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_READONLY)) != 0) {
    return false;
  }
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    FileHandle existing(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!existing.valid() || GetFileType(existing.get()) != FILE_TYPE_DISK) return false;
  }

  // A new name in the target's folder, so the final move never crosses volumes.
  const std::wstring folder = FolderOf(target);
  std::wstring temporary;
  FileHandle file(INVALID_HANDLE_VALUE);
  for (unsigned attempt = 0; attempt < 100 && !file.valid(); ++attempt) {
    temporary = folder + (IsSeparator(folder.back()) ? L"" : L"\\") + L".quorvex-" +
                std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64()) + L"-" +
                std::to_wstring(attempt) + L".tmp";
    file.reset(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() && GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  if (!file.valid()) return false;
  const bool written = WriteAll(file.get(), text.data(), text.size()) && FlushFileBuffers(file.get()) && file.close();
  if (!written || !PutInPlace(temporary, target, attributes != INVALID_FILE_ATTRIBUTES)) {
    file.close();
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

bool CLCNative::isSameFile(const char* first, const char* second) {
  BY_HANDLE_FILE_INFORMATION a{};
  BY_HANDLE_FILE_INFORMATION b{};
  if (!FileIdentity(first, a) || !FileIdentity(second, b)) return false;
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

bool CLCNative::pathFileExists(const char* path) {
  std::wstring wide;
  if (!ToWide(path, wide) || wide.empty()) return false;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

bool CLCNative::pathFileIsRead(const char* path) {
  std::wstring wide;
  if (!ToWide(path, wide) || wide.empty()) return false;
  FileHandle file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.valid();
}

bool CLCNative::pathDirectoryExists(const char* path) {
  std::wstring wide;
  if (!ToWide(path, wide) || wide.empty()) return false;
  const DWORD attributes = GetFileAttributesW(FolderOf(wide).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CLCNative::createPathDirectory(const char* path) {
  std::wstring wide;
  if (!ToWide(path, wide) || wide.empty()) return false;
  const std::wstring folder = FolderOf(wide);
  const auto isFolder = [](const std::wstring& name) {
    const DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  };
  // A share (\\server\share) is taken as it is: only folders inside it are made.
  std::size_t first = 1;
  if (folder.size() > 2 && IsSeparator(folder[0]) && IsSeparator(folder[1])) {
    int separators = 0;
    for (first = 2; first < folder.size() && separators < 2; ++first) separators += IsSeparator(folder[first]) ? 1 : 0;
  }
  // From the top down ("C:" exists already); a folder another process made
  // in between is fine.
  for (std::size_t end = first; end <= folder.size(); ++end) {
    if (end != folder.size() && !IsSeparator(folder[end])) continue;
    const std::wstring part = folder.substr(0, end);
    if (GetFileAttributesW(part.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
    if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return isFolder(folder);
}

bool CLCNative::localNow(CLCLocalTime& now) {
  // SYSTEMTIME is Gregorian whatever calendar the user has chosen.
  SYSTEMTIME local{};
  GetLocalTime(&local);
  now.year = local.wYear;
  now.month = local.wMonth;
  now.day = local.wDay;
  now.hour = local.wHour;
  now.minute = local.wMinute;
  now.second = local.wSecond;
  now.millisecond = local.wMilliseconds;
  return true;
}

std::string CLCNative::homeDirectory() {
  PWSTR folder = nullptr;
  std::string out;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Profile, 0, nullptr, &folder)) && folder != nullptr) {
    if (!ToUtf8(folder, std::wcslen(folder), out)) out.clear();
  }
  CoTaskMemFree(folder);
  return out;
}

const char* CLCNative::debugSwitchVariable() { return "QUORVEX_OUTPUT"; }

std::string CLCNative::definitionDocument(unsigned short identifier) {
  return CLCWindowsNative::resourceText(identifier, "DEFINITION");
}

std::string CLCNative::logDirectory() {
  // The user's temporary folder, ending in a separator.
  wchar_t folder[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  std::string out;
  if (length == 0 || length > MAX_PATH || !ToUtf8(folder, length, out)) return {};
  return out;
}

void CLCNative::appendLogRecord(const char* path, const std::string& record) {
  std::wstring widePath;
  std::wstring text;
  if (!ToWide(path, widePath) || widePath.empty() || !ToWide(record.c_str(), text)) return;
  // Support staff read the log in code page 932; what it cannot show becomes "?".
  const int size = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  if (size <= 0) return;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
  FileHandle file(CreateFileW(widePath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.valid()) WriteAll(file.get(), bytes.data(), bytes.size());
}
}  // namespace quorvex::internal
