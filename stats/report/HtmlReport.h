#pragma once

#include <string>

#include "stats/analysis/Analysis.h"

namespace vexilo::stats {

// The analysis as one self-contained HTML page: inline style sheet and SVG pictures, no script,
// nothing fetched; readable on screen and printed. Log names are shown as text, never markup.
std::string HtmlReport(const Analysis& analysis);

}  // namespace vexilo::stats
