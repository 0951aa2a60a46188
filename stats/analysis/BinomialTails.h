#pragma once

#include <cstdint>
#include <vector>

namespace vexilo::stats {

// The exact two-sided binomial p-value of every count of one number in `spins` spins, as a
// table: the probabilities of the counts walked out from the most likely one until they
// vanish, and their tails summed from the far ends in. Agrees with TwoSidedBinomialP to about
// 1e-12 of its value, and costs a look-up instead of an incomplete beta function.
class BinomialTails {
 public:
  explicit BinomialTails(std::int64_t spins);
  double TwoSided(std::int64_t count) const;

 private:
  std::int64_t first_ = 0;     // the count of lower_[0] and upper_[0]
  std::vector<double> lower_;  // P(X <= first_ + i)
  std::vector<double> upper_;  // P(X >= first_ + i)
};

}  // namespace vexilo::stats
