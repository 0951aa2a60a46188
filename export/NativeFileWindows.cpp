#include <windows.h>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "export/NativeFile.h"
#include "export/Utf16.h"

namespace vexilo::native {
namespace {

// The system's error codes with their text in UTF-8 (the runtime's own category gives the ANSI
// code page's text, or none), and the portable conditions callers test for.
class WindowsCategory final : public std::error_category {
 public:
  const char* name() const noexcept override { return "windows"; }

  std::string message(int code) const override {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text =
        length > 0 ? ToUtf8(Utf16View(buffer, length)) : "System error " + std::to_string(code);
    if (buffer != nullptr) LocalFree(buffer);
    while (!text.empty() &&
           std::string_view("\r\n .").find(text.back()) != std::string_view::npos) {
      text.pop_back();
    }
    return text;
  }

  std::error_condition default_error_condition(int code) const noexcept override {
    const auto* entry =
        std::find_if(kConditions.begin(), kConditions.end(),
                     [&](const Condition& c) { return c.code == static_cast<DWORD>(code); });
    if (entry == kConditions.end()) return {code, *this};
    return std::make_error_condition(entry->condition);
  }

 private:
  struct Condition {
    DWORD code;
    std::errc condition;
  };
  static constexpr std::array<Condition, 9> kConditions = {{
      {ERROR_FILE_EXISTS, std::errc::file_exists},
      {ERROR_ALREADY_EXISTS, std::errc::file_exists},
      {ERROR_FILE_NOT_FOUND, std::errc::no_such_file_or_directory},
      {ERROR_PATH_NOT_FOUND, std::errc::no_such_file_or_directory},
      {ERROR_ACCESS_DENIED, std::errc::permission_denied},
      {ERROR_SHARING_VIOLATION, std::errc::permission_denied},
      {ERROR_DISK_FULL, std::errc::no_space_on_device},
      {ERROR_HANDLE_DISK_FULL, std::errc::no_space_on_device},
      {ERROR_FILENAME_EXCED_RANGE, std::errc::filename_too_long},
  }};
};

std::error_code ErrorCode(DWORD code) {
  static const WindowsCategory category;
  return {static_cast<int>(code), category};
}

std::error_code LastError() {
  return ErrorCode(GetLastError());
}

bool IsSeparator(wchar_t c) {
  return c == L'/' || c == L'\\';
}

// "\\server", the start of a network name.
bool HasServerName(std::wstring_view name) {
  return name.size() > 2 && IsSeparator(name[0]) && name[1] == name[0] && !IsSeparator(name[2]);
}

// "C:\..." or "\\server\...": names taken as they are; any other is completed by the system.
bool IsAbsolute(std::wstring_view name) {
  if (name.size() > 2 && name[1] == L':') return IsSeparator(name[2]);
  return HasServerName(name) && std::find_if(name.begin() + 3, name.end(), [](wchar_t c) {
                                  return IsSeparator(c);
                                }) != name.end();
}

// The name as the system completes it against the current drive and folder.
std::error_code SystemFullName(const wchar_t* name, std::wstring& full) {
  DWORD size = MAX_PATH;
  for (;;) {
    full.assign(size, L'\0');
    const DWORD length = GetFullPathNameW(name, size, full.data(), nullptr);
    if (length == 0) return LastError();
    if (length < size) {
      full.resize(length);
      return {};
    }
    size = length;  // the room needed, with the terminator
  }
}

std::error_code FullName(std::wstring name, std::wstring& full) {
  if (IsAbsolute(name)) {
    full = std::move(name);
    return {};
  }
  // Three or more separators at the start name the root of the current drive, as one does; the
  // system would take the first two for the start of a network name.
  std::size_t start = 0;
  while (!HasServerName(name) && start + 1 < name.size() && IsSeparator(name[start]) &&
         IsSeparator(name[start + 1])) {
    ++start;
  }
  return SystemFullName(name.c_str() + start, full);
}

// "NUL", "COM1" and their like name a device in any folder: the system completes them to
// "\\.\NUL", a name in the device space.
bool IsDevice(const std::wstring& name) {
  std::wstring full;
  return !SystemFullName(name.c_str(), full) && full.size() > 4 &&
         full.compare(0, 4, L"\\\\.\\") == 0;
}

}  // namespace

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

std::error_code Resolve(std::string_view name, std::string& absolute) {
  // Text that is not UTF-8 is refused rather than guessed at, so that a save never lands on a
  // different name than the one the user chose.
  std::optional<std::wstring> wide = ToUtf16Exact(name);
  if (!wide) return ErrorCode(ERROR_NO_UNICODE_TRANSLATION);
  std::wstring full;
  if (const std::error_code error = FullName(std::move(*wide), full)) return error;
  std::optional<std::string> utf8 = ToUtf8Exact(full);
  if (!utf8) return ErrorCode(ERROR_NO_UNICODE_TRANSLATION);
  absolute = std::move(*utf8);
  return {};
}

std::error_code KindOf(const std::string& name, Kind& kind) {
  kind = Kind::Nothing;
  const std::wstring wide = ToUtf16(name);
  if (IsDevice(wide)) {
    kind = Kind::Device;
    return {};
  }
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? std::error_code()
                                                                          : ErrorCode(error);
  }
  kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Kind::Folder : Kind::File;
  return {};
}

