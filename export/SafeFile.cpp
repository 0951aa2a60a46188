#include "export/SafeFile.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <system_error>
#endif

namespace vexilo {
namespace {

// Plain platform calls rather than std::filesystem: the Windows program links the C++ runtime
// statically, and std::filesystem brings the runtime's locale machinery along, which made up
// about three quarters of the program.

// File names as the platform's file functions take them: UTF-16 for the W functions on
// Windows, bytes elsewhere.
#ifdef _WIN32
using NativeChar = wchar_t;
constexpr bool kBackslashSeparates = true;
#else
using NativeChar = char;
constexpr bool kBackslashSeparates = false;
#endif
using NativeString = std::basic_string<NativeChar>;

constexpr int kNameAttempts = 100;

constexpr bool IsSeparator(NativeChar c) {
  return c == '/' || (kBackslashSeparates && c == '\\');
}

// An absolute name cut after its last separator. The folder keeps that separator, so the folder
// of "/x" is the root itself; the leaf is empty when the name ends in a separator.
struct SplitName {
  NativeString folder;
  NativeString leaf;
};

SplitName Split(const NativeString& name) {
  std::size_t cut = name.size();
  while (cut > 0 && !IsSeparator(name[cut - 1])) --cut;
  return {name.substr(0, cut), name.substr(cut)};
}

// A fresh name beside the target, ".<name>.<random>.tmp", so that the final rename never
// crosses a file system.
class TempNames {
 public:
  explicit TempNames(const SplitName& target)
      : base_(target.folder), next_(std::random_device{}()) {
    base_ += '.';  // hidden from a plain listing on POSIX systems
    base_ += target.leaf;
  }

  NativeString Next() {
    constexpr char kHex[] = "0123456789abcdef";
    std::uint32_t value = next_++;
    NativeString name = base_;
    name += '.';
    for (int i = 0; i < 8; ++i, value >>= 4) name += static_cast<NativeChar>(kHex[value & 0xF]);
    for (const char c : {'.', 't', 'm', 'p'}) name += static_cast<NativeChar>(c);
    return name;
  }

 private:
  NativeString base_;
  std::uint32_t next_;
};

void RemoveFile(const NativeString& name);

// Removes the temporary file unless the save went through.
class TempFileGuard {
 public:
  TempFileGuard() = default;
  TempFileGuard(const TempFileGuard&) = delete;
  TempFileGuard& operator=(const TempFileGuard&) = delete;
  ~TempFileGuard() {
    if (!name_.empty()) RemoveFile(name_);
  }
  void Watch(const NativeString& name) { name_ = name; }
  void Release() { name_.clear(); }

 private:
  NativeString name_;
};

#ifdef _WIN32

std::string Utf8(const wchar_t* text, int length) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size : 0, '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
  return out;
}

std::string Reason(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text =
      length > 0 ? Utf8(buffer, static_cast<int>(length)) : "System error " + std::to_string(error);
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() &&
         (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.')) {
    text.pop_back();
  }
  return text;
}

// The name as the W functions take it. Text that is not UTF-8 is refused rather than guessed
// at, so that a save never lands on a different name than the one the user chose.
std::optional<std::string> Widen(std::string_view utf8, std::wstring& out) {
  if (utf8.size() > static_cast<std::size_t>(INT_MAX)) return Reason(ERROR_FILENAME_EXCED_RANGE);
  const int length = static_cast<int>(utf8.size());
  const int size =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
  if (size <= 0) return Reason(GetLastError());
  out.assign(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, out.data(), size);
  return std::nullopt;
}

// "\\server", the start of a network name.
bool HasServerName(std::wstring_view name) {
  return name.size() > 2 && IsSeparator(name[0]) && name[1] == name[0] && !IsSeparator(name[2]);
}

// "C:\..." or "\\server\...": names taken as they are; any other is completed by the system.
bool IsAbsolute(std::wstring_view name) {
  if (name.size() > 2 && name[1] == L':') return IsSeparator(name[2]);
  return HasServerName(name) &&
         std::find_if(name.begin() + 3, name.end(), IsSeparator) != name.end();
}

std::optional<std::string> Absolute(std::string_view target, std::wstring& out) {
  if (target.empty() || target.find('\0') != std::string_view::npos) {
    return Reason(ERROR_INVALID_NAME);
  }
  std::wstring name;
  if (std::optional<std::string> failure = Widen(target, name)) return failure;
  if (IsAbsolute(name)) {
    out = std::move(name);
    return std::nullopt;
  }
  // Three or more separators at the start name the root of the current drive, as one does; the
  // system would take the first two for the start of a network name.
  std::size_t start = 0;
  while (!HasServerName(name) && start + 1 < name.size() && IsSeparator(name[start]) &&
         IsSeparator(name[start + 1])) {
    ++start;
  }
  DWORD size = MAX_PATH;
  for (;;) {
    out.assign(size, L'\0');
    const DWORD length = GetFullPathNameW(name.c_str() + start, size, out.data(), nullptr);
    if (length == 0) return Reason(GetLastError());
    if (length < size) {
      out.resize(length);
      return std::nullopt;
    }
    size = length;  // the room needed, with the terminator
  }
}

bool IsDirectory(const std::wstring& name) {
  const DWORD attributes = GetFileAttributesW(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void RemoveFile(const std::wstring& name) {
  DeleteFileW(name.c_str());
}

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (IsOpen()) CloseHandle(handle_);
  }
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  // Closes now and tells whether the close succeeded.
  bool Close() { return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0; }

 private:
  HANDLE handle_;
};

std::optional<std::string> Replace(const std::wstring& target, const SplitName& parts,
                                   std::string_view bytes) {
  TempNames names(parts);
  TempFileGuard guard;
  std::wstring temp;
  HANDLE handle = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < kNameAttempts && handle == INVALID_HANDLE_VALUE; ++attempt) {
    temp = names.Next();
    handle = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
    if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
      return Reason(GetLastError());
    }
  }
  if (handle == INVALID_HANDLE_VALUE) return Reason(ERROR_FILE_EXISTS);
  Handle file(handle);
  guard.Watch(temp);
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), chunk, &written, nullptr)) {
      return Reason(GetLastError());
    }
    bytes.remove_prefix(written);
  }
  if (!FlushFileBuffers(file.Get())) return Reason(GetLastError());
  if (!file.Close()) return Reason(GetLastError());
  if (!MoveFileExW(temp.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return Reason(GetLastError());
  }
  guard.Release();
  return std::nullopt;
}

