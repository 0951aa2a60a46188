#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stats/analysis/Analyse.h"

namespace vexilo::stats {
namespace {

using Spins = std::vector<std::uint8_t>;

// Every number `rounds` times; with `extra`, that number once more after every fourth spin.
Spins Cycle(int rounds, int extra = -1) {
  Spins spins;
  for (int i = 0; i < rounds * kPockets; ++i) {
    spins.push_back(static_cast<std::uint8_t>(i % kPockets));
    if (extra >= 0 && i % 4 == 3) spins.push_back(static_cast<std::uint8_t>(extra));
  }
  return spins;
}

Spins Join(Spins earlier, const Spins& later) {
  earlier.insert(earlier.end(), later.begin(), later.end());
  return earlier;
}

// 1 to 36 `rounds` times, then 0 once.
Spins OneZero(int rounds) {
  Spins spins;
  for (const std::uint8_t n : Cycle(rounds)) {
    if (n != 0) spins.push_back(n);
  }
  spins.push_back(0);
  return spins;
}

Analysis OfLogs(const std::vector<Spins>& logs, double holdout = kDefaultHoldout) {
  SpinAccumulator all;
  std::vector<FileFigures> files;
  for (const Spins& log : logs) {
    all.Add(log);
    FileFigures& file = files.emplace_back();
    file.spins = file.analysed = static_cast<std::int64_t>(log.size());
  }
  AnalysisOptions options;
  options.holdout = holdout;
  options.simulations = 2000;
  return Analyse(all, std::move(files), options);
}

// Chosen on the earlier spins, judged on the later ones alone.
TEST(Holdout, WhatLookedHotEarlierHoldsUpOnlyIfItStaysHot) {
  struct Case {
    std::string name;
    Spins spins;
    double fraction;
    std::size_t candidates;
    bool enough;
    double lowestAdjustedP, highestAdjustedP;  // of the number 17
  };
  const std::vector<Case> cases = {
      {"hot early and late", Join(Cycle(5, 17), Cycle(5, 17)), 0.5, 20, true, 0, 0.001},
      {"hot early only", Join(Cycle(5, 17), Cycle(6)), 0.5, 20, true, 0.99, 1},
      {"no check", Join(Cycle(5, 17), Cycle(5, 17)), 0, 0, false, 0, 1},
      {"too few later spins", Cycle(2, 17), 0.5, 20, false, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Holdout h = OfLogs({c.spins}, c.fraction).holdout;
    EXPECT_EQ(h.earlier_spins + h.later_spins, static_cast<std::int64_t>(c.spins.size()));
    ASSERT_EQ(h.candidates.size(), c.candidates);
    EXPECT_EQ(h.enough, c.enough);
    if (c.candidates == 0) continue;
    EXPECT_EQ(h.candidates.front().pockets, std::vector<int>{17});
    EXPECT_GE(h.candidates.front().adjusted_p, c.lowestAdjustedP);
    EXPECT_LE(h.candidates.front().adjusted_p, c.highestAdjustedP);
    EXPECT_EQ(h.candidates[h.best_arc].kind, CandidateKind::Arc);
  }
}

// The later spins are the share rounded to the nearest spin, and 185 of them (5 a pocket) are
// enough. On an even record every kind ties: the first in the table's order is chosen, and
// every later bet returns the house's -1/37.
TEST(Holdout, BoundariesAndTies) {
  struct Case {
    std::size_t spins;
    std::int64_t later;
    bool enough;
  };
  for (const Case& c : {Case{370, 185, true}, Case{369, 185, true}, Case{368, 184, false}}) {
    Spins spins = Cycle(10);
    spins.resize(c.spins);
    const Holdout h = OfLogs({spins}).holdout;
    EXPECT_EQ(h.later_spins, c.later) << c.spins;
    EXPECT_EQ(h.enough, c.enough) << c.spins;
  }
  const Holdout h = OfLogs({Cycle(10)}).holdout;
  ASSERT_EQ(h.candidates.size(), 20u);
  EXPECT_EQ(h.candidates[0].pockets, std::vector<int>{0});
  EXPECT_EQ(h.best_arc, 1);
  EXPECT_EQ(h.candidates[1].pockets, (std::vector<int>{0, 32}));
  EXPECT_EQ(h.candidates[18].pockets, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(h.candidates[19].pockets, (std::vector<int>{32, 15, 19, 4, 21, 2, 25, 17, 34}));
  for (const Candidate& c : h.candidates) {
    EXPECT_EQ(c.expected, 5.0 * static_cast<double>(c.pockets.size()));
    EXPECT_NEAR(c.return_rate, -1.0 / 37, 1e-15);
  }
  // 5 of 185 later spins on one pocket, 15 on a street (SciPy's binom.sf and beta.ppf).
  EXPECT_NEAR(h.candidates[0].p_value, 0.5619138658968006, 1e-12);
  EXPECT_NEAR(h.candidates[0].share_ci[0], 0.008832608232584386, 1e-12);
  EXPECT_NEAR(h.candidates[0].share_ci[1], 0.06194203307795625, 1e-12);
  EXPECT_NEAR(h.candidates[18].p_value, 0.538704710600463, 1e-12);
}

TEST(Homogeneity, TheLogsOfOneWheelAgree) {
  struct Case {
    std::string name;
    std::vector<Spins> logs;
    bool simulated;
    double lowestP, highestP;
  };
  const std::vector<Case> cases = {
      {"the same spins twice", {Cycle(10), Cycle(10)}, false, 1, 1},
      {"a changed wheel", {Cycle(10), Cycle(10, 17)}, false, 0, 0.01},
      {"small logs, the same", {Cycle(1), Cycle(1)}, true, 1, 1},
      {"small logs, a changed wheel", {Cycle(1), Spins(37, 17)}, true, 0, 0.001},
      // 0 once in each log: the other numbers' spins are dealt out from their mode.
      {"large logs, a rare number", {OneZero(100), OneZero(100)}, true, 1, 1},
      // Three 1s against three 2s: 2 of the 20 ways to deal the six spins out are as extreme.
      {"dealt by hand", {Spins(3, 1), Spins(3, 2)}, true, 0.08, 0.12},
      // 3 of the 84 ways to deal the nine spins out are as extreme.
      {"three logs dealt by hand", {Spins(3, 1), Spins(3, 2), Spins(3, 1)}, true, 0.02, 0.055},
      // The 1 dealt to the first log or the 3 are as extreme, a third of the deals, though their
      // chi-squares differ in the last bit.
      {"one spin against five", {Spins(1, 1), Spins{2, 2, 2, 2, 3}}, true, 0.29, 0.38},
      // Each number 5 times a log: an expected count of exactly 5 is not simulated.
      {"expected counts of 5", {Cycle(5), Cycle(5)}, false, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Analysis a = OfLogs(c.logs);
    ASSERT_TRUE(a.logs_agree.has_value());
    EXPECT_EQ(a.logs_agree->simulated, c.simulated);
    EXPECT_GE(a.logs_agree->p_value, c.lowestP);
    EXPECT_LE(a.logs_agree->p_value, c.highestP);
  }
  // The seeded simulations, with the observed table counted among the 2000: (t + 1) / 2001.
  EXPECT_EQ(OfLogs({Spins(3, 1), Spins(3, 2)}).logs_agree->p_value, 208 / 2001.0);
  EXPECT_EQ(OfLogs({Spins(3, 1), Spins(3, 2), Spins(3, 1)}).logs_agree->p_value, 76 / 2001.0);
  EXPECT_FALSE(OfLogs({Cycle(1)}).logs_agree.has_value());
  EXPECT_FALSE(OfLogs({Cycle(1), {}}).logs_agree.has_value());
  // Logs whose spins do not add up to the record's are left as they are, never read out of it.
  SpinAccumulator all;
  all.Add(Cycle(2));
  std::vector<FileFigures> files(2);
  files[0].analysed = files[1].analysed = 50;
  EXPECT_FALSE(Analyse(all, files, {}).logs_agree.has_value());
}

}  // namespace
}  // namespace vexilo::stats
