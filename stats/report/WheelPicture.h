#pragma once

#include <string>

#include "stats/analysis/Analysis.h"
#include "stats/report/Markup.h"

namespace vexilo::stats {

// The diverging scale the wheel is filled on: purple below expectation, near-white at it,
// orange above, full at a z-score of 3 either way. "#rrggbb"; a missing z is the middle.
std::string DeviationColour(double z);

// The wheel as a ring of 37 pockets in wheel order, 0 at the top and clockwise, each filled by
// its z-score and carrying its number, the best arc marked, with the scale's legend below.
void WheelPicture(Markup& page, const Analysis& analysis);

}  // namespace vexilo::stats
