#include "stats/report/ReportWords.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <stdexcept>
#include <vector>

#include "stats/analysis/Bettor.h"
#include "stats/analysis/Evidence.h"
#include "stats/analysis/Holdout.h"
#include "stats/analysis/Schedule.h"
#include "stats/report/TextFormat.h"

namespace vexilo::stats {
namespace {

constexpr std::string_view kApp = "Vexilo Stats";
constexpr double kFairReturn = -1.0 / kPockets;  // of any straight-up bet on a fair wheel
constexpr double kSureEnough = 0.8;  // a power at which a bias would most likely have shown

// Indexed by Family.
struct FamilyWords {
  std::string_view name;     // the key of the reports and the JSON object
  std::string_view subject;  // of "... uneven, driven by zero: z +2.47" (zero has its own)
  std::string_view look;     // the family as one look of the verdict
  std::string_view title;    // the test in a sentence of its own
};
constexpr std::array<FamilyWords, kTestFamilies> kFamilies = {{
    {"number", "the numbers are", "the 37 numbers", "The 37 numbers"},
    {"colour", "the colours are", "the colours", "The colours"},
    {"parity", "even and odd are", "even and odd", "Even and odd"},
    {"half", "the halves are", "the halves", "The halves"},
    {"dozen", "the dozens are", "the dozens", "The dozens"},
    {"column", "the columns are", "the columns", "The columns"},
    {"street", "the streets are", "the streets", "The streets"},
    {"sector", "the sectors are", "the sectors", "The sectors"},
    {"zero", "", "zero", "Zero against the rest"},
    {"signature", "the distances from spin to spin are", "the dealer's signature",
     "The dealer's signature"},
}};

constexpr const FamilyWords& Of(Family family) {
  return kFamilies[static_cast<std::size_t>(family)];
}

// Indexed by Look: a family's look has the family's words.
struct LookWordsRow {
  std::string_view name;
  std::string_view words;
};
constexpr LookWordsRow OfFamily(Family family) {
  return {Of(family).name, Of(family).look};
}
constexpr std::array<LookWordsRow, kLooks> kLookRows = {{
    OfFamily(Family::Number),
    OfFamily(Family::Colour),
    OfFamily(Family::Parity),
    OfFamily(Family::Half),
    OfFamily(Family::Dozen),
    OfFamily(Family::Column),
    OfFamily(Family::Street),
    OfFamily(Family::Sector),
    OfFamily(Family::Zero),
    {"hot_or_cold", "the hottest or coldest number"},
    {"arc", "the best arc"},
    OfFamily(Family::Signature),
}};

// Indexed by Heat and by CandidateKind.
constexpr std::array<std::string_view, 3> kHeats = {"none", "hot", "cold"};
constexpr std::array<std::string_view, 4> kCandidateKinds = {"number", "arc", "street", "sector"};

constexpr std::array<ChartWords, 7> kCharts = {{
    {"How often each number came up", "number", "Most often", "least often"},
    {"Pockets from each spin to the next", "pockets round the wheel to the next spin",
     "Most steps went", "fewest"},
    {"Spins since each number last came up", "number", "Asleep longest", "came up last"},
    {"Group shares against a fair wheel", "standard errors from a fair wheel's share (z)", "", ""},
    {"The wheel: each pocket by its deviation", "z-score of each pocket's count", "", ""},
    {"The evidence against a fair wheel", "spins analysed", "", ""},
    {"What 100 units became, betting only on the spins before", "spins analysed", "", ""},
}};

// Indexed by EvidenceSource; a family's part has the family's words.
struct SourceWords {
  std::string_view name;
  std::string_view words;
};
constexpr std::array<SourceWords, 6> kSources = {{
    {"numbers", "the 37 numbers together"},
    {"pocket", "the number"},
    {"arc", "the arc"},
    {"", ""},
    {"signature", "the dealer's signature"},
    {"steps", "the dealer's signature, steps of"},
}};

// Indexed by Heads.
constexpr std::array<std::string_view, 5> kFitHeads = {"test", "statistic", "df", "p", "verdict"};
constexpr std::array<std::string_view, 6> kGroupHeads = {"family", "group",    "count",
                                                         "share",  "expected", "z"};
constexpr std::array<std::string_view, 5> kArcHeads = {"length", "count", "expected", "z",
                                                       "pockets in wheel order"};
constexpr std::array<std::string_view, 3> kStreakHeads = {"", "longest", "current"};
constexpr std::array<std::string_view, 4> kPowerHeads = {"the wheel has", "spins needed",
                                                         "power now", "however often read"};
constexpr std::array<std::span<const std::string_view>, 5> kHeads = {
    kFitHeads, kGroupHeads, kArcHeads, kStreakHeads, kPowerHeads};

constexpr WheelLabels kWheelLabels = {"colder", "hotter", "0 at the top, clockwise"};

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
     "each verdict's spins to catch a bias 8 times in 10, from simulated wheels"},
}};

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
    if (IsSignificant(c.adjusted_p) && (best == nullptr || c.adjusted_p < best->adjusted_p)) {
      best = &c;
    }
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

