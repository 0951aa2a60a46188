#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "stats/analysis/Analysis.h"

namespace vexilo::stats {

// Every sentence the reports say, and every name they give, written once: the text report, the
// page, its pictures and the JSON object take them from here. The level is spelt from kLevel
// alone.

// The names the reports and the JSON object give, each spelt once.
std::string_view AppName();                  // "Vexilo Stats"
std::string_view FamilyName(Family family);  // "number", "colour", ..., "zero", "signature"
std::string_view LookName(Look look);        // a family's name, "hot_or_cold" or "arc"
std::string_view HeatName(Heat heat);        // "none", "hot" or "cold"
std::string_view CandidateKindName(CandidateKind kind);  // "number", "arc", "street", "sector"
// A log as the reports name it: "(standard input)" for "-".
std::string LogName(const std::string& name);

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

// The first line of the text: "Verdict: no sign the wheel is biased ... recording."
std::string VerdictLine(const Analysis& analysis);
// The page's headline: "No sign the wheel is biased ... recording."
std::string VerdictHeadline(const Analysis& analysis);
// The text's second line: "Vexilo Stats: 10000 spins analysed from 2 logs, oldest first."
std::string TextLead(const Analysis& analysis);
// The page's title: "Vexilo Stats: 10000 spins".
std::string PageTitle(const Analysis& analysis);
// The page's footer: the program, its version and the simulation's size and seed.
std::string FooterWords(const Analysis& analysis);
// "Fair wheels simulated with seed 20240901."
std::string SeedWords(const Analysis& analysis);

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
// The test named, its verdict and figures: "The 37 numbers: no sign of bias at the 5% level
// (chi-square 31.20, df 36, p = 0.70)."
std::string TestSentence(const FitTest& test);
// "Chi-square 31.20, df 36, p = 0.70: no sign of bias at the 5% level."
std::string FitWords(const FitTest& test);
// What the dealer's signature is and its test, as the page says it.
std::string SignatureWords(const FitTest& test);

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
// A candidate the answer explains: "The arc 2 25 17 34 6 held up, p = 0.013; betting ... -2.7%."
std::string CandidateSentence(const Holdout& holdout, const Candidate& candidate);
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
// What the page's power table shows, with the spins analysed.
std::string PowerAbout(const Analysis& analysis);

// The heads of the tables both reports show alike; the others are each report's own.
enum class Heads : std::int8_t { Fit, Groups, Arcs, Streaks, Power };
std::span<const std::string_view> HeadsOf(Heads table);

// The captions of the page's figures and tables.
std::string CountsCaption();
std::string SleepersCaption();
std::string_view GroupsCaption();
std::string EveryNumberCaption();
std::string_view EveryGroupCaption();
std::string_view EveryArcCaption();
std::string_view StepsCaption();

// The pictures' words: titles, axes and the text alternatives, which say for readers who cannot
// see a picture what it shows.
enum class Chart : std::int8_t { Counts, Signature, Sleepers, Groups, Wheel };
struct ChartWords {
  std::string_view title;
  std::string_view axis;   // what the bars stand on, or the scale's meaning
  std::string_view most;   // of the bars' extremes: "Most often"
  std::string_view least;  // "least often"
};
const ChartWords& WordsOf(Chart chart);
// What the bars are: "Bars of the counts of the numbers 0 to 36 in 740 spins."
std::string BarsWords(Chart chart, std::int64_t spins);
// The fair wheel's line and band: "A fair wheel gives each 20.0 (the dashed line); 95 of 100
// fair wheels fall between 11.4 and 28.6 (shaded)."
std::string FairBandWords(double expected, double low, double high);
// The bars' extremes, one value per number: " Most often: 16 (159); least often: 27 and 34 (111)."
std::string ExtremesWords(Chart chart, std::span<const double> values);
// The groups picture's description, with the group furthest from its share (none: not said).
std::string GroupsDescription(const GroupFigures* furthest);
// The heading of a family's rows in that picture: "colour: a fair wheel gives each 48.65%".
std::string FamilyRowWords(const GroupFigures& group);
// The figures beside a group's bar: "48.65%   z +0.31".
std::string GroupBarWords(const GroupFigures& group);
// The wheel's description; `scaleEnd` is the z-score drawn in full colour, `marksArc` whether
// the best arc is marked outside the ring.
std::string WheelDescription(const Analysis& analysis, double scaleEnd, bool marksArc);
// A pocket's tooltip: "17: 52 spins, z +1.03".
std::string PocketWords(const NumberFigures& number);
// The legend of the marked arc: "outside the ring: the best arc, z +5.75, p < 0.0001".
std::string ArcMarkWords(const Analysis& analysis);
// The wheel's other labels.
struct WheelLabels {
  std::string_view colder, hotter, direction;
};
const WheelLabels& WheelLabelWords();

}  // namespace vexilo::stats
