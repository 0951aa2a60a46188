#include "stats/analysis/Looks.h"

#include <algorithm>
#include <boost/math/distributions/binomial.hpp>
#include <cmath>
#include <vector>

#include "stats/analysis/Wheel.h"

namespace vexilo::stats {
namespace {

constexpr std::array<FamilyCells, kLookFamilies.size()> MakeLookCells() {
  std::array<FamilyCells, kLookFamilies.size()> cells{};
  for (std::size_t f = 0; f < kLookFamilies.size(); ++f) cells[f] = CellsOf(kLookFamilies[f]);
  return cells;
}
constexpr auto kLookCells = MakeLookCells();

constexpr int Slot(Look look) {
  return static_cast<int>(look);
}

}  // namespace

double PearsonStatistic(std::span<const std::int64_t> observed, std::span<const double> shares,
                        std::int64_t spins) {
  const auto n = static_cast<double>(spins);
  double sum = 0;
  for (std::size_t i = 0; i < observed.size(); ++i) {
    const double expected = n * shares[i];
    const double d = static_cast<double>(observed[i]) - expected;
    sum += d * d / expected;
  }
  return sum;
}

double TwoSidedBinomialP(std::int64_t spins, std::int64_t count) {
  namespace bm = boost::math;
  const bm::binomial fair(static_cast<double>(spins), 1.0 / kPockets);
  const double low = bm::cdf(fair, static_cast<double>(count));
  const double high = count == 0 ? 1.0 : bm::cdf(bm::complement(fair, count - 1.0));
  return std::min(1.0, 2 * std::min(low, high));
}

LookScorer::LookScorer(std::int64_t spins) : spins_(spins), arcs_(spins), tails_(spins) {}

LookScores LookScorer::Score(const WheelTally& wheel) const {
  LookScores s{};
  static constexpr std::array<double, kPockets> kFair = [] {
    std::array<double, kPockets> shares{};
    shares.fill(1.0 / kPockets);
    return shares;
  }();
  s[Slot(Look::Numbers)] = PearsonStatistic(wheel.numbers, kFair, spins_);
  for (std::size_t f = 0; f < kLookCells.size(); ++f) {
    const FamilyCells& layout = kLookCells[f];
    const auto cells = layout.Count(wheel.numbers);
    s[Slot(Look::Colour) + f] = PearsonStatistic(
        std::span(cells).first(layout.cells), std::span(layout.shares).first(layout.cells), spins_);
  }
  const std::array<std::int64_t, 2> zero = {wheel.numbers[0], spins_ - wheel.numbers[0]};
  s[Slot(Look::Zero)] = PearsonStatistic(zero, kZeroShares, spins_);
  // The smallest two-sided p-value of the 37 numbers is that of the fewest or the most spins.
  const auto [fewest, most] = std::minmax_element(wheel.numbers.begin(), wheel.numbers.end());
  s[Slot(Look::HotOrCold)] = -std::min(tails_.TwoSided(*fewest), tails_.TwoSided(*most));
  WheelCounts round{};
  for (int place = 0; place < kPockets; ++place) round[place] = wheel.numbers[kWheelOrder[place]];
  s[Slot(Look::Arc)] = arcs_.HighestZ(round);
  // One spin has no distance: the look is then the same for every wheel and never decides.
  s[Slot(Look::Signature)] =
      spins_ > 1 ? PearsonStatistic(wheel.distances, kFair, spins_ - 1) : 0.0;
  return s;
}

}  // namespace vexilo::stats
