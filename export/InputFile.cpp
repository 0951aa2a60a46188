#include "export/InputFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <system_error>

#ifdef _WIN32
#include <windows.h>

#include "export/Utf16.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vexilo {
namespace {

constexpr std::string_view kStandardInput = "-";

}  // namespace

#ifdef _WIN32

namespace {

[[noreturn]] void ThrowLastError(const std::string& name) {
  throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), name);
}

}  // namespace

InputFile::InputFile(std::string_view name) : name_(name) {
  if (name == kStandardInput) {
    handle_ = GetStdHandle(STD_INPUT_HANDLE);
    if (handle_ == INVALID_HANDLE_VALUE) ThrowLastError(name_);
    return;  // a program started without standard input has none (null): it reads as empty
  }
  // A name that is not UTF-8 is refused rather than guessed at.
  const std::optional<Utf16String> wide = ToUtf16Exact(name);
  if (!wide || name.find('\0') != std::string_view::npos) {
    throw std::system_error(ERROR_INVALID_NAME, std::system_category(), name_);
  }
  handle_ = CreateFileW(wide->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) ThrowLastError(name_);
  owned_ = true;
}

InputFile::~InputFile() {
  if (owned_) CloseHandle(handle_);
}

std::size_t InputFile::Read(char* to, std::size_t size) {
  if (handle_ == nullptr) return 0;
  DWORD got = 0;
  const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  if (!ReadFile(handle_, to, chunk, &got, nullptr)) {
    // The writer of a pipe closing its end is the end of the input.
    if (GetLastError() == ERROR_BROKEN_PIPE) return 0;
    ThrowLastError(name_);
  }
  return got;
}

std::optional<std::int64_t> InputFile::Size() const {
  LARGE_INTEGER size{};
  if (!owned_ || GetFileType(handle_) != FILE_TYPE_DISK || !GetFileSizeEx(handle_, &size)) {
    return std::nullopt;
  }
  return size.QuadPart;
}

void InputFile::Seek(std::int64_t offset) {
  LARGE_INTEGER to{};
  to.QuadPart = offset;
  if (!SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN)) ThrowLastError(name_);
}

#else

InputFile::InputFile(std::string_view name) : name_(name) {
  if (name == kStandardInput) {
    fd_ = STDIN_FILENO;
    return;
  }
  if (name.find('\0') != std::string_view::npos) {
    throw std::system_error(EINVAL, std::generic_category(), name_);
  }
  fd_ = ::open(name_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) throw std::system_error(errno, std::generic_category(), name_);
  owned_ = true;
#ifdef POSIX_FADV_SEQUENTIAL
  ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
}

InputFile::~InputFile() {
  if (owned_) ::close(fd_);
}

std::size_t InputFile::Read(char* to, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(fd_, to, std::min<std::size_t>(size, SSIZE_MAX));
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) throw std::system_error(errno, std::generic_category(), name_);
  }
}

std::optional<std::int64_t> InputFile::Size() const {
  struct stat info {};
  if (!owned_ || ::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return static_cast<std::int64_t>(info.st_size);
}

void InputFile::Seek(std::int64_t offset) {
  if (::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) {
    throw std::system_error(errno, std::generic_category(), name_);
  }
}

#endif

}  // namespace vexilo
