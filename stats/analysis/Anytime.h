#pragma once

#include "stats/analysis/Analysis.h"
#include "stats/analysis/SpinAccumulator.h"

namespace vexilo::stats {

// The verdict that holds however often the record is read: the evidence against a fair wheel
// and the bettor who never looked ahead, over the analysed spins in order, in one walk that
// reads both at every point of the schedule and at each log's end (when the logs' analysed
// spins add up to the record's).
void AddAnytime(const SpinAccumulator& spins, Analysis& analysis);

}  // namespace vexilo::stats
