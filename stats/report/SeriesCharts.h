#pragma once

#include "stats/analysis/Analysis.h"
#include "stats/report/Markup.h"

namespace vexilo::stats {

// The anytime figures over the spins, each an <svg> with a title and a text alternative: a
// line through the points they were read at, on a scale of powers of ten, each log's end
// marked.

// The evidence against a fair wheel, with the line at 20 where the wheel is called biased and
// the point where it first got there.
void EvidencePicture(Markup& page, const Analysis& analysis);

// The bettor's bankroll, with the line at its start.
void BankrollPicture(Markup& page, const Analysis& analysis);

}  // namespace vexilo::stats
