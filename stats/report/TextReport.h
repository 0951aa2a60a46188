#pragma once

#include <string>

#include "stats/analysis/Analysis.h"

namespace vexilo::stats {

// The analysis as text for a terminal of 100 columns.
std::string TextReport(const Analysis& analysis);

}  // namespace vexilo::stats
