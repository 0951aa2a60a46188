#include "stats/report/Markup.h"

#include <algorithm>
#include <array>
#include <cassert>

#include "export/Utf8.h"

namespace vexilo::stats {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Elements that flow inside a line of text: no line break after them.
constexpr std::array<std::string_view, 8> kInline = {"a",    "b",      "code", "em",
                                                     "span", "strong", "td",   "tspan"};

std::string_view Reference(char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    case '\'':
      return "&#39;";
    default:
      return {};
  }
}

bool IsControl(unsigned char c) {
  return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F;
}

}  // namespace

void AppendEscaped(std::string& out, std::string_view text) {
  while (!text.empty()) {
    const std::size_t length = Utf8CharLength(text);
    const auto first = static_cast<unsigned char>(text.front());
    if (length == 0 || (length == 1 && IsControl(first))) {
      out += kReplacement;
      text.remove_prefix(1);
      continue;
    }
    const std::string_view reference = length == 1 ? Reference(text.front()) : std::string_view{};
    out += reference.empty() ? text.substr(0, length) : reference;
    text.remove_prefix(length);
  }
}

Markup& Markup::Open(std::string_view tag, Attributes attributes) {
  StartTag(tag, attributes);
  out_ += '>';
  open_.emplace_back(tag);
  return *this;
}

Markup& Markup::Close() {
  assert(!open_.empty());
  const std::string tag = std::move(open_.back());
  open_.pop_back();
  out_ += "</";
  out_ += tag;
  out_ += '>';
  EndLine(tag);
  return *this;
}

Markup& Markup::Text(std::string_view text) {
  AppendEscaped(out_, text);
  return *this;
}

Markup& Markup::Element(std::string_view tag, Attributes attributes, std::string_view text) {
  Open(tag, attributes);
  Text(text);
  return Close();
}

Markup& Markup::Empty(std::string_view tag, Attributes attributes) {
  StartTag(tag, attributes);
  out_ += "/>";
  EndLine(tag);
  return *this;
}

Markup& Markup::Trusted(std::string_view markup) {
  out_ += markup;
  return *this;
}

std::string Markup::Take() {
  assert(open_.empty());
  return std::move(out_);
}

void Markup::StartTag(std::string_view tag, Attributes attributes) {
  out_ += '<';
  out_ += tag;
  for (const auto& [name, value] : attributes) {
    out_ += ' ';
    out_ += name;
    out_ += "=\"";
    AppendEscaped(out_, value);
    out_ += '"';
  }
}

// A line break after block-level elements keeps the page readable as text; inside a line it
// would show as a space.
void Markup::EndLine(std::string_view tag) {
  if (std::find(kInline.begin(), kInline.end(), tag) == kInline.end()) out_ += '\n';
}

}  // namespace vexilo::stats