// How soon the evidence catches a hot pocket, from the anytime column of the power table: the
// biases this record's spins would most likely have shown, and the spins the others need.
std::string AnytimePowerWords(const Analysis& a) {
  std::vector<const PowerFigures*> rows;  // one pocket, the most hot first
  for (const PowerFigures& p : a.power) {
    if (p.kind == BiasKind::Number && p.pockets == 1) rows.push_back(&p);
  }
  std::sort(rows.begin(), rows.end(),
            [](const PowerFigures* x, const PowerFigures* y) { return x->excess > y->excess; });
  std::string shown;
  std::vector<std::string> needed;
  for (const PowerFigures* p : rows) {
    const std::string hot = Fixed(100 * p->excess, 0) + "% hot";
    if (p->anytime_spins_needed <= a.spins) {
      shown = "a pocket " + hot + " or more";
    } else {
      needed.push_back("by spin " + Count(p->anytime_spins_needed) +
                       (needed.empty() ? " on a wheel with a pocket " : " with one ") + hot);
    }
  }
  if (needed.empty()) return shown + " would most likely have shown by now";
  std::string spins;
  for (std::size_t i = 0; i < needed.size(); ++i) {
    spins += (i == 0 ? "" : i + 1 == needed.size() ? " and " : ", ") + needed[i];
  }
  return (shown.empty() ? "" : shown + " would most likely have shown by now; ") +
         TimesInTen(kSureEnough) + " it gets there " + spins + " (this record has " +
         Count(a.spins) + "): keep recording";
}

// The test in a sentence, the figures after its verdict (a flagged test's verdict already gives
// its p-value).
std::string Sentence(std::string_view what, const FitTest& t) {
  return std::string(what) + ": " + TestVerdict(t) + " (chi-square " + Fixed(t.statistic, 2) +
         ", df " + Count(t.df) + ", " + PWords(t.p_value) + ").";
}

// "a, b and c".
std::string ListWords(const std::vector<int>& numbers) {
  std::string text;
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    text += (i == 0 ? "" : i + 1 == numbers.size() ? " and " : ", ") + Count(numbers[i]);
  }
  return text;
}

// The numbers whose value is the extreme one.
std::vector<int> NumbersAt(std::span<const double> values, double extreme) {
  std::vector<int> numbers;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i] == extreme) numbers.push_back(static_cast<int>(i));
  }
  return numbers;
}

}  // namespace

std::string_view AppName() {
  return kApp;
}

std::string_view FamilyName(Family family) {
  return Of(family).name;
}

std::string_view LookName(Look look) {
  return kLookRows[static_cast<std::size_t>(look)].name;
}

std::string_view HeatName(Heat heat) {
  return kHeats[static_cast<std::size_t>(heat)];
}

std::string_view CandidateKindName(CandidateKind kind) {
  return kCandidateKinds[static_cast<std::size_t>(kind)];
}

