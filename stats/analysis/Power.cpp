#include "stats/analysis/Power.h"

#include <algorithm>

#include "stats/analysis/Workers.h"

namespace vexilo::stats {

std::array<double, kPockets> BiasedChances(const BiasRow& row, int start) {
  const double hot = (1 + row.excess) / kPockets;
  const double other = (1 - row.pockets * hot) / (kPockets - row.pockets);
  std::array<double, kPockets> chances{};
  chances.fill(other);
  for (int k = 0; k < row.pockets; ++k) chances[(start + k) % kPockets] = hot;
  return chances;
}

std::vector<double> SimulatedPower(std::span<const BiasRow> rows, const LookScorer& scorer,
                                   const FairWheels& fair, int wheels, std::uint64_t seed) {
  const auto rowCount = static_cast<int>(rows.size());
  std::vector<LookScores> scored(static_cast<std::size_t>(rowCount) * wheels);
  RunOnWorkers(rowCount * kStreams, [&](int task) {
    const int row = task / kStreams;
    const int stream = task % kStreams;
    Random random = StreamOf(seed, StreamUse::BiasedWheels, task);
    WheelTally wheel;
    const int first = wheels * stream / kStreams;
    const int last = wheels * (stream + 1) / kStreams;
    for (int w = first; w < last; ++w) {
      const auto chances = BiasedChances(rows[row], random.Below(kPockets));
      if (rows[row].kind == BiasKind::Signature) {
        DrawDealer(random, scorer.Spins(), chances, wheel);
      } else {
        DrawWheel(random, scorer.Spins(), chances, wheel);
      }
      scored[static_cast<std::size_t>(row) * wheels + w] = scorer.Score(wheel);
    }
  });
  std::vector<double> power(rowCount, 0.0);
  for (int row = 0; row < rowCount; ++row) {
    int caught = 0;
    for (int w = 0; w < wheels; ++w) {
      if (IsSignificant(fair.PValueOf(scored[static_cast<std::size_t>(row) * wheels + w]))) {
        ++caught;
      }
    }
    power[row] = static_cast<double>(caught) / wheels;
  }
  return power;
}

std::vector<PowerFigures> PowerOf(const LookScorer& scorer, const FairWheels& fair,
                                  std::uint64_t seed) {
  const std::vector<double> now = SimulatedPower(kBiasRows, scorer, fair, kBiasedWheels, seed);
  std::vector<PowerFigures> figures;
  for (std::size_t i = 0; i < kBiasRows.size(); ++i) {
    const BiasRow& row = kBiasRows[i];
    figures.push_back(
        {row.kind, row.pockets, row.excess, row.spins_needed, now[i], row.anytime_spins});
  }
  return figures;
}

}  // namespace vexilo::stats
