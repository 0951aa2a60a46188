#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "engine/PocketTable.h"

namespace vexilo::stats {

// The families whose runs the report follows: a run is a stretch of spins with the same
// non-zero key, and 0 (key 0 in every family) breaks every run.
enum RunFamily : std::int8_t { rfColour, rfParity, rfDozen, rfColumn };
inline constexpr int kRunFamilies = 4;
inline constexpr int kRunKeys = 4;  // key 0 breaks; 1..3 name the group

// Key of number n's group in each run family: colour 1 red, 2 black; parity 1 even, 2 odd;
// dozen and column 1..3.
int RunKey(RunFamily family, int n);

// Everything the analysis needs from a stretch of spins, gathered in one pass and small
// enough to copy. Stretches read apart (one file per thread) are joined in their order by
// Append, exactly as if the spins had been added one after another.
class SpinAccumulator {
 public:
  SpinAccumulator();

  // Adds spins, oldest first; each is a number 0..36.
  void Add(std::span<const std::uint8_t> spins);
  // Joins a stretch that came straight after this one.
  void Append(const SpinAccumulator& later);

  std::int64_t Spins() const { return spins_; }
  std::int64_t Count(int n) const { return numbers_[n].count; }
  // Spins after the last spin of n; all spins when it never came up.
  std::int64_t SinceLast(int n) const;
  // The longest run of spins without n, the stretches before its first and after its last
  // spin included.
  std::int64_t LongestAbsence(int n) const;
  // How often the next spin landed d pockets further round the wheel, d = 0..36.
  const std::array<std::int64_t, kPockets>& Distances() const { return distances_; }
  std::int64_t LongestRun(RunFamily family, int key) const { return runs_[family].longest[key]; }
  // The run the last spin belongs to: its key (0 when none) and length.
  int CurrentKey(RunFamily family) const { return runs_[family].lastKey; }
  std::int64_t CurrentRun(RunFamily family) const { return runs_[family].trail; }

 private:
  struct NumberState {
    std::int64_t count = 0;
    std::int64_t first = -1;  // index of its first and last spin, -1 when none
    std::int64_t last = -1;
    std::int64_t gap = 0;  // longest stretch without it before one of its spins
  };
  struct RunState {
    int firstKey = 0;
    int lastKey = 0;
    std::int64_t lead = 0;   // length of the run at the start
    std::int64_t trail = 0;  // length of the run at the end
    std::array<std::int64_t, kRunKeys> longest{};
  };

  std::int64_t spins_ = 0;
  int firstSpin_ = -1;
  int lastSpin_ = -1;
  std::array<NumberState, kPockets> numbers_{};
  std::array<std::int64_t, kPockets> distances_{};
  std::array<RunState, kRunFamilies> runs_{};
};

}  // namespace vexilo::stats
