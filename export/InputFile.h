#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vexilo {

// A file opened for reading from start to end, or standard input for the name "-". Failures
// throw std::system_error with the platform's error code and the file's name.
class InputFile {
 public:
  // name: UTF-8 text on Windows, the stored bytes elsewhere.
  explicit InputFile(std::string_view name);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Reads up to size bytes into to; 0 only at the end of the file.
  std::size_t Read(char* to, std::size_t size);
  // The size of a file on disk, which can be read from any place; nothing for a pipe, a
  // terminal or standard input.
  std::optional<std::int64_t> Size() const;
  // Goes to a place in a file that has a Size.
  void Seek(std::int64_t offset);
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
  bool owned_ = false;  // standard input is borrowed, never closed
};

}  // namespace vexilo