std::string LogName(const std::string& name) {
  return name == "-" ? "(standard input)" : name;
}

const PartWords& WordsOf(Part part) {
  return kParts[static_cast<int>(part)];
}

std::string HeadingOf(Part part) {
  const PartWords& words = WordsOf(part);
  return std::string(words.heading) + (words.about.empty() ? "" : ": " + std::string(words.about));
}

std::string DetailsWords() {
  return "The one-reading verdict and each test below hold their " + LevelPercent() +
         " level only if this is the only time this record is judged; the verdict above, from "
         "the evidence, holds however often it is read.";
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

std::string VerdictLine(const Analysis& a) {
  return "Verdict: " + VerdictWords(a) + ".";
}

std::string VerdictHeadline(const Analysis& a) {
  return Capitalised(VerdictWords(a)) + ".";
}

std::string TextLead(const Analysis& a) {
  return std::string(kApp) + ": " + SpinsLead(a);
}

std::string PageTitle(const Analysis& a) {
  return std::string(kApp) + ": " + SpinsWords(a.spins);
}

std::string FooterWords(const Analysis& a) {
  return "Made by vexilo-stats " VEXILO_VERSION ", the verdict and the best arc against " +
         Count(a.simulations) + " fair wheels, seed " + std::to_string(a.seed) + ".";
}

std::string SeedWords(const Analysis& a) {
  return "Fair wheels simulated with seed " + std::to_string(a.seed) + ".";
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
  if (!IsSignificant(test.p_value)) return "no sign of bias at the " + LevelPercent() + " level";
  if (test.family == Family::Zero) {
    return std::string(test.driver_z < 0 ? "zero comes up too rarely" : "zero comes up too often") +
           ": z " + Signed(test.driver_z);
  }
  const std::string uneven = std::string(Of(test.family).subject) + " uneven";
  if (test.driver.empty()) return uneven + ": " + PWords(test.p_value);
  return uneven + ", driven by " + test.driver + ": z " + Signed(test.driver_z);
}

std::string TestSentence(const FitTest& test) {
  return Sentence(Of(test.family).title, test);
}

std::string FitWords(const FitTest& t) {
  return "Chi-square " + Fixed(t.statistic, 2) + ", df " + Count(t.df) + ", " + PWords(t.p_value) +
         ": " + TestVerdict(t) + ".";
}

std::string SignatureWords(const FitTest& test) {
  return "How many pockets round the wheel each spin landed from the one before. A dealer who "
         "launches the ball the same way leaves a bump here that no count of numbers shows. " +
         Sentence("Uniformity", test);
}

std::string_view LookWords(Look look) {
  return kLookRows[static_cast<std::size_t>(look)].words;
}

std::string VerdictWords(const Analysis& a) {
  if (a.spins == 0) return "nothing to analyse";
  const Evidence& e = a.evidence;
  const std::string needs = Significant(kEvidenceNeeded, 2);
  if (!e.biased) {
    return "no sign the wheel is biased (which is not proof that it is fair): the evidence "
           "against a fair wheel is " +
           Significant(e.value, 2) + " of the " + needs + " it needs; " + AnytimePowerWords(a);
  }
  return "the wheel looks biased: the evidence against a fair wheel reached " + needs +
         " at spin " + Count(e.reached_at) + ", led by " + EvidenceDriverWords(e) +
         "; a bettor who never looked ahead would have turned " + Significant(kBettorStart, 3) +
         " units into " + Significant(a.bettor.now, 3);
}

std::string EvidenceWords(const Analysis& a) {
  if (a.spins == 0) return {};
  const Evidence& e = a.evidence;
  std::string text = "Evidence against a fair wheel: " + Significant(e.value, 2) + " now, " +
                     Significant(e.max, 2) + " at most (spin " + Count(e.max_at) + "), " +
                     Significant(kEvidenceNeeded, 2) + " needed";
  if (e.biased) text += ", reached at spin " + Count(e.reached_at);
  return text + "; " + PWords(e.p_value) +
         " however often this record is read. Its largest part: " + EvidenceDriverWords(e) + " (" +
         Fixed(100 * e.driver_share, 0) + "% of it at its most).";
}

std::string BettorWords(const Analysis& a) {
  if (a.spins == 0) return {};
  const BettorFigures& b = a.bettor;
  std::string text =
      "A bettor who never looked ahead, staking before each spin from the spins before it "
      "alone and paid " +
      Count(static_cast<std::int64_t>(kStraightUpPays) - 1) + " to 1, would have turned " +
      Significant(b.start, 3) + " units into " + Significant(b.now, 3) + " (" +
      Significant(b.max, 3) + " at best, " + Significant(b.min, 3) +
      " at worst); a fair wheel takes " + Fixed(-100 * kFairReturn, 1) + "%" +
      " of every unit staked, and with the same stakes would have left " + Significant(b.fair, 3) +
      " on average. ";
  if (b.stakes_on.empty()) return text + "On the next spin it stakes nothing.";
  std::vector<int> numbers;
  for (const Stake& s : b.stakes_on) numbers.push_back(s.number);
  return text + "On the next spin it stakes " + Percent(b.stakes_on.front().share) +
         " of its bankroll on " + (numbers.size() == 1 ? "" : "each of ") + NumberList(numbers) +
         ".";
}

std::string EvidenceHoldsWords() {
  const std::string needs = Significant(kEvidenceNeeded, 2);
  return "The evidence is what a bet against a fair wheel has made of 1 unit, each stake set "
         "from the spins before it alone: an average, with weights fixed in advance, of bets on "
         "the numbers, each pocket, each arc, each family and the dealer's signature. A fair "
         "wheel lets it reach " +
         needs + " at most " + LevelOneIn() +
         ", however long the record grows and however often it is read, so p = 1 over its most "
         "is a p-value that holds at every reading; the bettor's bankroll likewise reaches " +
         needs + " times its start at most " + LevelOneIn() + ". Both are read at " +
         ScheduleWords() + ".";
}

std::string ScheduleWords() {
  return "spin " + Count(kFirstPoint) + ", then each point 1/" + Count(kScheduleStep) +
         " after the one before (at least " + Count(kFirstPoint) +
         " spins on), and every log's end";
}

std::string EvidenceDriverWords(const Evidence& e) {
  const SourceWords& words = kSources[static_cast<std::size_t>(e.driver)];
  switch (e.driver) {
    case EvidenceSource::Family:
      return std::string(Of(e.driver_family).look);
    case EvidenceSource::Pocket:
    case EvidenceSource::Arc:
      return std::string(words.words) + " " + NumberList(e.driver_cells);
    case EvidenceSource::Steps:
      return std::string(words.words) + " " + Count(e.driver_cells.front()) +
             (e.driver_cells.size() > 1 ? " to " + Count(e.driver_cells.back()) : "") + " pockets";
    case EvidenceSource::Numbers:
    case EvidenceSource::Signature:
      break;
  }
  return std::string(words.words);
}

std::string_view EvidenceSourceName(EvidenceSource source, Family family) {
  if (source == EvidenceSource::Family) return FamilyName(family);
  return kSources[static_cast<std::size_t>(source)].name;
}

std::string OneReadingDetail(const Analysis& a) {
  if (a.spins == 0) return {};
  return "If this is the only time this record is judged: " + OneReadingWords(a) + ". " +
         VerdictDetail(a) +
         " Read again as the record grows, a fair wheel is called biased at "
         "some reading far more often.";
}

std::string OneReadingWords(const Analysis& a) {
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
  // The split moves with the record: a reader who checks again after more spins judges anew.
  const std::string split =
      "If this is the only time this record is judged: chosen on the "
      "earlier " +
      SpinsWords(h.earlier_spins) + ", tested on the later " + SpinsWords(h.later_spins) + " alone";
  if (!h.enough) return split + ": too few later spins to say whether anything held up.";
  return split + ", each with an exact one-sided p-value, Holm-adjusted over the " +
         Count(static_cast<std::int64_t>(h.candidates.size())) +
         " candidates. Betting returns are per unit staked; a fair wheel returns " +
         SignedPercent(kFairReturn) + ".";
}

std::string CandidateName(const Candidate& c) {
  if (c.kind == CandidateKind::Street) return "the street " + NumberList(c.pockets, "-");
  const bool single = c.pockets.size() == 1;
  return "the " + std::string(CandidateKindName(single ? CandidateKind::Number : c.kind)) + " " +
         NumberList(c.pockets, " ");
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
  return (IsSignificant(c.adjusted_p) ? "held up, " : "did not hold up, ") + PWords(c.adjusted_p);
}

std::string CandidateSentence(const Holdout& h, const Candidate& c) {
  return Capitalised(CandidateName(c)) + " " + HeldUpWords(c) + "; " + EdgeWords(h, c) + ".";
}

std::string EdgeWords(const Holdout& h, const Candidate& c) {
  std::string text = "betting " + NumberList(c.pockets, " ") + " straight up on the later " +
                     SpinsWords(h.later_spins) + " would have returned " +
                     SignedPercent(c.return_rate) + " (" + ConfidencePercent() + ": " +
                     Interval(c.return_ci, SignedPercent) + "); a fair wheel returns " +
                     SignedPercent(kFairReturn);
  return text + (c.return_ci[0] < 0 ? ": the edge is not established" : "");
}

std::string LogsAgreeWords(const Analysis& a) {
  if (a.files.size() < 2 || !a.logs_agree) return {};
  const Homogeneity& h = *a.logs_agree;
  const std::string figures =
      "chi-square " + Fixed(h.statistic, 2) + ", df " + Count(h.df) + ", " +
      (h.simulated ? SimulatedPWords(h.p_value, a.simulations) + " by simulation"
                   : PWords(h.p_value));
  if (!IsSignificant(h.p_value))
    return "The logs agree: no sign the wheel changed between them (" + figures + ").";
  return "The wheel changed between logs (was it serviced?): " + figures +
         ". Read each log's figures before pooling them.";
}

std::string HeatWords(const Analysis& a, bool hot) {
  const int number = hot ? a.hottest : a.coldest;
  const NumberFigures& f = a.numbers[number];
  const std::string word(HeatName(hot ? Heat::Hot : Heat::Cold));
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
      IsSignificant(a.arc_p_value) ? "a favoured " + what : "no sign of a favoured " + what;
  return "Best arc of the wheel: " +
         (single ? "the number " + Count(best.pockets.front()) + " alone"
                 : Count(best.length) + " neighbouring pockets, " + NumberList(best.pockets, " ")) +
         ", z " + Signed(best.z) + ", " + SimulatedPWords(a.arc_p_value, a.simulations) +
         " against fair wheels: " + favoured + " at the " + LevelPercent() + " level.";
}

std::string_view SleepersWords() {
  return "No number is ever due: a wheel has no memory, so a long absence says nothing about "
         "the next spin.";
}

std::string BiasWords(const PowerFigures& p) {
  const std::string hot = Fixed(100 * p.excess, 0) + "% hot";
  if (p.kind == BiasKind::Signature) {
    return "a dealer's signature, " + Count(p.pockets) + " distances " + hot;
  }
  if (p.kind == BiasKind::Number || p.pockets == 1) return "a pocket " + hot;
  return "an arc of " + Count(p.pockets) + " pockets " + hot;
}

}  // namespace vexilo::stats

