#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "engine/PocketTable.h"
#include "stats/analysis/SpinRecord.h"

namespace vexilo::stats {

// The runs the report follows. A run is a stretch of spins with the same non-zero key: red,
// black, even and odd have one key (1), the dozen and column runs the group's number (1..3);
// 0 has key 0 in every kind and so breaks every run.
enum class StreakKind : std::int8_t { Red, Black, Even, Odd, Dozen, Column };
inline constexpr int kStreakKinds = 6;
constexpr int Index(StreakKind kind) {
  return static_cast<int>(kind);
}

// How often each number came up in a stretch of spins.
using NumberCounts = std::array<std::int64_t, kPockets>;
NumberCounts CountNumbers(std::span<const std::uint8_t> spins);

// Everything the analysis needs from a stretch of spins, gathered in one pass, and the spins
// themselves (one byte each), so that the analysis can test earlier spins against later ones
// and the logs against each other. Stretches read apart (one file per thread) are joined in
// their order by Append, exactly as if the spins had been added one after another.
class SpinAccumulator {
 public:
  SpinAccumulator();

  // Adds spins, oldest first; each is a number 0..36.
  void Add(std::span<const std::uint8_t> spins);
  // Joins a stretch that came straight after this one.
  void Append(const SpinAccumulator& later);
  // The same, taking the later stretch's spins instead of copying them where it can.
  void Append(SpinAccumulator&& later);

  std::int64_t Spins() const { return spins_; }
  // The spins, oldest first.
  std::span<const std::uint8_t> Record() const { return record_.View(); }
  std::int64_t Count(int n) const { return count_[n]; }
  const NumberCounts& Counts() const { return count_; }
  // Spins after the last spin of n; all spins when it never came up.
  std::int64_t SinceLast(int n) const;
  // The longest run of spins without n, the stretches before its first and after its last
  // spin included.
  std::int64_t LongestAbsence(int n) const;
  // How often the next spin landed d pockets further round the wheel, d = 0..36.
  const std::array<std::int64_t, kPockets>& Distances() const { return distances_; }
  std::int64_t LongestRun(StreakKind kind) const { return runs_[Index(kind)].longest; }
  // The length of the run the last spin belongs to, 0 when it is in none.
  std::int64_t CurrentRun(StreakKind kind) const { return runs_[Index(kind)].trail; }

 private:
  struct RunState {
    int firstKey = 0;
    int lastKey = 0;
    bool leadOpen = true;    // no run has ended yet
    std::int64_t lead = 0;   // length of the run at the start
    std::int64_t trail = 0;  // length of the run at the end
    std::int64_t longest = 0;
  };

  void AddFirstSpins(std::span<const std::uint8_t> spins);
  void AddNumbers(std::span<const std::uint8_t> spins);
  void AddDistances(std::span<const std::uint8_t> spins);
  void AddLeads(std::span<const std::uint8_t> spins);
  void AddColourAndParityRuns(std::span<const std::uint8_t> spins);
  void AddGroupRuns(std::span<const std::uint8_t> spins);

  std::int64_t spins_ = 0;
  int firstSpin_ = -1;
  int lastSpin_ = -1;
  int unseen_ = kPockets;  // numbers not come up yet
  // Per number: spins, index of the first and last spin (-1 when none), and the longest
  // stretch without it that ended in one of its spins.
  NumberCounts count_{};
  std::array<std::int64_t, kPockets> first_{};
  std::array<std::int64_t, kPockets> last_{};
  std::array<std::int64_t, kPockets> gap_{};
  std::array<std::int64_t, kPockets> distances_{};
  std::array<RunState, kStreakKinds> runs_{};
  SpinRecord record_;
};

}  // namespace vexilo::stats
