#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "stats/analysis/Analysis.h"
#include "stats/analysis/SpinAccumulator.h"

namespace vexilo::stats {

// Below this expected count in any cell, the chi-square distribution is not trusted (W. G.
// Cochran, 1954, "Some methods for strengthening the common chi-square tests", Biometrics 10).
inline constexpr double kSmallExpected = 5;

// Whether the logs came from one wheel: Pearson's chi-square test of homogeneity (Pearson,
// 1900; Fisher, 1922, for its degrees of freedom) of the table of logs x numbers,
// leaving out the logs without spins and the numbers no log holds. Where an expected count is
// small the p-value is the share of `simulations` tables with the same margins (the pooled
// spins dealt out at random to logs of the same sizes: the tables' distribution given their
// margins, which W. M. Patefield's AS 159, 1981, also draws) whose statistic reaches the
// observed one, the observed table counted among them (MonteCarloP); else it is the
// chi-square distribution's.
// None with fewer than two logs that hold spins.
std::optional<Homogeneity> LogsAgree(std::span<const NumberCounts> logs, int simulations,
                                     std::uint64_t seed);

}  // namespace vexilo::stats
