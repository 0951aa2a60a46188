#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/PocketTable.h"

namespace vexilo::stats {

// What the reports read: every figure of one analysis, computed once. A figure that needs at
// least one spin (a share, a z-score, a p-value) is NaN when there is none to analyse.

inline constexpr double kLevel = 0.05;  // significance level of every verdict and flag
inline constexpr int kLongestArc = 18;

// One log as given on the command line.
struct FileFigures {
  std::string name;           // as given; "-" is standard input
  std::int64_t spins = 0;     // lines read from it
  std::int64_t analysed = 0;  // of those, how many are in the analysis (fewer with --last)
};

enum class Heat : std::int8_t { none, hot, cold };

struct NumberFigures {
  int number = 0;
  std::int64_t count = 0;
  double share = 0;                  // count / spins
  double expected = 0;               // expected share, 1/37
  double z = 0;                      // (count - spins/37) / sqrt(spins * 1/37 * 36/37)
  double p_value = 0;                // exact binomial, two-sided (the smaller tail doubled)
  double adjusted_p = 0;             // Holm's step-down adjustment over the 37 numbers
  Heat heat = Heat::none;            // hot or cold only when adjusted_p < kLevel
  std::int64_t since_last = 0;       // 0: it was the last spin; spins when it never came up
  std::int64_t longest_absence = 0;  // longest run of spins without it, at either end too
};

// A group of a family the board shows; zero counts against every group.
struct GroupFigures {
  std::string family;  // "colour", "parity", "half", "dozen", "column", "street", "sector"
  std::string name;    // "red", "even", "1-18", "1st 12", "column 1", "1-2-3", "32,15,19,..."
  int pockets = 0;     // numbers in the group
  std::int64_t count = 0;
  double share = 0;
  double expected = 0;  // pockets / 37
  double z = 0;
};

// A chi-square goodness-of-fit test against a fair wheel.
struct FitTest {
  std::string family;  // "number" (the 37 numbers), a group family with zero its own cell,
                       // or "signature"
  double statistic = 0;
  int df = 0;
  double p_value = 0;
  std::string verdict;  // "no sign of bias at the 5% level", "the dozens are uneven: p = 0.003"
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
  FitTest test;  // family "signature", df 36
};

struct Streak {
  std::string name;  // "red", "black", "even", "odd", "same dozen", "same column"
  std::int64_t longest = 0;
  std::int64_t current = 0;  // the run the last spin belongs to; 0 when it is not in one
};

// Spins needed to see one pocket that comes up `excess` more often (0.10 = 10% more) with the
// 37-number test at the 5% level and 80% power.
struct PowerFigures {
  double excess = 0;
  std::int64_t spins_needed = 0;
  double power_now = 0;  // the chance the test sees it with the spins analysed
};

struct Analysis {
  std::int64_t spins = 0;  // spins analysed
  std::vector<FileFigures> files;
  std::array<NumberFigures, kPockets> numbers{};
  int hottest = -1;  // the numbers with the highest and lowest z; -1 with no spins
  int coldest = -1;
  std::vector<GroupFigures> groups;
  std::vector<FitTest> tests;    // "number" first, then each family
  std::vector<ArcFigures> arcs;  // lengths 1..18
  int best_arc = -1;             // index in arcs of the arc with the highest z
  double arc_p_value = 0;        // of the best arc of any length, by simulation
  int arc_simulations = 0;
  std::uint64_t seed = 0;
  Signature signature;
  std::vector<Streak> streaks;
  std::vector<PowerFigures> power;
};

}  // namespace vexilo::stats
