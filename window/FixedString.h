#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace vexilo {

// A short text kept inside a constexpr table row.
template <std::size_t N>
struct FixedString {
  std::array<char, N> chars{};
  std::size_t length = 0;

  constexpr FixedString() = default;
  constexpr FixedString(std::string_view text) {  // NOLINT(google-explicit-constructor)
    for (const char ch : text) chars[length++] = ch;
  }
  constexpr FixedString(std::string_view prefix, int number) : FixedString(prefix) {
    char digits[12] = {};
    int count = 0;
    do {
      digits[count++] = static_cast<char>('0' + number % 10);
      number /= 10;
    } while (number > 0);
    while (count > 0) chars[length++] = digits[--count];
  }
  constexpr std::string_view view() const { return {chars.data(), length}; }
  constexpr bool operator==(std::string_view other) const { return view() == other; }
};

}  // namespace vexilo
