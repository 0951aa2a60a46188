#include "stats/analysis/Statistics.h"

#include <algorithm>
#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <cmath>
#include <limits>
#include <numeric>

#include "engine/PocketTable.h"

namespace vexilo::stats {

namespace bm = boost::math;

double ZScore(std::int64_t count, std::int64_t trials, double p) {
  if (trials == 0) return std::numeric_limits<double>::quiet_NaN();
  const auto n = static_cast<double>(trials);
  return (static_cast<double>(count) - n * p) / std::sqrt(n * p * (1 - p));
}

double PearsonStatistic(std::span<const std::int64_t> observed, std::span<const double> expected) {
  double sum = 0;
  for (std::size_t i = 0; i < observed.size(); ++i) {
    const double d = static_cast<double>(observed[i]) - expected[i];
    sum += d * d / expected[i];
  }
  return sum;
}

double ChiSquareP(double statistic, int df) {
  return bm::cdf(bm::complement(bm::chi_squared(df), statistic));
}

double TwoSidedBinomialP(std::int64_t spins, std::int64_t count) {
  const bm::binomial fair(static_cast<double>(spins), 1.0 / kPockets);
  const double low = bm::cdf(fair, static_cast<double>(count));
  const double high = count == 0 ? 1.0 : bm::cdf(bm::complement(fair, count - 1.0));
  return std::min(1.0, 2 * std::min(low, high));
}

double UpperBinomialP(std::int64_t trials, std::int64_t hits, double p) {
  if (hits == 0) return 1.0;
  return bm::cdf(bm::complement(bm::binomial(static_cast<double>(trials), p), hits - 1.0));
}

std::array<double, 2> ClopperPearson(std::int64_t trials, std::int64_t hits, double confidence) {
  const auto n = static_cast<double>(trials);
  const auto k = static_cast<double>(hits);
  const double tail = (1 - confidence) / 2;
  return {bm::binomial::find_lower_bound_on_p(n, k, tail),
          bm::binomial::find_upper_bound_on_p(n, k, tail)};
}

std::vector<double> HolmAdjusted(std::span<const double> p) {
  std::vector<std::size_t> order(p.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t x, std::size_t y) { return p[x] < p[y]; });
  std::vector<double> adjusted(p.size());
  double running = 0;
  for (std::size_t rank = 0; rank < order.size(); ++rank) {
    const auto tests = static_cast<double>(order.size() - rank);
    running = std::max(running, std::min(1.0, tests * p[order[rank]]));
    adjusted[order[rank]] = running;
  }
  return adjusted;
}

double MonteCarloP(std::int64_t reached, std::int64_t simulations) {
  return (static_cast<double>(reached) + 1) / (static_cast<double>(simulations) + 1);
}

}  // namespace vexilo::stats
