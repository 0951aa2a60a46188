#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "stats/analysis/Analysis.h"

namespace vexilo::stats {

// Every sentence the reports say, written once: the text report, the page and the JSON
// object's words take them from here. The level is spelt from kLevel alone.

std::string LevelPercent();       // "5%"
std::string LevelOfFair();        // "95 of 100"
std::string LevelOneIn();         // "1 time in 20"
std::string ConfidencePercent();  // "95%", of every interval

// The parts of both reports after the answer, in their order: the page's section and its
// heading, the text's heading (the two joined by a colon), and what the part shows.
enum class Part : std::int8_t {
  LaterSpins,
  Logs,
  Details,
  Fit,
  Numbers,
  Groups,
  Arcs,
  Signature,
  Streaks,
  Power
};
struct PartWords {
  std::string_view id;       // of the page's section
  std::string_view heading;  // "Goodness of fit"
  std::string_view about;    // "chi-square against a fair wheel, zero a cell of its own"
};
const PartWords& WordsOf(Part part);
// The text's heading: "Goodness of fit: chi-square against a fair wheel, zero a cell of its own".
std::string HeadingOf(Part part);
// What the details are: each test at the level on its own, the verdict over them all.
std::string DetailsWords();

// "1 spin", "2000 spins".
std::string SpinsWords(std::int64_t spins);

// A p-value after "p": "p = 0.046", "p < 1e-300".
std::string PWords(double p);
// A p-value from `simulations` fair wheels, the observed one among them: where none of them
// reached the observed value, the floor 1/(S+1) is no estimate, so it says so:
// "p < 0.0001 (none of 10000 fair wheels)".
std::string SimulatedPWords(double p, int simulations);
// The same as a table cell: "0.0023", "< 0.0001".
std::string SimulatedPCell(double p, int simulations);

// The first line of either report: how many spins from how many logs; or why there is
// nothing to analyse ("0 of 3000 spins analysed (--last 0)").
std::string SpinsLead(const Analysis& analysis);

// A goodness-of-fit test in words, naming the cell that drives it: "no sign of bias at the 5%
// level", "the dozens are uneven, driven by zero: z +2.47", "zero comes up too often: z +2.47".
std::string TestVerdict(const FitTest& test);

// One look of the whole-report verdict: "the best arc", "the dealer's signature".
std::string_view LookWords(Look look);

// The whole report's answer in plain words and what to do next: the first lines of the text
// and the page, and the JSON object's verdict.words.
std::string VerdictWords(const Analysis& analysis);
// How the answer was reached: its p-value over every look together and the look closest to
// an alarm.
std::string VerdictDetail(const Analysis& analysis);

// The check on later spins: what was chosen where, or why there is none.
std::string HoldoutWords(const Analysis& analysis);
// "the number 17", "the arc 2 25 17 34 6", "the street 1-2-3", "the sector 32 15 19 4 21 2 25 17
// 34".
std::string CandidateName(const Candidate& candidate);
// Whether the answer tells the edge of betting on the candidate at `index` in words: the
// hottest number, the best arc and the one that held up best.
bool Explains(const Holdout& holdout, std::size_t index);
// Whether the answer shows it in its table: those, and the hottest street and sector. Every
// candidate is among the details.
bool Leads(const Holdout& holdout, std::size_t index);
// The heading of the table of every candidate, among the details.
std::string_view EveryCandidateWords();
// "held up" or "did not hold up", with its Holm-adjusted p-value.
std::string HeldUpWords(const Candidate& candidate);
// "betting 2 25 17 34 6 straight up on the later 5000 spins would have returned +4.1% (95%:
// -1.2% to +9.5%); a fair wheel returns -2.7%: the edge is not established".
std::string EdgeWords(const Holdout& holdout, const Candidate& candidate);

// Whether two or more logs came from one wheel; empty with one log.
std::string LogsAgreeWords(const Analysis& analysis);

// The hottest or the coldest number: "Hottest number: 2, z +3.44, adjusted p = 0.030: hot even
// after correcting for looking at 37 numbers at once (Holm)."
std::string HeatWords(const Analysis& analysis, bool hottest);
// The best arc against the simulated fair wheels; an arc of one pocket is a number.
std::string ArcWords(const Analysis& analysis);
// What the sleepers show and do not: no number is ever due.
std::string_view SleepersWords();
// A row of the power table: "one pocket 10% hot", "an arc of 5 pockets 25% hot".
std::string BiasWords(const PowerFigures& power);

}  // namespace vexilo::stats
