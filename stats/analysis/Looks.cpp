#include "stats/analysis/Looks.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "stats/analysis/Wheel.h"

namespace vexilo::stats {
namespace {

// A chi-square look ranks wheels by the sum over its cells of w * count^2, w = 36 / the cell's
// pockets (every cell of the board holds 1, 3, 9, 12, 18 or 36 of them): the statistic is
// 37 / (36 spins) times that sum, less the spins, so the order is the same. The sum is exact, so
// two wheels with the same counts in other cells tie exactly; a chi-square added up in floating
// point can differ in its last bit between them, and on a short log that broke the ties the
// p-values are made of.
constexpr int kCellWeight = 36;

struct LookCells {
  FamilyCells layout;
  std::array<std::int64_t, kMostCells> weights{};
};

constexpr LookCells WeightsOf(const FamilyCells& layout) {
  LookCells cells{layout, {}};
  std::array<int, kMostCells> pockets{};
  for (const std::int8_t cell : layout.cellOf) ++pockets[cell];
  for (int c = 0; c < layout.cells; ++c) cells.weights[c] = kCellWeight / pockets[c];
  return cells;
}

constexpr std::array<LookCells, kLookFamilies.size()> MakeLookCells() {
  std::array<LookCells, kLookFamilies.size()> cells{};
  for (std::size_t f = 0; f < kLookFamilies.size(); ++f) {
    cells[f] = WeightsOf(CellsOf(kLookFamilies[f]));
  }
  return cells;
}
constexpr auto kLookCells = MakeLookCells();

double WeightedSquares(std::span<const std::int64_t> counts,
                       std::span<const std::int64_t> weights) {
  std::int64_t sum = 0;
  for (std::size_t i = 0; i < counts.size(); ++i) sum += weights[i] * counts[i] * counts[i];
  return static_cast<double>(sum);
}

double Squares(std::span<const std::int64_t> counts) {
  std::int64_t sum = 0;
  for (const std::int64_t c : counts) sum += c * c;
  return static_cast<double>(sum);
}

constexpr int Slot(Look look) {
  return static_cast<int>(look);
}

}  // namespace

LookScorer::LookScorer(std::int64_t spins) : spins_(spins), arcs_(spins), tails_(spins) {}

LookScores LookScorer::Score(const WheelTally& wheel) const {
  LookScores s{};
  s[Slot(Look::Numbers)] = Squares(wheel.numbers);
  for (std::size_t f = 0; f < kLookCells.size(); ++f) {
    const LookCells& look = kLookCells[f];
    const auto cells = look.layout.Count(wheel.numbers);
    s[Slot(Look::Colour) + f] = WeightedSquares(std::span(cells).first(look.layout.cells),
                                                std::span(look.weights).first(look.layout.cells));
  }
  const std::array<std::int64_t, 2> zero = {wheel.numbers[0], spins_ - wheel.numbers[0]};
  static constexpr std::array<std::int64_t, 2> kZeroWeights = {kCellWeight, 1};
  s[Slot(Look::Zero)] = WeightedSquares(zero, kZeroWeights);
  // The smallest two-sided p-value of the 37 numbers is that of the fewest or the most spins.
  const auto [fewest, most] = std::minmax_element(wheel.numbers.begin(), wheel.numbers.end());
  s[Slot(Look::HotOrCold)] = -std::min(tails_.TwoSided(*fewest), tails_.TwoSided(*most));
  s[Slot(Look::Arc)] = arcs_.HighestZ(InWheelOrder(wheel.numbers));
  // One spin has no distance: the look is then the same for every wheel and never decides.
  s[Slot(Look::Signature)] = spins_ > 1 ? Squares(wheel.distances) : 0.0;
  return s;
}

}  // namespace vexilo::stats
