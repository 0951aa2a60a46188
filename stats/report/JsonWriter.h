#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexilo::stats {

// Writes one JSON document, indented two spaces a level; an array of plain values stays on
// one line. Strings are escaped, bytes that are not UTF-8 become U+FFFD, and a number that is
// not finite is written as null.
class JsonWriter {
 public:
  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }
  // The name of the next member of the open object.
  JsonWriter& Key(std::string_view name);

  void String(std::string_view text);
  void Number(double value);
  void Integer(std::int64_t value);
  void Unsigned(std::uint64_t value);
  void Boolean(bool value);
  void Null();

  // The document so far; complete once every object and array is closed.
  const std::string& Text() const { return out_; }

 private:
  struct Level {
    bool empty = true;
    bool flat = false;  // an array of plain values, kept on one line
  };

  void Open(char bracket);
  void Close(char bracket);
  void BeforeValue(bool container);
  void NewLine();
  void Quoted(std::string_view text);

  std::string out_;
  std::vector<Level> levels_;
  bool afterKey_ = false;
};

}  // namespace vexilo::stats
