#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "stats/analysis/Analysis.h"
#include "stats/analysis/FairWheels.h"
#include "stats/analysis/Looks.h"

namespace vexilo::stats {

// A biased wheel the power rows describe, the spins at which the one-reading verdict calls it
// biased 80 times in 100, and the spins by which the evidence has reached 20 80 times in 100.
// Neither depends on the logs: `stats_power_table` and `stats_evidence_table` (bench/stats)
// measure them once and print this table's columns.
struct BiasRow {
  BiasKind kind;
  int pockets;
  double excess;
  std::int64_t spins_needed;
  std::int64_t anytime_spins;
};

inline constexpr double kPower = 0.80;
// Biased wheels simulated per row for the power with the spins analysed.
inline constexpr int kBiasedWheels = 1000;

// stats_power_table --seed 20240901: 10000 fair and 4000 biased wheels at each step; the last
// column from stats_evidence_table --records 1000 --seed 20240901.
inline constexpr std::array<BiasRow, 6> kBiasRows = {{
    {BiasKind::Number, 1, 0.10, 75901, 93770},
    {BiasKind::Number, 1, 0.25, 12916, 15427},
    {BiasKind::Number, 1, 0.50, 3389, 3942},
    {BiasKind::Arc, 5, 0.10, 13635, 17857},
    {BiasKind::Arc, 5, 0.25, 2287, 2804},
    {BiasKind::Signature, 5, 0.25, 3944, 3091},
}};

// The chances of the pockets, in wheel order, of a wheel whose `row.pockets` neighbouring
// pockets from place `start` come up `row.excess` more often, the others evenly less; for a
// dealer's signature, the chances of the distances 0..36 from one spin to the next.
std::array<double, kPockets> BiasedChances(const BiasRow& row, int start);

// The chance, for each row, that the verdict held against `fair` calls a wheel of `row`'s bias
// with `wheels` simulated wheels of the scorer's spins. Each wheel's biased pockets are placed
// anywhere on the wheel, with equal chance. Streams from `seed`.
std::vector<double> SimulatedPower(std::span<const BiasRow> rows, const LookScorer& scorer,
                                   const FairWheels& fair, int wheels, std::uint64_t seed);

// The rows of the report: the table's spins needed, and the power with the scorer's spins.
std::vector<PowerFigures> PowerOf(const LookScorer& scorer, const FairWheels& fair,
                                  std::uint64_t seed);

}  // namespace vexilo::stats
