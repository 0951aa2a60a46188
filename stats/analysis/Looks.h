#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "engine/PocketTable.h"
#include "engine/ShareFamily.h"
#include "stats/analysis/Analysis.h"
#include "stats/analysis/Arcs.h"
#include "stats/analysis/BinomialTails.h"

namespace vexilo::stats {

// Counts of the 37 numbers (number order) or of the 37 distances from spin to spin.
using Tally = std::array<std::int64_t, kPockets>;

// A family's cells as its test counts them: zero the first cell, then each group in the order
// of its selectors.
inline constexpr int kMostCells = kStreets + 1;
struct FamilyCells {
  int cells = 0;
  std::array<std::int8_t, kPockets> cellOf{};
  std::array<double, kMostCells> shares{};

  // The family's cell counts of the numbers' counts.
  std::array<std::int64_t, kMostCells> Count(const Tally& numbers) const {
    std::array<std::int64_t, kMostCells> counts{};
    for (int n = 0; n < kPockets; ++n) counts[cellOf[n]] += numbers[n];
    return counts;
  }
};

constexpr FamilyCells CellsOf(ShareFamily family) {
  const SelectorRange range = SelectorsOf(family);
  FamilyCells layout;
  layout.cells = range.last - range.first + 2;
  for (int n = 0; n < kPockets; ++n) {
    const int selector = GroupSelector(n, family);
    const int cell = selector < 0 ? 0 : selector - range.first + 1;
    layout.cellOf[n] = static_cast<std::int8_t>(cell);
    layout.shares[cell] += 1.0 / kPockets;
  }
  return layout;
}

// Zero against the rest: the shares of zero and of the other 36 numbers.
inline constexpr std::array<double, 2> kZeroShares = {1.0 / kPockets, 1.0 - 1.0 / kPockets};

// The families each look tests, in the order of Look (colour .. sector).
inline constexpr std::array<ShareFamily, 7> kLookFamilies = {
    ShareFamily::Color,  ShareFamily::Parity, ShareFamily::Half,  ShareFamily::Dozen,
    ShareFamily::Column, ShareFamily::Street, ShareFamily::Sector};

// What each look of the report makes of one wheel, the larger the further from a fair wheel:
// a chi-square's sum of squares (an exact whole number, ranked like the chi-square), the best
// arc's z, and for HotOrCold minus the smallest number's p-value.
using LookScores = std::array<double, kLooks>;

// One wheel as the looks see it: its numbers and its distances from spin to spin.
struct WheelTally {
  Tally numbers{};
  Tally distances{};
};

// The looks of the report for wheels of one number of spins, the observed wheel and the
// simulated ones alike: a look's score is computed here and nowhere else, so that the
// observed wheel and the fair ones are judged the same way.
class LookScorer {
 public:
  explicit LookScorer(std::int64_t spins);

  std::int64_t Spins() const { return spins_; }

  LookScores Score(const WheelTally& wheel) const;

 private:
  std::int64_t spins_;
  ArcScan arcs_;
  BinomialTails tails_;
};

}  // namespace vexilo::stats
