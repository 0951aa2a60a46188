#pragma once

#include <string>

#include "stats/analysis/Analysis.h"

namespace vexilo::stats {

// Every sentence the reports say, written once: the text report, the page and the JSON
// object's words take them from here.

// A goodness-of-fit test in words: "no sign of bias at the 5% level", "the dozens are uneven:
// p = 0.003".
std::string TestVerdict(const FitTest& test);

// The whole report's answer in plain words and what to do next: the first lines of the text
// and the page, and the JSON object's verdict.words.
std::string VerdictWords(const Analysis& analysis);

}  // namespace vexilo::stats