#else

std::string Reason(int error) {
  return std::generic_category().message(error);
}

std::optional<std::string> Absolute(std::string_view target, std::string& out) {
  if (target.empty() || target.find('\0') != std::string_view::npos) return Reason(EINVAL);
  if (target.front() == '/') {
    out.assign(target);
    return std::nullopt;
  }
  const std::unique_ptr<char, decltype(&std::free)> current(::getcwd(nullptr, 0), &std::free);
  if (!current) return Reason(errno);
  out = current.get();
  if (out.empty() || out.back() != '/') out += '/';
  out += target;
  return std::nullopt;
}

// A link is followed, so that the file it points to is replaced, not the link. A link that
// leads nowhere is replaced itself.
void FollowLink(std::string& name) {
  struct stat info {};
  if (::lstat(name.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return;
  const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(name.c_str(), nullptr),
                                                             &std::free);
  if (resolved) name = resolved.get();
}

bool IsDirectory(const std::string& name) {
  struct stat info {};
  return ::stat(name.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void RemoveFile(const std::string& name) {
  ::unlink(name.c_str());
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int Get() const { return fd_; }
  // Closes now and tells whether the close succeeded; never retried, the descriptor is gone.
  bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

int CreateExclusive(const std::string& name) {
  // 0666 before the umask, as any newly saved file gets.
  return ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

void SyncFolder(const std::string& folder) {
  // Makes the rename itself durable; a failure here loses nothing that was promised.
  const Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Get() >= 0) ::fsync(dir.Get());
}

std::optional<std::string> Replace(const std::string& target, const SplitName& parts,
                                   std::string_view bytes) {
  struct stat existing {};
  const bool keepMode = ::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
  TempNames names(parts);
  TempFileGuard guard;
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < kNameAttempts && fd < 0; ++attempt) {
    temp = names.Next();
    fd = CreateExclusive(temp);
    if (fd < 0 && errno != EEXIST) return Reason(errno);
  }
  if (fd < 0) return Reason(EEXIST);
  Descriptor file(fd);
  guard.Watch(temp);
  // The replacement keeps the permissions the user gave the old file.
  if (keepMode && ::fchmod(file.Get(), existing.st_mode & 07777) != 0) return Reason(errno);
  while (!bytes.empty()) {
    const ssize_t written = ::write(file.Get(), bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return Reason(errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  if (::fsync(file.Get()) != 0) return Reason(errno);
  if (!file.Close()) return Reason(errno);
  if (::rename(temp.c_str(), target.c_str()) != 0) return Reason(errno);
  guard.Release();
  SyncFolder(parts.folder);
  return std::nullopt;
}

#endif

}  // namespace

std::optional<std::string> WriteFileAtomically(std::string_view target, std::string_view bytes) {
  NativeString real;
  if (std::optional<std::string> failure = Absolute(target, real)) return failure;
#ifndef _WIN32
  FollowLink(real);
#endif
  const SplitName parts = Split(real);
  if (parts.leaf.empty() || IsDirectory(real)) return "The name belongs to a folder, not a file";
  if (!IsDirectory(parts.folder)) return "The folder does not exist";
  return Replace(real, parts, bytes);
}

}  // namespace vexilo
