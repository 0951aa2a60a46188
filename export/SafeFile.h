#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <system_error>

namespace vexilo {

// How a save ended. No code: every byte is in place. Otherwise the system's error code, or for a
// name the save refuses std::errc::invalid_argument (no file name), is_a_directory (a folder),
// operation_not_supported (a pipe, a device, a socket) or no_such_file_or_directory (its folder
// is missing); and a message for the user that names the file and the reason.
struct SaveResult {
  std::error_code code;
  std::string message;

  bool Saved() const { return !code; }
};

// Writes bytes to a temporary file beside the target, flushes and closes it, then puts it in
// place of the target in one step; the replacement keeps the old file's permission bits and, where
// the process may set them, its owner and group. A link stays a link: the file it leads to is
// replaced. On any failure the temporary file goes and an existing target stays exactly as it was.
// The target is a file name as UTF-8 text, absolute or relative to the current folder; on
// Windows it must be valid UTF-8, on POSIX systems its bytes are the name as it is stored.
[[nodiscard]] SaveResult WriteFileAtomically(std::string_view target, std::string_view bytes);

// The same save in two steps, for a file that must appear only if something else succeeds
// too: the constructor writes every byte to the temporary file and flushes it to the disk;
// Commit puts it in place. A prepared file that is never committed goes with its object, and
// the target stays exactly as it was.
class PreparedFile {
 public:
  PreparedFile(std::string_view target, std::string_view bytes);
  PreparedFile(const PreparedFile&) = delete;
  PreparedFile& operator=(const PreparedFile&) = delete;
  ~PreparedFile();

  // How the preparation went; Commit only after it went well.
  const SaveResult& Prepared() const { return result_; }
  [[nodiscard]] SaveResult Commit();

 private:
  struct Pending;
  std::string target_;
  std::unique_ptr<Pending> pending_;
  SaveResult result_;
};

// Whether two names lead to one file, through links or other names; false when either leads
// nowhere or the system cannot tell.
bool SameFile(std::string_view first, std::string_view second);

}  // namespace vexilo
