#pragma once

#include <cstdint>

#include "stats/analysis/Analysis.h"
#include "stats/analysis/SpinAccumulator.h"

namespace vexilo::stats {

// The fewest later spins a check on them can say anything with: 5 a pocket, so that a fair
// wheel gives even a single number 5 of them.
inline constexpr std::int64_t kEnoughLaterSpins = 5 * kPockets;

// A straight-up bet that wins pays 35 to 1: 36 back for the 1 staked.
inline constexpr double kStraightUpPays = 36;

// Chooses the candidates (the hottest number, the best arc of each length 2..18, the hottest
// street and sector) on the first (1 - fraction) of the spins and tests each on the rest alone:
// data splitting (D. R. Cox, 1975, "A note on data-splitting for the evaluation of significance
// levels", Biometrika 62), each candidate by its exact one-sided binomial p-value, the family by
// Holm's step-down, the shares by Clopper-Pearson intervals (Statistics.h).
// A fraction of 0, or a split that leaves either part empty, gives no candidates.
Holdout CheckLaterSpins(const SpinAccumulator& spins, double fraction);

}  // namespace vexilo::stats
