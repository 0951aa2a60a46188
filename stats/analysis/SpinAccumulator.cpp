#include "stats/analysis/SpinAccumulator.h"

#include <algorithm>
#include <utility>

#include "stats/analysis/Wheel.h"

namespace vexilo::stats {
namespace {

constexpr std::array<std::array<std::uint8_t, kPockets>, kStreakKinds> MakeRunKeys() {
  std::array<std::array<std::uint8_t, kPockets>, kStreakKinds> keys{};
  for (int n = 1; n < kPockets; ++n) {
    const Pocket& p = PocketOf(n);
    keys[Index(StreakKind::Red)][n] = p.color == ColourCode::Red;
    keys[Index(StreakKind::Black)][n] = p.color == ColourCode::Black;
    keys[Index(StreakKind::Even)][n] = p.parity == ParityCode::Even;
    keys[Index(StreakKind::Odd)][n] = p.parity == ParityCode::Odd;
    keys[Index(StreakKind::Dozen)][n] = static_cast<std::uint8_t>(p.dozen);
    keys[Index(StreakKind::Column)][n] = static_cast<std::uint8_t>(p.column);
  }
  return keys;
}

constexpr auto kRunKeyTable = MakeRunKeys();

// All ones where number n has key 1 in the kind, for the four kinds with one key.
constexpr std::array<std::array<std::int64_t, kPockets>, 4> MakeRunMasks() {
  std::array<std::array<std::int64_t, kPockets>, 4> masks{};
  for (int kind = Index(StreakKind::Red); kind <= Index(StreakKind::Odd); ++kind) {
    for (int n = 0; n < kPockets; ++n) masks[kind][n] = -std::int64_t{kRunKeyTable[kind][n]};
  }
  return masks;
}

constexpr auto kRunMasks = MakeRunMasks();

constexpr std::array<std::uint8_t, kPockets * kPockets> MakeDistances() {
  std::array<std::uint8_t, kPockets * kPockets> table{};
  for (int a = 0; a < kPockets; ++a) {
    for (int b = 0; b < kPockets; ++b) {
      table[a * kPockets + b] = static_cast<std::uint8_t>(WheelDistance(a, b));
    }
  }
  return table;
}

constexpr auto kDistanceTable = MakeDistances();

}  // namespace

NumberCounts CountNumbers(std::span<const std::uint8_t> spins) {
  NumberCounts counts{};
  for (const std::uint8_t n : spins) ++counts[n];
  return counts;
}

SpinAccumulator::SpinAccumulator() {
  first_.fill(-1);
  last_.fill(-1);
}

// The spins go through in separate passes, each with little state, so that each loop keeps
// its state in registers: one pass for the numbers, one for the distances, one per run family.
void SpinAccumulator::Add(std::span<const std::uint8_t> spins) {
  if (spins.empty()) return;
  if (firstSpin_ < 0) {
    firstSpin_ = spins.front();
    for (int k = 0; k < kStreakKinds; ++k) runs_[k].firstKey = kRunKeyTable[k][firstSpin_];
  }
  if (unseen_ > 0) AddFirstSpins(spins);
  AddNumbers(spins);
  AddDistances(spins);
  AddLeads(spins);
  AddColourAndParityRuns(spins);
  AddGroupRuns(spins);
  record_.Append(spins);
  spins_ += static_cast<std::int64_t>(spins.size());
  lastSpin_ = spins.back();
  for (int k = 0; k < kStreakKinds; ++k) runs_[k].lastKey = kRunKeyTable[k][lastSpin_];
}

void SpinAccumulator::AddFirstSpins(std::span<const std::uint8_t> spins) {
  std::int64_t index = spins_;
  for (const std::uint8_t n : spins) {
    if (first_[n] < 0) {
      first_[n] = index;
      if (--unseen_ == 0) return;
    }
    ++index;
  }
}

void SpinAccumulator::AddNumbers(std::span<const std::uint8_t> spins) {
  std::int64_t index = spins_;
  for (const std::uint8_t n : spins) {
    ++count_[n];
    gap_[n] = std::max(gap_[n], index - last_[n] - 1);
    last_[n] = index++;
  }
}

void SpinAccumulator::AddDistances(std::span<const std::uint8_t> spins) {
  int previous = lastSpin_ >= 0 ? lastSpin_ : spins.front();
  std::size_t i = lastSpin_ >= 0 ? 0 : 1;
  for (; i < spins.size(); ++i) {
    ++distances_[kDistanceTable[previous * kPockets + spins[i]]];
    previous = spins[i];
  }
}

// The run at the start is the lead until some spin breaks it.
void SpinAccumulator::AddLeads(std::span<const std::uint8_t> spins) {
  for (int k = 0; k < kStreakKinds; ++k) {
    RunState& run = runs_[k];
    if (!run.leadOpen) continue;
    for (const std::uint8_t n : spins) {
      if (kRunKeyTable[k][n] == 0 || kRunKeyTable[k][n] != run.firstKey) {
        run.leadOpen = false;
        break;
      }
      ++run.lead;
    }
  }
}

// Runs of one key: a spin either adds to the run or ends it. Masks, not branches, since that
// is a coin toss.
void SpinAccumulator::AddColourAndParityRuns(std::span<const std::uint8_t> spins) {
  std::int64_t red = runs_[Index(StreakKind::Red)].trail,
               black = runs_[Index(StreakKind::Black)].trail;
  std::int64_t even = runs_[Index(StreakKind::Even)].trail,
               odd = runs_[Index(StreakKind::Odd)].trail;
  std::int64_t longestRed = runs_[Index(StreakKind::Red)].longest,
               longestBlack = runs_[Index(StreakKind::Black)].longest;
  std::int64_t longestEven = runs_[Index(StreakKind::Even)].longest,
               longestOdd = runs_[Index(StreakKind::Odd)].longest;
  for (const std::uint8_t n : spins) {
    red = (red + 1) & kRunMasks[Index(StreakKind::Red)][n];
    black = (black + 1) & kRunMasks[Index(StreakKind::Black)][n];
    even = (even + 1) & kRunMasks[Index(StreakKind::Even)][n];
    odd = (odd + 1) & kRunMasks[Index(StreakKind::Odd)][n];
    longestRed = std::max(longestRed, red);
    longestBlack = std::max(longestBlack, black);
    longestEven = std::max(longestEven, even);
    longestOdd = std::max(longestOdd, odd);
  }
  runs_[Index(StreakKind::Red)].trail = red;
  runs_[Index(StreakKind::Black)].trail = black;
  runs_[Index(StreakKind::Even)].trail = even;
  runs_[Index(StreakKind::Odd)].trail = odd;
  runs_[Index(StreakKind::Red)].longest = longestRed;
  runs_[Index(StreakKind::Black)].longest = longestBlack;
  runs_[Index(StreakKind::Even)].longest = longestEven;
  runs_[Index(StreakKind::Odd)].longest = longestOdd;
}

// Runs of the same dozen and of the same column: a spin in another group starts a new run.
void SpinAccumulator::AddGroupRuns(std::span<const std::uint8_t> spins) {
  const auto& dozens = kRunKeyTable[Index(StreakKind::Dozen)];
  const auto& columns = kRunKeyTable[Index(StreakKind::Column)];
  int lastDozen = runs_[Index(StreakKind::Dozen)].lastKey,
      lastColumn = runs_[Index(StreakKind::Column)].lastKey;
  std::int64_t dozen = runs_[Index(StreakKind::Dozen)].trail,
               column = runs_[Index(StreakKind::Column)].trail;
  std::int64_t longestDozen = runs_[Index(StreakKind::Dozen)].longest,
               longestColumn = runs_[Index(StreakKind::Column)].longest;
  for (const std::uint8_t n : spins) {
    const int d = dozens[n];
    const int c = columns[n];
    dozen = (d == lastDozen ? dozen + 1 : 1) & -std::int64_t{d != 0};
    column = (c == lastColumn ? column + 1 : 1) & -std::int64_t{c != 0};
    lastDozen = d;
    lastColumn = c;
    longestDozen = std::max(longestDozen, dozen);
    longestColumn = std::max(longestColumn, column);
  }
  runs_[Index(StreakKind::Dozen)].trail = dozen;
  runs_[Index(StreakKind::Column)].trail = column;
  runs_[Index(StreakKind::Dozen)].longest = longestDozen;
  runs_[Index(StreakKind::Column)].longest = longestColumn;
}

void SpinAccumulator::Append(const SpinAccumulator& later) {
  if (later.spins_ == 0) return;
  if (spins_ == 0) {
    *this = later;
    return;
  }
  const std::int64_t offset = spins_;
  for (int n = 0; n < kPockets; ++n) {
    if (later.count_[n] == 0) continue;
    // The stretch before its first spin in the later part now starts after its last one here.
    gap_[n] = std::max({gap_[n], later.gap_[n], offset - last_[n] - 1 + later.first_[n]});
    if (count_[n] == 0) first_[n] = offset + later.first_[n];
    last_[n] = offset + later.last_[n];
    count_[n] += later.count_[n];
  }
  unseen_ = static_cast<int>(std::count(count_.begin(), count_.end(), 0));
  for (int d = 0; d < kPockets; ++d) distances_[d] += later.distances_[d];
  ++distances_[kDistanceTable[lastSpin_ * kPockets + later.firstSpin_]];
  for (int k = 0; k < kStreakKinds; ++k) {
    RunState& a = runs_[k];
    const RunState& b = later.runs_[k];
    const bool joined = a.lastKey != 0 && a.lastKey == b.firstKey;
    a.longest = std::max(a.longest, b.longest);
    if (joined) {
      a.longest = std::max(a.longest, a.trail + b.lead);
      if (a.leadOpen) a.lead += b.lead;
    }
    a.leadOpen = a.leadOpen && joined && b.leadOpen;
    a.trail = (joined && b.trail == later.spins_) ? a.trail + b.trail : b.trail;
    a.lastKey = b.lastKey;
  }
  record_.Append(later.record_.View());
  spins_ += later.spins_;
  lastSpin_ = later.lastSpin_;
}

void SpinAccumulator::Append(SpinAccumulator&& later) {
  if (spins_ == 0) {
    *this = std::move(later);
    return;
  }
  Append(later);
}

std::int64_t SpinAccumulator::SinceLast(int n) const {
  return count_[n] == 0 ? spins_ : spins_ - 1 - last_[n];
}

std::int64_t SpinAccumulator::LongestAbsence(int n) const {
  return std::max(gap_[n], SinceLast(n));
}

}  // namespace vexilo::stats
