#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vexilo {

class InputFile;

// Where the spins of a log go, in batches, oldest first; each is a number 0..36.
class SpinSink {
 public:
  virtual void Spins(std::span<const std::uint8_t> numbers) = 0;

 protected:
  ~SpinSink() = default;
};

// A line that is not a spin: what() is "FILE:LINE: what is wrong".
class SpinLogError : public std::runtime_error {
 public:
  SpinLogError(const std::string& file, std::int64_t line, const std::string& reason);
  std::int64_t Line() const { return line_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::int64_t line_;
  std::string reason_;
};

// How one part of a log read: the lines that start in its byte range, counted from 1.
struct SpinLogPart {
  std::int64_t spins = 0;  // when there is a bad line, the spins before it
  std::int64_t lines = 0;
  std::int64_t emptyTail = 0;  // the first of the empty lines that end the part, 0 when none
  std::int64_t badLine = 0;    // the first line that is not a spin, 0 when none
  std::string problem;         // what is wrong with it
};

// Judges a log read in parts, given in order, as if it had been read whole: throws the
// SpinLogError that reading it whole throws, with its line numbers.
void CheckParts(const std::string& name, std::span<const SpinLogPart> parts);

// Reads a spin log from start to end through one fixed buffer, however long the log. Every
// line is checked: "N,Colour" with N 0..36 and Colour its pocket's word, CR LF or LF, the last
// line with or without a line end; a UTF-8 byte-order mark may open the file and empty lines
// may close it. Anything else throws SpinLogError; a file that cannot be opened or read throws
// std::system_error naming it.
class SpinLogReader {
 public:
  // name as for InputFile: "-" is standard input.
  explicit SpinLogReader(std::string_view name);
  ~SpinLogReader();
  SpinLogReader(const SpinLogReader&) = delete;
  SpinLogReader& operator=(const SpinLogReader&) = delete;

  // Hands every spin to sink; returns how many there were.
  std::int64_t ReadAll(SpinSink& sink);

  // The size of a log that can be read in parts (a file on disk), else nothing.
  std::optional<std::int64_t> PartableSize() const;
  // Hands the spins of the lines that start at byte offsets from..to - 1 to sink. A line that
  // is not a spin ends the part and is told in the result, not thrown.
  SpinLogPart ReadPart(std::int64_t from, std::int64_t to, SpinSink& sink);

 private:
  class Parser;
  std::unique_ptr<InputFile> file_;
};

}  // namespace vexilo
