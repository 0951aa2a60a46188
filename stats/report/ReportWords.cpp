#include "stats/report/ReportWords.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

#include "stats/report/TextFormat.h"

namespace vexilo::stats {
namespace {

constexpr double kFairReturn = -1.0 / kPockets;  // of any straight-up bet on a fair wheel
constexpr double kSureEnough = 0.8;  // a power at which a bias would most likely have shown

struct Subject {
  std::string_view family;
  std::string_view words;  // of "... uneven, driven by zero: z +2.47"
};

constexpr std::array<Subject, 9> kSubjects = {{
    {"number", "the numbers are"},
    {"colour", "the colours are"},
    {"parity", "even and odd are"},
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

// Indexed by Look.
constexpr std::array<std::string_view, kLooks> kLookWords = {
    "the 37 numbers", "the colours",
    "even and odd",   "the halves",
    "the dozens",     "the columns",
    "the streets",    "the sectors",
    "zero",           "the hottest or coldest number",
    "the best arc",   "the dealer's signature"};

// Indexed by CandidateKind.
constexpr std::array<std::string_view, 4> kCandidateKinds = {"number", "arc", "street", "sector"};

constexpr std::array<PartWords, 10> kParts = {{
    {"later-spins", "Later spins", "did what looked hot on the earlier spins hold up?"},
    {"logs", "The logs", "in the order read"},
    {"details", "The details behind the verdict", ""},
    {"fit", "Goodness of fit", "chi-square against a fair wheel, zero a cell of its own"},
    {"numbers", "Numbers", "a fair wheel gives each 2.70%"},
    {"board-groups", "Groups of the board", "zero counts against every group"},
    {"arcs", "Arcs of the wheel",
     "the neighbouring pockets of each length that came up most often"},
    {"dealer", "The dealer's signature", "pockets from each spin to the next, round the wheel"},
    {"streaks", "Streaks", "spins in a row"},
    {"power", "How many spins are enough",
     "spins at which the verdict catches a bias 8 times in 10, from simulated wheels"},
}};

std::string Count(std::int64_t n) {
  return std::to_string(n);
}

std::string Pockets(const std::vector<int>& pockets, std::string_view between) {
  std::string text;
  for (const int n : pockets) text += (text.empty() ? "" : std::string(between)) + Count(n);
  return text;
}

// How often in ten, for a chance: "8 times in 10", "less than 1 time in 10".
std::string TimesInTen(double chance) {
  const long times = std::lround(10 * chance);
  if (times <= 0) return "less than 1 time in 10";
  if (times >= 10) return "nearly every time";
  return Count(times) + (times == 1 ? " time in 10" : " times in 10");
}

// The floor of a simulated p-value, 1/(S+1), when no fair wheel reached the observed value.
bool AtTheFloor(double p, int simulations) {
  return simulations > 0 && std::isfinite(p) && p * (simulations + 1.0) < 1.5;
}

// 1/S rounded up to the first significant digit: "0.0001", "0.00009".
std::string Bound(int simulations) {
  const int decimals = static_cast<int>(std::ceil(std::log10(static_cast<double>(simulations))));
  const double scale = std::pow(10.0, decimals);
  return Fixed(std::ceil(scale / simulations) / scale, decimals);
}

// The candidate the answer leads with: the one that held up best, else the best arc.
const Candidate* Leading(const Holdout& h) {
  const Candidate* best = nullptr;
  for (const Candidate& c : h.candidates) {
    if (c.adjusted_p < kLevel && (best == nullptr || c.adjusted_p < best->adjusted_p)) best = &c;
  }
  return best;
}

std::string PowerWords(const Analysis& a) {
  const PowerFigures* strong = nullptr;
  const PowerFigures* weak = nullptr;
  for (const PowerFigures& p : a.power) {
    if (p.kind != BiasKind::Number || p.pockets != 1) continue;
    if (strong == nullptr || p.excess > strong->excess) strong = &p;
    if (weak == nullptr || p.excess < weak->excess) weak = &p;
  }
  if (strong == nullptr) return ": keep recording";
  std::string text = "; with " + SpinsWords(a.spins) + " this report would catch " +
                     BiasWords(*strong) + " " + TimesInTen(strong->power_now);
  if (weak != strong) {
    // "only less than 1 time in 10" reads badly: "only" goes with a count.
    const std::string times = TimesInTen(weak->power_now);
    text += " but one " + Fixed(100 * weak->excess, 0) + "% hot " +
            (times.starts_with("less") ? "" : "only ") + times;
  }
  return text + (weak->power_now >= kSureEnough
                     ? ": a bias of that size would most likely have shown by now"
                     : ": keep recording");
}

}  // namespace

const PartWords& WordsOf(Part part) {
  return kParts[static_cast<int>(part)];
}

std::string HeadingOf(Part part) {
  const PartWords& words = WordsOf(part);
  return std::string(words.heading) + (words.about.empty() ? "" : ": " + std::string(words.about));
}

std::string DetailsWords() {
  return "Each test below holds its " + LevelPercent() +
         " level on its own; the verdict above accounts for all of them at once.";
}

std::string LevelPercent() {
  return Fixed(100 * kLevel, 0) + "%";
}

std::string LevelOfFair() {
  return Fixed(100 * kConfidence, 0) + " of 100";
}

std::string ConfidencePercent() {
  return Fixed(100 * kConfidence, 0) + "%";
}

std::string LevelOneIn() {
  return "1 time in " + Fixed(1 / kLevel, 0);
}

std::string SpinsWords(std::int64_t spins) {
  return Count(spins) + (spins == 1 ? " spin" : " spins");
}

std::string PWords(double p) {
  const std::string text = FormatP(p);
  return text.front() == '<' ? "p " + text : "p = " + text;
}

std::string SimulatedPCell(double p, int simulations) {
  return AtTheFloor(p, simulations) ? "< " + Bound(simulations) : FormatP(p);
}

std::string SimulatedPWords(double p, int simulations) {
  if (!AtTheFloor(p, simulations)) return PWords(p);
  return "p < " + Bound(simulations) + " (none of " + Count(simulations) + " fair wheels)";
}

std::string SpinsLead(const Analysis& a) {
  const std::int64_t logs = static_cast<std::int64_t>(a.files.size());
  const std::string from = " from " + Count(logs) + (logs == 1 ? " log" : " logs");
  if (a.spins > 0) return SpinsWords(a.spins) + " analysed" + from + ", oldest first.";
  const std::int64_t read =
      std::accumulate(a.files.begin(), a.files.end(), std::int64_t{0},
                      [](std::int64_t n, const FileFigures& f) { return n + f.spins; });
  if (read == 0) return "nothing to analyse, the logs hold no spins.";
  return "0 of " + SpinsWords(read) + " analysed" + from + " (--last 0): nothing to analyse.";
}

std::string TestVerdict(const FitTest& test) {
  if (test.p_value != test.p_value) return "nothing to analyse";
  if (test.p_value >= kLevel) return "no sign of bias at the " + LevelPercent() + " level";
  if (test.family == "zero") {
    return std::string(test.driver_z < 0 ? "zero comes up too rarely" : "zero comes up too often") +
           ": z " + Signed(test.driver_z);
  }
  const std::string uneven = std::string(SubjectOf(test.family)) + " uneven";
  if (test.driver.empty()) return uneven + ": " + PWords(test.p_value);
  return uneven + ", driven by " + test.driver + ": z " + Signed(test.driver_z);
}

std::string_view LookWords(Look look) {
  return kLookWords[static_cast<int>(look)];
}

std::string VerdictWords(const Analysis& a) {
  if (a.spins == 0) return "nothing to analyse";
  if (!a.verdict.biased) {
    return "no sign the wheel is biased (which is not proof that it is fair)" + PowerWords(a);
  }
  const Holdout& h = a.holdout;
  std::string text = "the wheel looks biased, led by " + std::string(LookWords(a.verdict.driver));
  if (h.fraction <= 0) return text + ": check it on spins recorded from now on before betting";
  if (!h.enough) return text + ", but too few later spins to check it: keep recording";
  const Candidate* lead = Leading(h);
  if (lead == nullptr) {
    return text +
           ", but nothing that looked hot on the earlier spins held up on the later ones: "
           "keep recording before betting anything";
  }
  text = CandidateName(*lead) + " came up " +
         Fixed(100 * (static_cast<double>(lead->hits) / lead->expected - 1), 0) +
         "% more often and held up on the later spins; " + EdgeWords(h, *lead);
  return text;
}

std::string VerdictDetail(const Analysis& a) {
  if (a.spins == 0) return {};
  return SimulatedPWords(a.verdict.p_value, a.simulations) + " for all " + Count(kLooks) +
         " looks of this report together (the 37 numbers, each family of the board, zero, the "
         "hottest and coldest numbers, the best arc, the dealer's signature), against " +
         Count(a.simulations) + " simulated fair wheels of " + SpinsWords(a.spins) +
         "; the closest to an alarm: " + std::string(LookWords(a.verdict.driver)) + ", " +
         SimulatedPWords(a.verdict.driver_p, a.simulations) + " on its own. A fair wheel gets " +
         "\"biased\" " + LevelOneIn() + ".";
}

std::string HoldoutWords(const Analysis& a) {
  const Holdout& h = a.holdout;
  if (h.fraction <= 0) return "The check on later spins is off (--holdout 0).";
  const std::string split = "Chosen on the earlier " + SpinsWords(h.earlier_spins) +
                            ", tested on the later " + SpinsWords(h.later_spins) + " alone";
  if (!h.enough) return split + ": too few later spins to say whether anything held up.";
  return split + ", each with an exact one-sided p-value, Holm-adjusted over the " +
         Count(static_cast<std::int64_t>(h.candidates.size())) +
         " candidates. Betting returns are per unit staked; a fair wheel returns " +
         SignedPercent(kFairReturn) + ".";
}

std::string CandidateName(const Candidate& c) {
  if (c.kind == CandidateKind::Street) return "the street " + Pockets(c.pockets, "-");
  const bool single = c.pockets.size() == 1;
  return "the " + std::string(single ? "number" : kCandidateKinds[static_cast<int>(c.kind)]) + " " +
         Pockets(c.pockets, " ");
}

bool Explains(const Holdout& h, std::size_t index) {
  return index == 0 || static_cast<int>(index) == h.best_arc || &h.candidates[index] == Leading(h);
}

bool Leads(const Holdout& h, std::size_t index) {
  return h.candidates[index].kind != CandidateKind::Arc || Explains(h, index);
}

std::string_view EveryCandidateWords() {
  return "Every candidate chosen on the earlier spins, on the later ones";
}

std::string HeldUpWords(const Candidate& c) {
  return (c.adjusted_p < kLevel ? "held up, " : "did not hold up, ") + PWords(c.adjusted_p);
}

std::string EdgeWords(const Holdout& h, const Candidate& c) {
  std::string text = "betting " + Pockets(c.pockets, " ") + " straight up on the later " +
                     SpinsWords(h.later_spins) + " would have returned " +
                     SignedPercent(c.return_rate) + " (" + ConfidencePercent() + ": " +
                     SignedPercent(c.return_ci[0]) + " to " + SignedPercent(c.return_ci[1]) +
                     "); a fair wheel returns " + SignedPercent(kFairReturn);
  return text + (c.return_ci[0] < 0 ? ": the edge is not established" : "");
}

std::string LogsAgreeWords(const Analysis& a) {
  if (a.files.size() < 2 || !a.logs_agree) return {};
  const Homogeneity& h = *a.logs_agree;
  const std::string figures =
      "chi-square " + Fixed(h.statistic, 2) + ", df " + Count(h.df) + ", " +
      (h.simulated ? SimulatedPWords(h.p_value, a.simulations) + " by simulation"
                   : PWords(h.p_value));
  if (h.p_value >= kLevel)
    return "The logs agree: no sign the wheel changed between them (" + figures + ").";
  return "The wheel changed between logs (was it serviced?): " + figures +
         ". Read each log's figures before pooling them.";
}

std::string HeatWords(const Analysis& a, bool hot) {
  const int number = hot ? a.hottest : a.coldest;
  const NumberFigures& f = a.numbers[number];
  const std::string word = hot ? "hot" : "cold";
  return std::string(hot ? "Hottest" : "Coldest") + " number: " + Count(number) + ", z " +
         Signed(f.z) + ", adjusted " + PWords(f.adjusted_p) +
         (f.heat != Heat::None ? ": " + word + " even after correcting"
                               : ": not " + word + " once corrected") +
         " for looking at 37 numbers at once (Holm).";
}

std::string ArcWords(const Analysis& a) {
  const ArcFigures& best = a.arcs[a.best_arc];
  const bool single = best.length == 1;
  const std::string what = single ? "number" : "arc";
  const std::string favoured =
      a.arc_p_value < kLevel ? "a favoured " + what : "no sign of a favoured " + what;
  return "Best arc of the wheel: " +
         (single ? "the number " + Count(best.pockets.front()) + " alone"
                 : Count(best.length) + " neighbouring pockets, " + Pockets(best.pockets, " ")) +
         ", z " + Signed(best.z) + ", " + SimulatedPWords(a.arc_p_value, a.simulations) +
         " against fair wheels: " + favoured + " at the " + LevelPercent() + " level.";
}

std::string_view SleepersWords() {
  return "No number is ever due: a wheel has no memory, so a long absence says nothing about "
         "the next spin.";
}

std::string BiasWords(const PowerFigures& p) {
  const std::string hot = Fixed(100 * p.excess, 0) + "% hot";
  if (p.kind == BiasKind::Number || p.pockets == 1) return "a pocket " + hot;
  return "an arc of " + Count(p.pockets) + " pockets " + hot;
}

}  // namespace vexilo::stats
