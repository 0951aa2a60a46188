#pragma once

#include <cstdint>
#include <vector>

#include "stats/analysis/Analysis.h"

namespace vexilo::stats {

// How many spins the 37-number chi-square test needs to see one pocket that comes up 10%, 25%
// and 50% more often (the others evenly less), at the 5% level with 80% power, and its power
// with `spins`. The test's statistic then follows a non-central chi-square with 36 degrees of
// freedom and non-centrality spins * excess^2 / 36.
std::vector<PowerFigures> PowerOf(std::int64_t spins);

}  // namespace vexilo::stats
