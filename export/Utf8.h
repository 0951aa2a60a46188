#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace vexilo {

// The well-formed UTF-8 sequences by their first byte: how many bytes follow, and the range the
// second one must fall in, which rules out overlong forms, surrogates and values above U+10FFFF.
// Every later byte is 80..BF. A byte below 80 stands alone; any other lead is ill formed.
struct Utf8Lead {
  unsigned char first;
  unsigned char last;
  int following;
  unsigned char secondLow;
  unsigned char secondHigh;
};
inline constexpr std::array<Utf8Lead, 8> kUtf8Leads = {{
    {0xC2, 0xDF, 1, 0x80, 0xBF},
    {0xE0, 0xE0, 2, 0xA0, 0xBF},
    {0xE1, 0xEC, 2, 0x80, 0xBF},
    {0xED, 0xED, 2, 0x80, 0x9F},
    {0xEE, 0xEF, 2, 0x80, 0xBF},
    {0xF0, 0xF0, 3, 0x90, 0xBF},
    {0xF1, 0xF3, 3, 0x80, 0xBF},
    {0xF4, 0xF4, 3, 0x80, 0x8F},
}};

// The row of a lead byte of 80 or above, or nullptr when no well-formed sequence starts with it.
constexpr const Utf8Lead* FindUtf8Lead(unsigned char lead) {
  for (const Utf8Lead& row : kUtf8Leads) {
    if (lead >= row.first && lead <= row.last) return &row;
  }
  return nullptr;
}

// Length of the well-formed UTF-8 character that text starts with (no overlong forms, no
// surrogates, nothing past U+10FFFF); 0 when it does not start with one, or is empty.
constexpr std::size_t Utf8CharLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return 1;
  const Utf8Lead* row = FindUtf8Lead(lead);
  if (row == nullptr || text.size() <= static_cast<std::size_t>(row->following)) return 0;
  unsigned char low = row->secondLow;
  unsigned char high = row->secondHigh;
  for (int i = 1; i <= row->following; ++i, low = 0x80, high = 0xBF) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < low || c > high) return 0;
  }
  return static_cast<std::size_t>(row->following) + 1;
}

}  // namespace vexilo
