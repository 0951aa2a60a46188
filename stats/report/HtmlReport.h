#pragma once

#include <string>
#include <string_view>

#include "stats/analysis/Analysis.h"

namespace vexilo::stats {

// The analysis as one self-contained HTML page: inline style sheet and SVG pictures, no script,
// nothing fetched; readable on screen and printed. Log names are shown as text, never markup.
std::string HtmlReport(const Analysis& analysis);

// The start of the page's generator tag, which names the program: how vexilo-stats knows a page
// it wrote before, which it may replace, from any other file, which it must not.
inline constexpr std::string_view kPageMark = R"(<meta name="generator" content="vexilo-stats)";

}  // namespace vexilo::stats
