#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/PocketTable.h"

namespace vexilo::stats {

// What the reports read: every figure of one analysis, computed once. A figure that needs at
// least one spin (a share, a z-score, a p-value) is NaN when there is none to analyse.

inline constexpr double kLevel = 0.05;             // significance level of every verdict and flag
inline constexpr double kConfidence = 1 - kLevel;  // of every interval
// The one rule of every verdict, flag and check that held up: a p-value below the level. A
// p-value of exactly the level is not significant, and NaN (nothing to analyse) never is.
constexpr bool IsSignificant(double p) {
  return p < kLevel;
}
inline constexpr int kLongestArc = 18;

// What a goodness-of-fit test counts, and the family of a group of the board (Colour to
// Sector). The reports name each one (ReportWords).
enum class Family : std::int8_t {
  Number,  // the 37 numbers
  Colour,  // the board's families: each a test with zero a cell of its own, and its groups
  Parity,
  Half,
  Dozen,
  Column,
  Street,
  Sector,
  Zero,       // zero against the rest
  Signature,  // the distances from spin to spin
};
inline constexpr int kTestFamilies = 10;

// A chi-square goodness-of-fit test against a fair wheel.
struct FitTest {
  Family family = Family::Number;
  double statistic = 0;
  int df = 0;
  double p_value = 0;
  // The cell furthest from a fair wheel's count, by its z-score: "zero", "red", "17",
  // "1st 12", "distance 5"; empty, and driver_z NaN, with no spins.
  std::string driver;
  double driver_z = 0;
};

// One log as given on the command line.
struct FileFigures {
  std::string name;           // as given; "-" is standard input
  std::int64_t spins = 0;     // lines read from it
  std::int64_t analysed = 0;  // of those, how many are in the analysis (fewer with --last)
  // Of its analysed spins: the 37-number test and the number with the highest z (-1 when
  // none). Filled by the analysis.
  FitTest test;
  int hottest = -1;
};

enum class Heat : std::int8_t { None, Hot, Cold };

struct NumberFigures {
  int number = 0;
  std::int64_t count = 0;
  double share = 0;                  // count / spins
  double expected = 0;               // expected share, 1/37
  double z = 0;                      // (count - spins/37) / sqrt(spins * 1/37 * 36/37)
  double p_value = 0;                // exact binomial, two-sided (the smaller tail doubled)
  double adjusted_p = 0;             // Holm's step-down adjustment over the 37 numbers
  Heat heat = Heat::None;            // hot or cold only when adjusted_p is significant
  std::int64_t since_last = 0;       // 0: it was the last spin; spins when it never came up
  std::int64_t longest_absence = 0;  // longest run of spins without it, at either end too
};

// A group of a family the board shows; zero counts against every group.
struct GroupFigures {
  Family family = Family::Colour;  // Colour .. Sector
  std::string name;  // "red", "even", "1-18", "1st 12", "column 1", "1-2-3", "32,15,19,..."
  int pockets = 0;   // numbers in the group
  std::int64_t count = 0;
  double share = 0;
  double expected = 0;  // pockets / 37
  double z = 0;
};

// The arc of neighbouring pockets of one length that came up most often.
struct ArcFigures {
  int length = 0;
  std::vector<int> pockets;  // in wheel order
  std::int64_t count = 0;
  double expected = 0;  // count a fair wheel gives it: spins * length / 37
  double z = 0;
};

// The distance round the wheel from each spin to the next, 0..36 pockets, in one direction.
struct Signature {
  std::array<std::int64_t, kPockets> counts{};
  FitTest test;  // Family::Signature, df 36
};

struct Streak {
  std::string name;  // "red", "black", "even", "odd", "same dozen", "same column"
  std::int64_t longest = 0;
  std::int64_t current = 0;  // the run the last spin belongs to; 0 when it is not in one
};

// One way a wheel can be biased, and how well the verdicts catch it: one pocket (pockets 1) or
// an arc of neighbouring pockets that comes up `excess` more often (0.10 = 10% more), the
// other pockets evenly less; or a dealer whose ball lands `pockets` neighbouring distances
// round the wheel from the last number that much more often, the other distances evenly less.
enum class BiasKind : std::int8_t { Number, Arc, Signature };

struct PowerFigures {
  BiasKind kind = BiasKind::Number;
  int pockets = 1;
  double excess = 0;
  std::int64_t spins_needed = 0;  // spins at which the verdict says "biased" 80 times in 100
  double power_now = 0;           // the chance it says so with the spins analysed
  // Spins by which the evidence has reached kEvidenceNeeded 80 times in 100.
  std::int64_t anytime_spins_needed = 0;
};

// One answer for the whole report: are the looks it takes, together, more than a fair wheel
// gives? p_value is the share of simulated fair wheels, with the same spins, whose smallest
// p-value over every look is at most the observed one (the observed wheel among them).
enum class Look : std::int8_t {
  Numbers,  // the 37-number chi-square
  Colour,   // each family's chi-square, zero a cell of its own
  Parity,
  Half,
  Dozen,
  Column,
  Street,
  Sector,
  Zero,       // zero against the rest
  HotOrCold,  // the most extreme number's exact binomial p-value (the Holm flags)
  Arc,        // the best arc of any length, by its z
  Signature,  // the distances from spin to spin
};
inline constexpr int kLooks = 12;

struct Verdict {
  double p_value = 0;           // NaN with no spins
  bool biased = false;          // IsSignificant(p_value)
  Look driver = Look::Numbers;  // the look with the smallest p-value on the observed wheel,
                                // the first in Look's order on a tie
  double driver_p = 0;          // that look's own p-value, by simulation (NaN with no spins)
};

// A candidate chosen on the earlier spins and tested on the later spins alone.
enum class CandidateKind : std::int8_t { Number, Arc, Street, Sector };

struct Candidate {
  CandidateKind kind = CandidateKind::Number;
  std::vector<int> pockets;  // an arc's in wheel order
  std::int64_t earlier_hits = 0;
  std::int64_t hits = 0;              // on the later spins
  double expected = 0;                // later spins * pockets / 37
  double p_value = 0;                 // exact one-sided binomial: P(X >= hits) on a fair wheel
  double adjusted_p = 0;              // Holm's step-down over the candidates
  std::array<double, 2> share_ci{};   // Clopper-Pearson, kConfidence, of hits / later spins
  double return_rate = 0;             // 36 * hits / (pockets * later spins) - 1
  std::array<double, 2> return_ci{};  // the same of the share's interval
};

struct Holdout {
  double fraction = 0;  // of the spins held out as the later ones; 0: no check
  std::int64_t earlier_spins = 0;
  std::int64_t later_spins = 0;  // fraction * spins, rounded
  bool enough = false;           // at least kEnoughLaterSpins later spins (5 a pocket)
  // The hottest number, the best arc of each length 2..18, the hottest street and sector; none
  // when the earlier or the later spins are none.
  std::vector<Candidate> candidates;
  int best_arc = -1;  // index in candidates of the arc with the highest earlier z; -1 if none
};

// Whether the logs, two or more, came from one wheel: chi-square of logs x 37 numbers, the
// logs without analysed spins and the numbers no log holds left out.
struct Homogeneity {
  double statistic = 0;
  int df = 0;
  double p_value = 0;
  bool simulated = false;  // p-value by simulation: expected counts too small for chi-square
};

// Where a part of the evidence against a fair wheel comes from (Evidence.h).
enum class EvidenceSource : std::int8_t {
  Numbers,    // the 37 numbers together
  Pocket,     // the share of one number
  Arc,        // the share of 2 to 18 neighbouring pockets
  Family,     // a family's cells (Colour .. Sector), zero a cell of its own
  Signature,  // the 37 distances from spin to spin together
  Steps,      // the share of neighbouring distances
};

// A figure at one point of the schedule (or a log's end): the evidence, or the bankroll.
struct SpinFigure {
  std::int64_t spin = 0;  // spins analysed up to the point
  double value = 0;
};

// The evidence against a fair wheel over the analysed spins in the order read: an average of
// test martingales with weights fixed in advance, read at every point of the schedule and at
// every log's end. On a fair wheel it ever reaches kEvidenceNeeded at most kLevel of the time,
// however long the record grows and however often it is read. Values are held between
// 1e-300 and 1e300.
struct Evidence {
  double value = 1;              // at the last spin; 1 before any
  double max = 1;                // over every point so far
  std::int64_t max_at = 0;       // the first point at which it was that high
  std::int64_t reached_at = -1;  // the first point at which it reached kEvidenceNeeded; -1: not
  double p_value = 1;            // min(1, 1 / max): holds however often the record is read
  bool biased = false;           // it reached kEvidenceNeeded
  // The part that carries most of it at its maximum: its source, its pockets (wheel order)
  // or distances, and its share of the evidence there.
  EvidenceSource driver = EvidenceSource::Numbers;
  Family driver_family = Family::Number;  // of a Family driver
  std::vector<int> driver_cells;
  double driver_share = 0;
  std::vector<SpinFigure> series;  // at every point
};

// A pocket staked on, and the share of the bankroll on it.
struct Stake {
  int number = 0;
  double share = 0;
};

// A bettor who never looked ahead: before each spin it stakes shares of its bankroll on
// pockets, chosen from the spins before it alone, and is paid 35 to 1. Bankrolls are in units
// of a start of kBettorStart, held between 1e-300 and 1e300.
struct BettorFigures {
  double start = 0;
  double now = 0;
  double max = 0;  // over the points
  double min = 0;
  double fair = 0;               // what a fair wheel leaves on average with the same stakes
  std::vector<Stake> stakes_on;  // for the next spin, in wheel order
  std::vector<SpinFigure> series;
};

struct Analysis {
  std::int64_t spins = 0;  // spins analysed
  Verdict verdict;
  std::vector<FileFigures> files;
  std::array<NumberFigures, kPockets> numbers{};
  int hottest = -1;  // the numbers with the highest and lowest z; -1 with no spins
  int coldest = -1;
  std::vector<GroupFigures> groups;
  std::vector<FitTest> tests;    // Number first, then each family, then Zero
  std::vector<ArcFigures> arcs;  // lengths 1..18
  int best_arc = -1;             // index in arcs of the arc with the highest z
  double arc_p_value = 0;        // of the best arc of any length, by simulation
  int simulations = 0;           // fair wheels simulated, for the verdict and the arcs
  std::uint64_t seed = 0;
  Signature signature;
  std::vector<Streak> streaks;
  std::vector<PowerFigures> power;
  Holdout holdout;
  std::optional<Homogeneity> logs_agree;  // none unless two logs or more hold analysed spins
  Evidence evidence;
  BettorFigures bettor;
};

}  // namespace vexilo::stats
