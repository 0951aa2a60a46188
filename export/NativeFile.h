#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

// What the safe save asks of the platform's file calls, one implementation per platform
// (NativeFilePosix.cpp, NativeFileWindows.cpp; CMake builds the one that fits). Names are UTF-8
// text, on POSIX systems the bytes of the name as it is stored; failures keep the system's code.
// Plain platform calls rather than std::filesystem: the Windows program links the C++ runtime
// statically, and std::filesystem brings the runtime's locale machinery along, which made up
// about three quarters of the program.
namespace vexilo::native {

// What a name leads to, links followed.
enum class Kind { Nothing, File, Folder, Pipe, Device, Socket };

bool IsSeparator(char c);

// The name made absolute against the current folder. On POSIX systems a link is followed to
// the file it finally names; a link that leads nowhere stays itself.
[[nodiscard]] std::error_code Resolve(std::string_view name, std::string& absolute);

// Nothing when nothing has that name (nor its folder); an error when the system cannot tell.
[[nodiscard]] std::error_code KindOf(const std::string& name, Kind& kind);

// Where a file lives: its device and its file number there (on Windows, its volume's serial
// number and its file index).
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t number = 0;
};

// One file is the same device *and* the same number: a number alone repeats on every device.
[[nodiscard]] constexpr bool SameIdentity(const FileIdentity& one, const FileIdentity& two) {
  return one.device == two.device && one.number == two.number;
}

// Whether two names lead to one file, links followed (SameIdentity). False, with no error,
// when either leads nowhere.
[[nodiscard]] std::error_code SameFile(const std::string& first, const std::string& second,
                                       bool& same);

// A new file beside the target that takes the target's place once it holds every byte. Until
// then it is removed when it goes out of scope, so a failed save leaves nothing behind.
class ReplacementFile {
 public:
  // Creates the file only if nothing has that name yet; std::errc::file_exists otherwise.
  ReplacementFile(std::string name, std::error_code& error);
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;
  ~ReplacementFile();

  // What the user gave the file it replaces: its permission bits, and its owner and group where
  // this process may set them.
  [[nodiscard]] std::error_code KeepAttributesOf(const std::string& old);
  [[nodiscard]] std::error_code Write(std::string_view bytes);
  // Flushes the bytes to the disk and closes the file; it is still removed unless it is put
  // in place.
  [[nodiscard]] std::error_code Finish();
  // Puts the finished file in place of target in one step.
  [[nodiscard]] std::error_code PutInPlace(const std::string& target, const std::string& folder);
  // Both.
  [[nodiscard]] std::error_code Replace(const std::string& target, const std::string& folder) {
    if (const std::error_code error = Finish()) return error;
    return PutInPlace(target, folder);
  }

 private:
  static constexpr std::intptr_t kClosed = -1;  // no descriptor, INVALID_HANDLE_VALUE

  std::string name_;  // empty once there is nothing left to remove
  std::intptr_t handle_ = kClosed;
};

}  // namespace vexilo::native
