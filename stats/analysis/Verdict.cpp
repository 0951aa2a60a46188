#include "stats/analysis/Verdict.h"

#include <limits>

#include "stats/analysis/FairWheels.h"
#include "stats/analysis/Looks.h"
#include "stats/analysis/Power.h"

namespace vexilo::stats {

void AddVerdict(const SpinAccumulator& spins, const AnalysisOptions& options, Analysis& a) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  a.verdict = {kNaN, false, Look::Numbers, kNaN};
  a.arc_p_value = kNaN;
  a.power.clear();
  for (const BiasRow& row : kBiasRows) {
    a.power.push_back({row.kind, row.pockets, row.excess, row.spins_needed, kNaN});
  }
  if (spins.Spins() == 0 || options.simulations <= 0) return;
  const WheelTally observed{spins.Counts(), spins.Distances()};
  const LookScorer scorer(spins.Spins());
  const FairWheels fair(scorer, observed, options.simulations, options.seed);
  a.verdict = fair.TheVerdict();
  a.arc_p_value = fair.MarginalP(Look::Arc);
  a.power = PowerOf(scorer, fair, options.seed);
}

}  // namespace vexilo::stats
