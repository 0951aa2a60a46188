#pragma once

#include <array>
#include <cstdint>

#include "engine/PocketTable.h"
#include "stats/analysis/Analysis.h"

namespace vexilo::stats {

// Counts of the pockets in wheel order (kWheelOrder).
using WheelCounts = std::array<std::int64_t, kPockets>;

struct BestArc {
  int start = 0;  // place in wheel order of its first pocket
  std::int64_t count = 0;
  double z = 0;
};

// Arcs of neighbouring pockets against a fair wheel with the same number of spins: the most
// often hit arc of each length is a scan statistic on the circle of the wheel (J. I. Naus, 1965,
// "The distribution of the size of the maximum cluster of points on a line", JASA 60), judged
// against simulated fair wheels rather than its distribution.
class ArcScan {
 public:
  explicit ArcScan(std::int64_t spins);

  // For each length 1..18 the arc that came up most often, the first from 0 on a tie.
  std::array<BestArc, kLongestArc> Best(const WheelCounts& counts) const;
  // The highest z of any arc of any length.
  double HighestZ(const WheelCounts& counts) const;

 private:
  std::int64_t spins_;
  std::array<double, kLongestArc> mean_{};
  std::array<double, kLongestArc> spread_{};
};

}  // namespace vexilo::stats