ReplacementFile::ReplacementFile(std::string name, std::error_code& error)
    : name_(std::move(name)) {
  const HANDLE handle = CreateFileW(ToUtf16(name_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  handle_ = reinterpret_cast<std::intptr_t>(handle);
  error = handle == INVALID_HANDLE_VALUE ? LastError() : std::error_code();
  if (error) name_.clear();
}

ReplacementFile::~ReplacementFile() {
  if (handle_ != kClosed) CloseHandle(reinterpret_cast<HANDLE>(handle_));
  if (!name_.empty()) DeleteFileW(ToUtf16(name_).c_str());
}

// Nothing to carry over: the new file takes the permissions its folder passes on, as any file
// saved afresh there does, and the old file's attributes would only be in the way of the rename.
std::error_code ReplacementFile::KeepAttributesOf(const std::string&) {
  return {};
}

std::error_code ReplacementFile::Write(std::string_view bytes) {
  const HANDLE handle = reinterpret_cast<HANDLE>(handle_);
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(handle, bytes.data(), chunk, &written, nullptr)) return LastError();
    bytes.remove_prefix(written);
  }
  return {};
}

// The volume and file index of what a name leads to; nothing when it leads nowhere.
std::error_code InformationOf(const std::string& name,
                              std::optional<BY_HANDLE_FILE_INFORMATION>& id) {
  id.reset();
  // No access asked: enough to read the identity, and it never waits on another's sharing.
  const HANDLE handle =
      CreateFileW(ToUtf16(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? std::error_code()
                                                                          : ErrorCode(error);
  }
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = GetFileInformationByHandle(handle, &info) != 0;
  const std::error_code error = known ? std::error_code() : LastError();
  CloseHandle(handle);
  if (known) id = info;
  return error;
}

std::error_code SameFile(const std::string& first, const std::string& second, bool& same) {
  same = false;
  std::optional<BY_HANDLE_FILE_INFORMATION> one;
  std::optional<BY_HANDLE_FILE_INFORMATION> two;
  if (const std::error_code error = InformationOf(first, one)) return error;
  if (const std::error_code error = InformationOf(second, two)) return error;
  const auto identity = [](const BY_HANDLE_FILE_INFORMATION& info) {
    return FileIdentity{info.dwVolumeSerialNumber,
                        (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
  };
  same = one && two && SameIdentity(identity(*one), identity(*two));
  return {};
}

std::error_code ReplacementFile::Finish() {
  if (!FlushFileBuffers(reinterpret_cast<HANDLE>(handle_))) return LastError();
  if (!CloseHandle(reinterpret_cast<HANDLE>(std::exchange(handle_, kClosed)))) return LastError();
  return {};
}

std::error_code ReplacementFile::PutInPlace(const std::string& target, const std::string&) {
  if (!MoveFileExW(ToUtf16(name_).c_str(), ToUtf16(target).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return LastError();
  }
  name_.clear();
  return {};
}

}  // namespace vexilo::native
