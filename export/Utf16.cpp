#include "export/Utf16.h"

#include "export/Utf8.h"

namespace vexilo {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// One code point from text at `at`, which moves past it; nothing for a maximal ill-formed part,
// which `at` also moves past (at least one byte, so decoding always goes on).
std::optional<char32_t> Decode(std::string_view text, std::size_t& at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at++);
  if (lead < 0x80) return lead;
  const Utf8Lead* entry = FindUtf8Lead(lead);
  if (entry == nullptr) return std::nullopt;
  char32_t value = lead & (0x7F >> (entry->following + 1));
  unsigned char low = entry->secondLow;
  unsigned char high = entry->secondHigh;
  for (int i = 0; i < entry->following; ++i, low = 0x80, high = 0xBF) {
    if (at == text.size() || byte(at) < low || byte(at) > high) return std::nullopt;
    value = (value << 6) | (byte(at++) & 0x3F);
  }
  return value;
}

std::optional<char32_t> Decode(Utf16View text, std::size_t& at) {
  const auto isHigh = [](char32_t u) { return u >= 0xD800 && u <= 0xDBFF; };
  const auto isLow = [](char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
  const char32_t unit = text[at++];
  if (!isHigh(unit) && !isLow(unit)) return unit;
  if (isLow(unit) || at == text.size() || !isLow(text[at])) return std::nullopt;
  return 0x10000 + ((unit - 0xD800) << 10) + (text[at++] - 0xDC00);
}

void Append(char32_t c, Utf16String& out) {
  if (c < 0x10000) {
    out += static_cast<Utf16Unit>(c);
  } else {
    out += static_cast<Utf16Unit>(0xD800 + ((c - 0x10000) >> 10));
    out += static_cast<Utf16Unit>(0xDC00 + ((c - 0x10000) & 0x3FF));
  }
}

void Append(char32_t c, std::string& out) {
  const auto put = [&](char32_t bits) { out += static_cast<char>(bits); };
  if (c < 0x80) {
    put(c);
  } else if (c < 0x800) {
    put(0xC0 | (c >> 6));
    put(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    put(0xE0 | (c >> 12));
    put(0x80 | ((c >> 6) & 0x3F));
    put(0x80 | (c & 0x3F));
  } else {
    put(0xF0 | (c >> 18));
    put(0x80 | ((c >> 12) & 0x3F));
    put(0x80 | ((c >> 6) & 0x3F));
    put(0x80 | (c & 0x3F));
  }
}

// Nothing when exact and the text is not well formed; otherwise the whole text converted.
template <class Out, class In>
std::optional<Out> Convert(In text, bool exact) {
  Out out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::optional<char32_t> c = Decode(text, at);
    if (!c && exact) return std::nullopt;
    Append(c.value_or(kReplacement), out);
  }
  return out;
}

}  // namespace

Utf16String ToUtf16(std::string_view utf8) {
  return *Convert<Utf16String>(utf8, false);
}

std::string ToUtf8(Utf16View utf16) {
  return *Convert<std::string>(utf16, false);
}

std::optional<Utf16String> ToUtf16Exact(std::string_view utf8) {
  return Convert<Utf16String>(utf8, true);
}

std::optional<std::string> ToUtf8Exact(Utf16View utf16) {
  return Convert<std::string>(utf16, true);
}

}  // namespace vexilo
