#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "stats/analysis/Analysis.h"
#include "stats/analysis/SpinAccumulator.h"

namespace vexilo::stats {

// Below this expected count in any cell, the chi-square distribution is not trusted.
inline constexpr double kSmallExpected = 5;

// Whether the logs came from one wheel: Pearson's chi-square of the table of logs x numbers,
// leaving out the logs without spins and the numbers no log holds. Where an expected count is
// small the p-value is the share of `simulations` tables with the same margins (the pooled
// spins dealt out at random to logs of the same sizes) whose statistic reaches the observed
// one, the observed table counted among them; else it is the chi-square distribution's.
// None with fewer than two logs that hold spins.
std::optional<Homogeneity> LogsAgree(std::span<const NumberCounts> logs, int simulations,
                                     std::uint64_t seed);

}  // namespace vexilo::stats
