#pragma once

#include <array>
#include <bit>
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
inline constexpr std::size_t kLongestLine = 10;                     // "36,Black" and CR LF

// What follows the number on a line: ",Black\r\n". At most 8 bytes, so that a reader can
// compare it as one word.
struct LineTail {
  std::array<char, 8> bytes{};
  std::size_t size = 0;

  constexpr std::string_view View() const { return {bytes.data(), size}; }
  // The tail's bytes as they lie in memory, read as one native word; mask covers them.
  constexpr std::uint64_t Word() const { return Pack(bytes, size); }
  constexpr std::uint64_t Mask() const {
    std::array<char, 8> ones{};
    ones.fill('\xFF');
    return Pack(ones, size);
  }

 private:
  static constexpr std::uint64_t Pack(const std::array<char, 8>& from, std::size_t count) {
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < count; ++i) {
      const int shift = std::endian::native == std::endian::little ? 8 * i : 8 * (7 - i);
      word |= std::uint64_t{static_cast<unsigned char>(from[i])} << shift;
    }
    return word;
  }
};

constexpr LineTail MakeLineTail(ColourCode colour, std::string_view lineEnd) {
  LineTail tail;
  tail.bytes[tail.size++] = kFieldSeparator;
  for (const char ch : kColourWords[ColourIndex(colour)]) tail.bytes[tail.size++] = ch;
  for (const char ch : lineEnd) tail.bytes[tail.size++] = ch;
  return tail;
}

}  // namespace vexilo
