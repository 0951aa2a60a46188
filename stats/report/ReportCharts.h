#pragma once

#include "stats/analysis/Analysis.h"
#include "stats/report/Markup.h"

namespace vexilo::stats {

// The pictures of the HTML report besides the wheel. Each is an <svg> with a title and a text
// alternative; the same figures are in the page's tables.

// The 37 counts as bars on their pockets' colours, the count a fair wheel gives each as a
// dashed line and the range 95% of fair wheels' counts fall in shaded.
void CountsPicture(Markup& page, const Analysis& analysis);

// Spins since each number last came up, in front of its longest absence, with the absence a
// fair wheel reaches for one given number only 1 time in 20.
void SleepersPicture(Markup& page, const Analysis& analysis);

// Every group's share against the share a fair wheel gives it, family by family.
void GroupsPicture(Markup& page, const Analysis& analysis);

// The dealer's signature: how many spins came that many pockets after the one before, with
// the fair wheel's line and band.
void SignaturePicture(Markup& page, const Analysis& analysis);

}  // namespace vexilo::stats
