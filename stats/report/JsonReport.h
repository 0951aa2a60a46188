#pragma once

#include <string>

#include "stats/analysis/Analysis.h"

namespace vexilo::stats {

// The analysis as one JSON object; figures that need spins are null when there are none.
std::string JsonReport(const Analysis& analysis);

}  // namespace vexilo::stats