namespace vexilo::stats {

std::string PowerAbout(const Analysis& a) {
  return Capitalised(std::string(WordsOf(Part::Power).about)) +
         ": the spins at which the one-reading verdict calls it biased, its chance of doing so "
         "with the " +
         SpinsWords(a.spins) +
         " analysed (the power now), and the spins by which the evidence has reached " +
         Significant(kEvidenceNeeded, 2) + " however often it is read.";
}

std::string CountsCaption() {
  return "Counts of each number. Dashed: what a fair wheel gives each; shaded: where " +
         LevelOfFair() + " fair wheels' counts fall, so about " + Fixed(kPockets * kLevel, 0) +
         " numbers in 37 fall outside by chance.";
}

std::string SleepersCaption() {
  return "Spins since each number last came up (dark), in front of its longest absence (light). " +
         std::string(SleepersWords());
}

std::string_view GroupsCaption() {
  return "Zero counts against every group, so a fair wheel gives red 18 in 37 spins, not half.";
}

std::string EveryNumberCaption() {
  return "Every number; " + std::string(WordsOf(Part::Numbers).about);
}

std::string_view EveryGroupCaption() {
  return "Every group";
}

std::string_view EveryArcCaption() {
  return "The arc of each length that came up most often against a fair wheel";
}

std::string EvidenceCaption() {
  return "The evidence against a fair wheel at each point it was read, on a scale of powers of "
         "ten. A fair wheel reaches the dashed line at " +
         Significant(kEvidenceNeeded, 2) + " at most " + LevelOneIn() +
         ", however often it is read; a dot marks where it first did.";
}

std::string BankrollCaption() {
  return "What " + Significant(kBettorStart, 3) +
         " units became with the bettor who never looked ahead; the dashed line is its start.";
}

std::string_view StepsCaption() {
  return "Steps from one spin to the next";
}

const ChartWords& WordsOf(Chart chart) {
  return kCharts[static_cast<std::size_t>(chart)];
}

std::string BarsWords(Chart chart, std::int64_t spins) {
  switch (chart) {
    case Chart::Counts:
      return "Bars of the counts of the numbers 0 to 36 in " + SpinsWords(spins) + ".";
    case Chart::Signature:
      return "Bars of how many of the " + Count(spins) +
             " steps from one spin to the next went 0 to 36 pockets round the wheel.";
    case Chart::Sleepers:
      return "Bars of the spins since each number 0 to 36 last came up, in front of lighter bars "
             "of its longest absence. " +
             std::string(SleepersWords());
    case Chart::Groups:
    case Chart::Wheel:
    case Chart::Evidence:
    case Chart::Bankroll:
      break;
  }
  throw std::logic_error("a picture without bars");
}

std::string FairBandWords(double expected, double low, double high) {
  return "A fair wheel gives each " + Fixed(expected, 1) + " (the dashed line); " + LevelOfFair() +
         " fair wheels fall between " + Fixed(low, 1) + " and " + Fixed(high, 1) + " (shaded).";
}

std::string ExtremesWords(Chart chart, std::span<const double> values) {
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  const ChartWords& words = WordsOf(chart);
  return " " + std::string(words.most) + ": " + ListWords(NumbersAt(values, *high)) + " (" +
         Fixed(*high, 0) + "); " + std::string(words.least) + ": " +
         ListWords(NumbersAt(values, *low)) + " (" + Fixed(*low, 0) + ").";
}

std::string GroupsDescription(const GroupFigures* furthest) {
  std::string text =
      "Each group's share of all spins, family by family, as a bar from the share a fair wheel "
      "gives it (the dashed middle line) to the share it had, measured in standard errors so "
      "that every family is on one scale: orange above expectation, purple below. The band "
      "where " +
      LevelOfFair() + " fair wheels fall is shaded.";
  if (furthest != nullptr) {
    text += " Furthest from it: " + std::string(FamilyName(furthest->family)) + " " +
            furthest->name + ", " + Percent(furthest->share) + " against " +
            Percent(furthest->expected) + ", z " + Signed(furthest->z) + ".";
  }
  return text;
}

std::string FamilyRowWords(const GroupFigures& g) {
  return std::string(FamilyName(g.family)) + ": a fair wheel gives each " + Percent(g.expected);
}

std::string GroupBarWords(const GroupFigures& g) {
  return Percent(g.share) + "   z " + Signed(g.z);
}

std::string WheelDescription(const Analysis& a, double scaleEnd, bool marksArc) {
  std::string text =
      "The 37 pockets in wheel order, 0 at the top and clockwise, each filled by how far its "
      "count is from a fair wheel's: purple below, orange above, pale as expected, full colour "
      "at a z-score of " +
      Fixed(scaleEnd, 0) + " or more.";
  if (a.hottest >= 0) {
    text += " Hottest " + Count(a.hottest) + " (z " + Signed(a.numbers[a.hottest].z) +
            "), coldest " + Count(a.coldest) + " (z " + Signed(a.numbers[a.coldest].z) + ").";
  }
  if (marksArc) {
    const ArcFigures& arc = a.arcs[a.best_arc];
    text +=
        " Marked outside the ring: the arc that came up most often against its "
        "expectation, " +
        (arc.length == 1 ? "the number " + Count(arc.pockets.front()) + " alone"
                         : Count(arc.length) + " pockets from " + Count(arc.pockets.front()) +
                               " to " + Count(arc.pockets.back())) +
        ", z " + Signed(arc.z) + ", " + SimulatedPWords(a.arc_p_value, a.simulations) + ".";
  } else if (a.best_arc >= 0) {
    text += " No arc is marked: the best one is no more than fair wheels give (" +
            SimulatedPWords(a.arc_p_value, a.simulations) + ").";
  }
  return text;
}

std::string PocketWords(const NumberFigures& f) {
  return Count(f.number) + ": " + SpinsWords(f.count) + ", z " + Signed(f.z);
}

std::string ArcMarkWords(const Analysis& a) {
  const ArcFigures& arc = a.arcs[a.best_arc];
  // The short form of the p-value: the legend has the width of the wheel.
  const std::string p = SimulatedPCell(a.arc_p_value, a.simulations);
  return "outside the ring: the best " + std::string(arc.length == 1 ? "number" : "arc") + ", z " +
         Signed(arc.z) + ", p " + (p.front() == '<' ? "" : "= ") + p;
}

std::span<const std::string_view> HeadsOf(Heads table) {
  return kHeads[static_cast<std::size_t>(table)];
}

const WheelLabels& WheelLabelWords() {
  return kWheelLabels;
}

}  // namespace vexilo::stats

