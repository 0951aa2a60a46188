#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/Color.h"

namespace vexilo {

// The spin log, written by DataSave and read by Vexilo Stats: one line per spin, oldest first,
// the number 0..36 in decimal without a leading zero, a comma and the word of its colour.
// The board ends every line with CR LF; readers take LF too.
inline constexpr std::array<std::string_view, 3> kColourWords = {"Red", "Black", "Green"};
inline constexpr char kFieldSeparator = ',';
inline constexpr std::string_view kLineEnd = "\r\n";
inline constexpr std::string_view kBareLineEnd = "\n";
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";  // only a reader meets it
inline constexpr std::size_t kLongestLine = 10;                     // "35,Black" and CR LF

// What follows the number on a line: ",Black\r\n", at most 8 bytes.
struct LineTail {
  std::array<char, 8> bytes{};
  std::size_t size = 0;

  constexpr std::string_view View() const { return {bytes.data(), size}; }
};

constexpr LineTail MakeLineTail(ColourCode colour, std::string_view lineEnd) {
  LineTail tail;
  tail.bytes[tail.size++] = kFieldSeparator;
  for (const char ch : kColourWords[ColourIndex(colour)]) tail.bytes[tail.size++] = ch;
  for (const char ch : lineEnd) tail.bytes[tail.size++] = ch;
  return tail;
}

}  // namespace vexilo
