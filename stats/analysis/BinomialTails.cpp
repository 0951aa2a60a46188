#include "stats/analysis/BinomialTails.h"

#include <algorithm>
#include <boost/math/distributions/binomial.hpp>
#include <cmath>

#include "engine/PocketTable.h"

namespace vexilo::stats {
namespace {

// Far below the smallest tail worth telling apart from 0.
constexpr double kNegligible = 1e-320;

}  // namespace

BinomialTails::BinomialTails(std::int64_t spins) {
  namespace bm = boost::math;
  constexpr double p = 1.0 / kPockets;
  constexpr double odds = p / (1 - p);
  const auto n = static_cast<double>(spins);
  const auto mode = static_cast<std::int64_t>(std::floor((n + 1) * p));
  // Probabilities of the counts from the mode down, then up, while they are not negligible
  // beside the smallest tail a double holds.
  std::vector<double> down{bm::pdf(bm::binomial(n, p), static_cast<double>(mode))};
  for (std::int64_t k = mode; k > 0 && down.back() > kNegligible; --k) {
    down.push_back(down.back() * static_cast<double>(k) /
                   ((n - static_cast<double>(k) + 1) * odds));
  }
  std::vector<double> up{down.front()};
  for (std::int64_t k = mode; k < spins && up.back() > kNegligible; ++k) {
    up.push_back(up.back() * (n - static_cast<double>(k)) * odds / static_cast<double>(k + 1));
  }
  first_ = mode - static_cast<std::int64_t>(down.size()) + 1;
  std::vector<double> chance(down.rbegin(), down.rend());
  chance.insert(chance.end(), up.begin() + 1, up.end());
  lower_.resize(chance.size());
  upper_.resize(chance.size());
  double sum = 0;
  for (std::size_t i = 0; i < chance.size(); ++i) lower_[i] = sum += chance[i];
  sum = 0;
  for (std::size_t i = chance.size(); i-- > 0;) upper_[i] = sum += chance[i];
}

double BinomialTails::TwoSided(std::int64_t count) const {
  const std::int64_t i = count - first_;
  if (i < 0 || i >= static_cast<std::int64_t>(lower_.size())) return 0;
  return std::min(1.0, 2 * std::min(lower_[i], upper_[i]));
}

}  // namespace vexilo::stats
