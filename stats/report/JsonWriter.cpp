#include "stats/report/JsonWriter.h"

#include <charconv>
#include <cmath>

#include "export/Utf8.h"
#include "stats/report/TextFormat.h"

namespace vexilo::stats {

JsonWriter& JsonWriter::Key(std::string_view name) {
  BeforeValue(false);
  Quoted(name);
  out_ += ": ";
  afterKey_ = true;
  return *this;
}

void JsonWriter::String(std::string_view text) {
  BeforeValue(false);
  Quoted(text);
}

void JsonWriter::Number(double value) {
  BeforeValue(false);
  out_ += std::isfinite(value) ? Exact(value) : "null";
}

void JsonWriter::Integer(std::int64_t value) {
  BeforeValue(false);
  out_ += std::to_string(value);
}

void JsonWriter::Unsigned(std::uint64_t value) {
  BeforeValue(false);
  out_ += std::to_string(value);
}

void JsonWriter::Boolean(bool value) {
  BeforeValue(false);
  out_ += value ? "true" : "false";
}

void JsonWriter::Null() {
  BeforeValue(false);
  out_ += "null";
}

void JsonWriter::Open(char bracket) {
  BeforeValue(true);
  out_ += bracket;
  levels_.push_back({});
}

void JsonWriter::Close(char bracket) {
  const Level level = levels_.back();
  levels_.pop_back();
  if (!level.empty && !level.flat) NewLine();
  out_ += bracket;
  if (levels_.empty()) out_ += '\n';
}

// The comma and line break before a value or a key; a value after its key needs neither.
void JsonWriter::BeforeValue(bool container) {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (levels_.empty()) return;
  Level& level = levels_.back();
  if (level.empty) level.flat = !container && out_.back() == '[';
  if (!level.empty) out_ += level.flat ? ", " : ",";
  if (!level.flat) NewLine();
  level.empty = false;
}

void JsonWriter::NewLine() {
  out_ += '\n';
  out_.append(2 * levels_.size(), ' ');
}

void JsonWriter::Quoted(std::string_view text) {
  constexpr char kHex[] = "0123456789abcdef";
  out_ += '"';
  while (!text.empty()) {
    const auto c = static_cast<unsigned char>(text[0]);
    const std::size_t length = Utf8CharLength(text);
    if (length == 0) {
      out_ += "\\ufffd";
      text.remove_prefix(1);
      continue;
    }
    if (c == '"' || c == '\\') {
      out_ += '\\';
      out_ += static_cast<char>(c);
    } else if (c < 0x20) {
      out_ += "\\u00";
      out_ += kHex[c >> 4];
      out_ += kHex[c & 0xF];
    } else {
      out_.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  out_ += '"';
}

}  // namespace vexilo::stats
