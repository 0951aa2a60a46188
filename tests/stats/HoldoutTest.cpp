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
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Analysis a = OfLogs(c.logs);
    ASSERT_TRUE(a.logs_agree.has_value());
    EXPECT_EQ(a.logs_agree->simulated, c.simulated);
    EXPECT_GE(a.logs_agree->p_value, c.lowestP);
    EXPECT_LE(a.logs_agree->p_value, c.highestP);
  }
  EXPECT_FALSE(OfLogs({Cycle(1)}).logs_agree.has_value());
  EXPECT_FALSE(OfLogs({Cycle(1), {}}).logs_agree.has_value());
}

}  // namespace
}  // namespace vexilo::stats