namespace vexilo::stats {

std::string EvidenceDescription(const Analysis& a) {
  const Evidence& e = a.evidence;
  std::string text =
      "A line of the evidence against a fair wheel at each point it was read, "
      "from spin " +
      Count(kFirstPoint) + " to " + Count(a.spins) + ", on a scale of powers of ten, " +
      "with a line at " + Significant(kEvidenceNeeded, 2) +
      ", where the wheel is called biased, and each log's end marked. Now " +
      Significant(e.value, 2) + ", at most " + Significant(e.max, 2) + " at spin " +
      Count(e.max_at);
  return text + (e.biased ? "; it reached " + Significant(kEvidenceNeeded, 2) + " at spin " +
                                Count(e.reached_at) + "."
                          : "; it has not reached " + Significant(kEvidenceNeeded, 2) + ".");
}

std::string BankrollDescription(const Analysis& a) {
  const BettorFigures& b = a.bettor;
  return "A line of the bettor's bankroll at each point, on a scale of powers of ten, with a line "
         "at its start of " +
         Significant(b.start, 3) + " units. Now " + Significant(b.now, 3) + ", at best " +
         Significant(b.max, 3) + ", at worst " + Significant(b.min, 3) +
         "; a fair wheel would have left " + Significant(b.fair, 3) + " on average.";
}

std::string ThresholdLabel() {
  return Significant(kEvidenceNeeded, 2) + ": biased";
}

std::string StartLabel() {
  return Significant(kBettorStart, 3) + ": the start";
}

std::string_view LogEndsLabel() {
  return "dashed: each log's end";
}

}  // namespace vexilo::stats
