#include "stats/analysis/Arcs.h"

#include <cmath>
#include <limits>
#include <numeric>

namespace vexilo::stats {
namespace {

// Sums of the first k pockets going round the wheel twice, so that any arc is one difference.
std::array<std::int64_t, 2 * kPockets + 1> RoundSums(const WheelCounts& counts) {
  std::array<std::int64_t, 2 * kPockets + 1> sums{};
  for (int k = 0; k < 2 * kPockets; ++k) sums[k + 1] = sums[k] + counts[k % kPockets];
  return sums;
}

}  // namespace

ArcScan::ArcScan(std::int64_t spins) : spins_(spins) {
  const auto n = static_cast<double>(spins);
  for (int length = 1; length <= kLongestArc; ++length) {
    const double p = static_cast<double>(length) / kPockets;
    mean_[length - 1] = n * p;
    spread_[length - 1] = std::sqrt(n * p * (1 - p));
  }
}

std::array<BestArc, kLongestArc> ArcScan::Best(const WheelCounts& counts) const {
  const auto sums = RoundSums(counts);
  std::array<BestArc, kLongestArc> best{};
  for (int length = 1; length <= kLongestArc; ++length) {
    BestArc& arc = best[length - 1];
    arc.count = -1;
    for (int start = 0; start < kPockets; ++start) {
      const std::int64_t count = sums[start + length] - sums[start];
      if (count > arc.count) arc = {start, count, 0};
    }
    arc.z = (static_cast<double>(arc.count) - mean_[length - 1]) / spread_[length - 1];
  }
  return best;
}

double ArcScan::HighestZ(const WheelCounts& counts) const {
  const auto sums = RoundSums(counts);
  double highest = -std::numeric_limits<double>::infinity();
  for (int length = 1; length <= kLongestArc; ++length) {
    std::int64_t most = 0;
    for (int start = 0; start < kPockets; ++start) {
      most = std::max(most, sums[start + length] - sums[start]);
    }
    highest =
        std::max(highest, (static_cast<double>(most) - mean_[length - 1]) / spread_[length - 1]);
  }
  return highest;
}

}  // namespace vexilo::stats
