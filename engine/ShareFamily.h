#pragma once

#include <cstdint>

#include "PocketTable.h"

namespace vexilo {

// A share is chosen by a family and a selector. Selectors do not all count from the same base:
//   number 0..36; colour 0 red, 1 black; parity 0 even, 1 odd; half 0 is 1-18, 1 is 19-36;
//   column 0..2 and dozen 0..2 for the first to third; street 1..12; sector 1..4.
enum class ShareFamily : std::int8_t {
  Number,
  Color,
  Parity,
  Half,
  Column,
  Dozen,
  Street,
  Sector,
};

inline constexpr int kFamilies = 8;

struct SelectorRange {
  int first;
  int last;
};

constexpr SelectorRange SelectorsOf(ShareFamily family) {
  switch (family) {
    case ShareFamily::Number:
      return {0, kPockets - 1};
    case ShareFamily::Color:
    case ShareFamily::Parity:
    case ShareFamily::Half:
      return {0, 1};
    case ShareFamily::Column:
    case ShareFamily::Dozen:
      return {0, 2};
    case ShareFamily::Street:
      return {1, kStreets};
    case ShareFamily::Sector:
      return {1, kSectors};
  }
  return {0, -1};
}

constexpr bool IsSelector(ShareFamily family, int selector) {
  const SelectorRange range = SelectorsOf(family);
  return selector >= range.first && selector <= range.last;
}

// The selector of number n's group in the family, or -1 when n is in none (0 is in none).
constexpr int GroupSelector(int n, ShareFamily family) {
  const Pocket& p = PocketOf(n);
  if (family == ShareFamily::Number) return n;
  if (n == 0) return -1;
  switch (family) {
    case ShareFamily::Color:
      return static_cast<int>(p.color);  // 0 red, 1 black, as the codes
    case ShareFamily::Parity:
      return p.parity == ParityCode::Even ? 0 : 1;
    case ShareFamily::Half:
      return p.half - 1;
    case ShareFamily::Column:
      return p.column - 1;
    case ShareFamily::Dozen:
      return p.dozen - 1;
    case ShareFamily::Street:
      return p.street;
    case ShareFamily::Sector:
      return p.sector;
    case ShareFamily::Number:
      break;
  }
  return -1;
}

}  // namespace vexilo
