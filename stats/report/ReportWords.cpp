#include "stats/report/ReportWords.h"

#include <array>
#include <string_view>

#include "stats/report/TextFormat.h"

namespace vexilo::stats {
namespace {

struct Subject {
  std::string_view family;
  std::string_view words;  // of "... uneven: p = 0.003"
};

constexpr std::array<Subject, 9> kSubjects = {{
    {"number", "the numbers are"},
    {"colour", "red, black and zero are"},
    {"parity", "even, odd and zero are"},
    {"half", "the halves are"},
    {"dozen", "the dozens are"},
    {"column", "the columns are"},
    {"street", "the streets are"},
    {"sector", "the sectors are"},
    {"signature", "the distances from spin to spin are"},
}};

std::string_view SubjectOf(std::string_view family) {
  for (const Subject& s : kSubjects) {
    if (s.family == family) return s.words;
  }
  return "the counts are";
}

}  // namespace

std::string TestVerdict(const FitTest& test) {
  if (test.p_value != test.p_value) return "nothing to analyse";
  if (test.p_value >= kLevel) return "no sign of bias at the 5% level";
  return std::string(SubjectOf(test.family)) + " uneven: p = " + FormatP(test.p_value);
}

std::string VerdictWords(const Analysis& analysis) {
  if (analysis.spins == 0) return "nothing to analyse";
  return analysis.verdict.biased ? "the wheel looks biased" : "no sign the wheel is biased";
}

}  // namespace vexilo::stats
