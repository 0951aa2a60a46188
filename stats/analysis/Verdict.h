#pragma once

#include "stats/analysis/Analyse.h"
#include "stats/analysis/Analysis.h"
#include "stats/analysis/SpinAccumulator.h"

namespace vexilo::stats {

// The figures that come from simulated wheels: the whole report's verdict (Westfall and Young's
// min-p, FairWheels.h), the best arc's p-value (its own look's p-value in the same simulation)
// and the power rows. With no spins
// the p-values and the power are NaN and the verdict is not "biased".
void AddVerdict(const SpinAccumulator& spins, const AnalysisOptions& options, Analysis& a);

}  // namespace vexilo::stats
