#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <span>

#include "engine/PocketTable.h"
#include "stats/analysis/SpinAccumulator.h"
#include "stats/analysis/Wheel.h"

namespace vexilo::stats {

// The points at which the evidence is read and the bettor sets its stakes: spin 10, then each
// point a twentieth after the one before (rounded down), and never less than 10 spins after
// it: 10, 20, ..., 200, 210, 220, 231, ..., 150 points up to 100000 and 240 up to 10^7. A point
// depends on its place in the record alone, never on the record's length, so spins added
// later leave every earlier point, and what was found there, as it was.
inline constexpr std::int64_t kFirstPoint = 10;
inline constexpr std::int64_t kScheduleStep = 20;

constexpr std::int64_t NextPoint(std::int64_t point) {
  return point + std::max(kFirstPoint, point / kScheduleStep);
}

// The spins up to a point: how often each number came up, and how often the next spin landed
// each distance further round the wheel.
struct RunningCounts {
  std::int64_t spins = 0;
  NumberCounts numbers{};
  NumberCounts distances{};
  int lastPlace = -1;  // the last spin's place in wheel order; -1 before the first

  void Add(int number) {
    const int place = kWheelPlace[number];
    ++numbers[number];
    if (lastPlace >= 0) {
      const int step = place - lastPlace;
      ++distances[step < 0 ? step + kPockets : step];
    }
    lastPlace = place;
    ++spins;
  }
  // The same for a stretch of spins. Each spin after the first is counted once, as a pair
  // with the one before it, and the pairs give the numbers and the distances at the end: one
  // count a spin in a table that stays in the cache.
  void Add(std::span<const std::uint8_t> stretch) {
    if (stretch.empty()) return;
    std::size_t i = 0;
    if (lastPlace < 0) Add(stretch[i++]);
    std::array<std::uint32_t, kPockets * kPockets> pairs{};
    int last = kWheelOrder[lastPlace];
    for (const std::uint8_t number : stretch.subspan(i)) {
      ++pairs[last * kPockets + number];
      last = number;
    }
    for (int from = 0; from < kPockets; ++from) {
      for (int to = 0; to < kPockets; ++to) {
        const std::uint32_t count = pairs[from * kPockets + to];
        numbers[to] += count;
        distances[WheelDistance(from, to)] += count;
      }
    }
    spins += static_cast<std::int64_t>(stretch.size() - i);
    lastPlace = kWheelPlace[last];
  }
};

// Counts of the arcs of one length starting at each of the 37 places round the wheel (or at
// each of the 37 distances), an arc wrapping round.
inline std::array<std::int64_t, kPockets> ArcCounts(const NumberCounts& inOrder, int length) {
  std::array<std::int64_t, kPockets> counts{};
  std::int64_t running = 0;
  for (int k = 0; k < length; ++k) running += inOrder[k];
  for (int start = 0; start < kPockets; ++start) {
    counts[start] = running;
    running += inOrder[(start + length) % kPockets] - inOrder[start];
  }
  return counts;
}

// A figure from its logarithm, held within 1e±300 where a double still has room to spare.
inline double HeldExp(double log) {
  constexpr double kLogBound = 690.77552789821368;  // ln 1e300
  return std::exp(std::clamp(log, -kLogBound, kLogBound));
}

// Walks the spins in order and calls visit(counts, scheduled) at every point of the schedule
// (scheduled true) and at every spin count in `ends`, ascending (the logs' ends, scheduled
// false unless the schedule has it too); once at a point that is both.
template <typename Visit>
void WalkSchedule(std::span<const std::uint8_t> spins, std::span<const std::int64_t> ends,
                  Visit visit) {
  const auto total = static_cast<std::int64_t>(spins.size());
  RunningCounts counts;
  std::int64_t next = kFirstPoint;
  std::size_t end = 0;
  for (;;) {
    while (end < ends.size() && ends[end] <= counts.spins) ++end;
    const std::int64_t point = std::min(next, end < ends.size() ? ends[end] : total + 1);
    if (point > total) return;
    counts.Add(spins.subspan(static_cast<std::size_t>(counts.spins),
                             static_cast<std::size_t>(point - counts.spins)));
    const bool scheduled = point == next;
    visit(static_cast<const RunningCounts&>(counts), scheduled);
    if (scheduled) next = NextPoint(next);
  }
}

}  // namespace vexilo::stats
