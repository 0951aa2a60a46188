#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "Color.h"

namespace vexilo {

enum class ParityCode : std::int32_t { Zero = 0, Odd = 1, Even = 2 };

inline constexpr int kPockets = 37;
inline constexpr int kSectors = 4;
inline constexpr int kStreets = 12;

// The four runs of nine neighbouring pockets, in wheel order, exactly as the window's captions
// show them. The pocket table takes each number's sector from these same texts.
inline constexpr std::array<std::string_view, kSectors> kSectorCaptions = {
    "32,15,19,4,21,2,25,17,34",
    "6,27,13,36,11,30,8,23,10",
    "5,24,16,33,1,20,14,31,9",
    "22,18,29,7,28,12,35,3,26",
};

// One pocket's row. Group numbers count from 1; 0 means the pocket is in no group of that
// family, which holds for 0 alone. half: 1 is 1-18, 2 is 19-36.
struct Pocket {
  ColourCode color;
  ParityCode parity;
  std::int8_t dozen;
  std::int8_t half;
  std::int8_t column;
  std::int8_t street;
  std::int8_t sector;
};

namespace detail {

constexpr bool IsRed(int n) {
  // 1-10 and 19-28: odd numbers are red; 11-18 and 29-36: even numbers are red.
  const bool oddIsRed = (n <= 10) || (n >= 19 && n <= 28);
  return (n % 2 == 1) == oddIsRed;
}

constexpr int SectorOf(int n) {
  for (int s = 0; s < kSectors; ++s) {
    int value = 0;
    for (const char ch : kSectorCaptions[s]) {
      if (ch == ',') {
        if (value == n) return s + 1;
        value = 0;
      } else {
        value = value * 10 + (ch - '0');
      }
    }
    if (value == n) return s + 1;
  }
  return 0;
}

constexpr std::array<Pocket, kPockets> MakePocketTable() {
  std::array<Pocket, kPockets> table{};
  table[0] = Pocket{ColourCode::Green, ParityCode::Zero, 0, 0, 0, 0, 0};
  for (int n = 1; n < kPockets; ++n) {
    table[n] = Pocket{
        IsRed(n) ? ColourCode::Red : ColourCode::Black,
        n % 2 == 1 ? ParityCode::Odd : ParityCode::Even,
        static_cast<std::int8_t>((n - 1) / 12 + 1),
        static_cast<std::int8_t>(n <= 18 ? 1 : 2),
        static_cast<std::int8_t>((n - 1) % 3 + 1),
        static_cast<std::int8_t>((n - 1) / 3 + 1),
        static_cast<std::int8_t>(SectorOf(n)),
    };
  }
  return table;
}

}  // namespace detail

inline constexpr std::array<Pocket, kPockets> kPocketTable = detail::MakePocketTable();

constexpr const Pocket& PocketOf(int n) {
  return kPocketTable[n];
}

}  // namespace vexilo
