#include "stats/analysis/Power.h"

#include <array>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/non_central_chi_squared.hpp>
#include <cmath>
#include <limits>

namespace vexilo::stats {
namespace {

constexpr std::array<double, 3> kExcesses = {0.10, 0.25, 0.50};
constexpr double kPower = 0.80;
constexpr int kDf = kPockets - 1;

// The non-centrality a pocket with this excess gives the test, per spin.
double NonCentralityPerSpin(double excess) {
  return excess * excess / kDf;
}

}  // namespace

std::vector<PowerFigures> PowerOf(std::int64_t spins) {
  namespace bm = boost::math;
  const double critical = bm::quantile(bm::complement(bm::chi_squared(kDf), kLevel));
  const double needed = bm::non_central_chi_squared::find_non_centrality(kDf, critical, 1 - kPower);
  std::vector<PowerFigures> rows;
  for (const double excess : kExcesses) {
    PowerFigures row;
    row.excess = excess;
    row.spins_needed = static_cast<std::int64_t>(std::ceil(needed / NonCentralityPerSpin(excess)));
    row.power_now = std::numeric_limits<double>::quiet_NaN();
    if (spins > 0) {
      const bm::non_central_chi_squared now(
          kDf, static_cast<double>(spins) * NonCentralityPerSpin(excess));
      row.power_now = bm::cdf(bm::complement(now, critical));
    }
    rows.push_back(row);
  }
  return rows;
}

}  // namespace vexilo::stats
