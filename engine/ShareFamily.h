#pragma once

#include <cstdint>

#include "PocketTable.h"

namespace vexilo {

// A share is chosen by a family and a selector. Selectors do not all count from the same base:
//   number 0..36; colour 0 red, 1 black; parity 0 even, 1 odd; half 0 is 1-18, 1 is 19-36;
//   column 0..2 and dozen 0..2 for the first to third; street 1..12; sector 1..4.
enum ShareFamily : std::int8_t {
  sfNumber,
  sfColor,
  sfParity,
  sfHalf,
  sfColumn,
  sfDozen,
  sfStreet,
  sfSector,
};

inline constexpr int kFamilies = 8;

struct SelectorRange {
  int first;
  int last;
};

constexpr SelectorRange SelectorsOf(ShareFamily family) {
  switch (family) {
    case sfNumber:
      return {0, kPockets - 1};
    case sfColor:
    case sfParity:
    case sfHalf:
      return {0, 1};
    case sfColumn:
    case sfDozen:
      return {0, 2};
    case sfStreet:
      return {1, kStreets};
    case sfSector:
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
  if (family == sfNumber) return n;
  if (n == 0) return -1;
  switch (family) {
    case sfColor:
      return p.color;
    case sfParity:
      return p.parity == pcEven ? 0 : 1;
    case sfHalf:
      return p.half - 1;
    case sfColumn:
      return p.column - 1;
    case sfDozen:
      return p.dozen - 1;
    case sfStreet:
      return p.street;
    case sfSector:
      return p.sector;
    case sfNumber:
      break;
  }
  return -1;
}

}  // namespace vexilo
