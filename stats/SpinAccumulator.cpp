#include "stats/SpinAccumulator.h"

#include <algorithm>

#include "stats/Wheel.h"

namespace vexilo::stats {
namespace {

constexpr std::array<std::array<std::uint8_t, kPockets>, kRunFamilies> MakeRunKeys() {
  std::array<std::array<std::uint8_t, kPockets>, kRunFamilies> keys{};
  for (int n = 1; n < kPockets; ++n) {
    const Pocket& p = PocketOf(n);
    keys[rfColour][n] = p.colour == ccRed ? 1 : 2;
    keys[rfParity][n] = p.parity == pcEven ? 1 : 2;
    keys[rfDozen][n] = static_cast<std::uint8_t>(p.dozen);
    keys[rfColumn][n] = static_cast<std::uint8_t>(p.column);
  }
  return keys;
}

constexpr auto kRunKeyTable = MakeRunKeys();

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

int RunKey(RunFamily family, int n) {
  return kRunKeyTable[family][n];
}

SpinAccumulator::SpinAccumulator() = default;

void SpinAccumulator::Add(std::span<const std::uint8_t> spins) {
  if (spins.empty()) return;
  std::int64_t index = spins_;
  int previous = lastSpin_;
  if (firstSpin_ < 0) firstSpin_ = spins.front();
  std::array<RunState, kRunFamilies> runs = runs_;
  for (const std::uint8_t n : spins) {
    NumberState& number = numbers_[n];
    ++number.count;
    if (number.first < 0) number.first = index;
    number.gap = std::max(number.gap, index - number.last - 1);
    number.last = index;
    if (previous >= 0) ++distances_[kDistanceTable[previous * kPockets + n]];
    previous = n;
    for (int f = 0; f < kRunFamilies; ++f) {
      RunState& run = runs[f];
      const int key = kRunKeyTable[f][n];
      run.trail = key == 0 ? 0 : (key == run.lastKey ? run.trail + 1 : 1);
      run.lastKey = key;
      run.longest[key] = std::max(run.longest[key], run.trail);
      if (run.trail == index + 1) run.lead = run.trail;  // still in the first run
    }
    ++index;
  }
  for (int f = 0; f < kRunFamilies; ++f) runs[f].firstKey = kRunKeyTable[f][firstSpin_];
  runs_ = runs;
  spins_ = index;
  lastSpin_ = previous;
}

void SpinAccumulator::Append(const SpinAccumulator& later) {
  if (later.spins_ == 0) return;
  if (spins_ == 0) {
    *this = later;
    return;
  }
  const std::int64_t offset = spins_;
  for (int n = 0; n < kPockets; ++n) {
    NumberState& a = numbers_[n];
    const NumberState& b = later.numbers_[n];
    if (b.count == 0) continue;
    // The stretch before b's first spin now starts after a's last one.
    a.gap = std::max({a.gap, b.gap, offset - a.last - 1 + b.first});
    if (a.count == 0) a.first = offset + b.first;
    a.last = offset + b.last;
    a.count += b.count;
  }
  for (int d = 0; d < kPockets; ++d) distances_[d] += later.distances_[d];
  ++distances_[kDistanceTable[lastSpin_ * kPockets + later.firstSpin_]];
  for (int f = 0; f < kRunFamilies; ++f) {
    RunState& a = runs_[f];
    const RunState& b = later.runs_[f];
    const bool joined = a.lastKey != 0 && a.lastKey == b.firstKey;
    for (int key = 1; key < kRunKeys; ++key)
      a.longest[key] = std::max(a.longest[key], b.longest[key]);
    if (joined) {
      const std::int64_t across = a.trail + b.lead;
      a.longest[a.lastKey] = std::max(a.longest[a.lastKey], across);
      if (a.lead == offset) a.lead = across;
    }
    a.trail = (joined && b.trail == later.spins_) ? a.trail + b.trail : b.trail;
    a.lastKey = b.lastKey;
  }
  spins_ += later.spins_;
  lastSpin_ = later.lastSpin_;
}

std::int64_t SpinAccumulator::SinceLast(int n) const {
  return numbers_[n].count == 0 ? spins_ : spins_ - 1 - numbers_[n].last;
}

std::int64_t SpinAccumulator::LongestAbsence(int n) const {
  return std::max(numbers_[n].gap, SinceLast(n));
}

}  // namespace vexilo::stats
