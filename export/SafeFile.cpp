#include "export/SafeFile.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace vexilo {
namespace {

namespace fs = std::filesystem;

constexpr int kNameAttempts = 100;

// A fresh name beside the target, ".<name>.<random>.tmp", so that the final rename never
// crosses a file system.
class TempNames {
 public:
  explicit TempNames(const fs::path& target) : target_(target), next_(std::random_device{}()) {}

  fs::path Next() {
    constexpr char kHex[] = "0123456789abcdef";
    std::uint32_t value = next_++;
    std::string suffix = ".";
    for (int i = 0; i < 8; ++i, value >>= 4) suffix += kHex[value & 0xF];
    suffix += ".tmp";
    fs::path leaf = ".";  // hidden from a plain listing on POSIX systems
    leaf += target_.filename();
    leaf += suffix;
    return target_.parent_path() / leaf;
  }

 private:
  fs::path target_;
  std::uint32_t next_;
};

// Removes the temporary file unless the save went through.
class TempFileGuard {
 public:
  TempFileGuard() = default;
  TempFileGuard(const TempFileGuard&) = delete;
  TempFileGuard& operator=(const TempFileGuard&) = delete;
  ~TempFileGuard() {
    if (!path_.empty()) {
      std::error_code ignored;
      fs::remove(path_, ignored);
    }
  }
  void Watch(const fs::path& path) { path_ = path; }
  void Release() { path_.clear(); }

 private:
  fs::path path_;
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

std::optional<std::string> Replace(const fs::path& target, std::string_view bytes) {
  TempNames names(target);
  TempFileGuard guard;
  fs::path temp;
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

int CreateExclusive(const fs::path& path) {
  // 0666 before the umask, as any newly saved file gets.
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

void SyncFolder(const fs::path& folder) {
  // Makes the rename itself durable; a failure here loses nothing that was promised.
  const Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Get() >= 0) ::fsync(dir.Get());
}

std::optional<std::string> Replace(const fs::path& target, std::string_view bytes) {
  struct stat existing {};
  const bool keepMode = ::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
  TempNames names(target);
  TempFileGuard guard;
  fs::path temp;
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
  SyncFolder(target.parent_path());
  return std::nullopt;
}

#endif

}  // namespace

std::optional<std::string> WriteFileAtomically(const fs::path& target, std::string_view bytes) {
  std::error_code error;
  fs::path real = fs::absolute(target, error);
  if (error) return error.message();
  // A link is followed, so that the file it points to is replaced, not the link.
  if (fs::is_symlink(real, error)) {
    const fs::path resolved = fs::canonical(real, error);
    if (!error) real = resolved;
  }
  if (real.filename().empty() || fs::is_directory(real, error)) {
    return "The name belongs to a folder, not a file";
  }
  if (!fs::is_directory(real.parent_path(), error)) return "The folder does not exist";
  return Replace(real, bytes);
}

}  // namespace vexilo
