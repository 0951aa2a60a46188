#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "stats/analysis/Analyse.h"
#include "stats/analysis/Looks.h"
#include "stats/analysis/Statistics.h"
#include "stats/analysis/Wheel.h"
#include "stats/report/JsonReport.h"
#include "stats/report/ReportWords.h"
#include "stats/report/TextReport.h"

namespace vexilo::stats {
namespace {

std::vector<std::uint8_t> Repeat(std::initializer_list<int> numbers, int times) {
  std::vector<std::uint8_t> spins;
  for (int t = 0; t < times; ++t) {
    for (const int n : numbers) spins.push_back(static_cast<std::uint8_t>(n));
  }
  return spins;
}

TEST(Analysis, NothingToAnalyse) {
  const Analysis a = AnalyseSpins({});
  EXPECT_EQ(a.spins, 0);
  EXPECT_TRUE(std::isnan(a.numbers[17].z));
  EXPECT_EQ(a.numbers[17].since_last, 0);
  EXPECT_TRUE(std::isnan(a.arc_p_value));
  EXPECT_TRUE(std::isnan(a.verdict.p_value));
  EXPECT_FALSE(a.verdict.biased);
  for (const PowerFigures& p : a.power) EXPECT_TRUE(std::isnan(p.power_now));
  for (const FitTest& t : a.tests) {
    EXPECT_EQ(TestVerdict(t), "nothing to analyse") << FamilyName(t.family);
  }
  EXPECT_NE(TextReport(a).find("nothing to analyse"), std::string::npos);
  const std::string json = JsonReport(a);
  EXPECT_NE(json.find("\"hottest\": null"), std::string::npos);
  EXPECT_NE(json.find("\"z\": null"), std::string::npos);
}

// Each family counts every spin once, zero its own cell, with the degrees of freedom of its
// cells.
TEST(Analysis, FamiliesCoverTheWheel) {
  const Analysis a = AnalyseSpins(Repeat({0, 1, 14, 27, 36, 36, 5}, 30));
  const std::map<std::string_view, int> df = {{"number", 36}, {"colour", 2}, {"parity", 2},
                                              {"half", 2},    {"dozen", 3},  {"column", 3},
                                              {"street", 12}, {"sector", 4}, {"zero", 1}};
  ASSERT_EQ(a.tests.size(), df.size());
  for (const FitTest& t : a.tests)
    EXPECT_EQ(t.df, df.at(FamilyName(t.family))) << FamilyName(t.family);
  std::map<std::string_view, std::int64_t> counted;
  std::map<std::string_view, int> pockets;
  for (const GroupFigures& g : a.groups) {
    counted[FamilyName(g.family)] += g.count;
    pockets[FamilyName(g.family)] += g.pockets;
  }
  for (const auto& [family, count] : counted) {
    EXPECT_EQ(count + a.numbers[0].count, a.spins) << family;
    EXPECT_EQ(pockets[family], 36) << family;
  }
  EXPECT_EQ(a.groups.size(), 28u);
}

// Two neighbours on the wheel, 32 and 15, and nothing else: the best arcs are theirs, both are
// hot, and no fair wheel in 10000 comes close.
TEST(Analysis, AFavouredArc) {
  const Analysis a = AnalyseSpins(Repeat({32, 15}, 60));
  EXPECT_EQ(a.arcs[0].pockets, std::vector<int>{32});
  EXPECT_EQ(a.arcs[1].pockets, (std::vector<int>{32, 15}));
  EXPECT_EQ(a.arcs[1].count, 120);
  EXPECT_EQ(a.arcs[2].pockets, (std::vector<int>{0, 32, 15}));
  EXPECT_EQ(a.arcs[a.best_arc].length, 2);
  EXPECT_EQ(a.hottest, 15);  // the first of the two
  EXPECT_EQ(a.coldest, 0);
  EXPECT_DOUBLE_EQ(a.arc_p_value, 1.0 / 10001);
  for (const NumberFigures& f : a.numbers) {
    EXPECT_EQ(f.heat, f.number == 32 || f.number == 15 ? Heat::Hot : Heat::None) << f.number;
  }
  // Holm's step-down keeps the running maximum: equal counts, equal adjusted p-values.
  EXPECT_EQ(a.numbers[32].adjusted_p, a.numbers[15].adjusted_p);
  EXPECT_EQ(TestVerdict(a.tests[0]).rfind("the numbers are uneven", 0), 0u);
}

std::vector<std::uint8_t> Scrambled(int count) {
  std::vector<std::uint8_t> spins;
  std::uint32_t x = 1;
  for (int i = 0; i < count; ++i) {
    x = x * 1103515245u + 12345u;
    spins.push_back(static_cast<std::uint8_t>((x >> 16) % 37));
  }
  return spins;
}

// The simulation draws the same fair wheels everywhere, however many cores share them out:
// these figures are the same on Linux and under Windows, and on every machine.
TEST(Analysis, SimulationIsReproducible) {
  const std::vector<std::uint8_t> spins = Scrambled(5000);
  const Analysis a = AnalyseSpins(spins);
  EXPECT_EQ(a.arc_p_value, 7517.0 / 10001);  // 7516 of 10000 fair wheels
  EXPECT_EQ(a.verdict.p_value, 6447.0 / 10001);
  AnalysisOptions other;
  other.seed = kDefaultSeed + 1;
  EXPECT_NE(AnalyseSpins(spins, other).arc_p_value, a.arc_p_value);
}

// The verdict: its p-value, whether it says "biased", and the look that drives it.
TEST(Analysis, Verdict) {
  // Looks tie exactly on wheels with the same counts in other places: two spins in one column
  // are rarer than two of one parity, so the column drives.
  std::vector<std::uint8_t> roundTheWheel;  // every number as often, each spin one pocket on
  for (int t = 0; t < 20; ++t)
    roundTheWheel.insert(roundTheWheel.end(), kWheelOrder.begin(), kWheelOrder.end());
  struct Case {
    const char* name;
    std::vector<std::uint8_t> spins;
    bool biased;
    Look driver;
    int wheels;  // its p-value times the 10001 wheels, with the default seed
  };
  const Case cases[] = {
      {"a fair-looking wheel", Scrambled(2000), false, Look::Arc, 2457},
      {"two spins, both odd and in column 2", {17, 5}, false, Look::Column, 4550},
      {"a dealer's signature", roundTheWheel, true, Look::Signature, 7},
      {"two neighbours only", Repeat({32, 15}, 60), true, Look::Numbers, 1},
  };
  for (const Case& c : cases) {
    const Analysis a = AnalyseSpins(c.spins);
    SCOPED_TRACE(c.name);
    EXPECT_EQ(a.verdict.p_value, c.wheels / 10001.0);
    EXPECT_EQ(a.verdict.biased, c.biased);
    EXPECT_EQ(a.verdict.driver, c.driver);
    EXPECT_LE(a.verdict.driver_p, a.verdict.p_value);
  }
  // A p-value of exactly the level is not significant; nothing to analyse never is.
  EXPECT_TRUE(IsSignificant(std::nextafter(kLevel, 0)));
  EXPECT_FALSE(IsSignificant(kLevel));
  EXPECT_FALSE(IsSignificant(std::nan("")));
}

// The verdict's table of binomial tails gives the report's own exact p-values.
TEST(Analysis, BinomialTailsAgreeWithTheExactPValue) {
  for (const std::int64_t spins : {1, 2, 37, 1000, 10'000'000}) {
    const BinomialTails tails(spins);
    const double sd = std::sqrt(spins / 37.0 * 36 / 37);
    for (const double z : {-40.0, -5.0, -1.0, 0.0, 0.5, 3.0, 8.0, 30.0}) {
      const auto count = std::clamp<std::int64_t>(std::llround(spins / 37.0 + z * sd), 0, spins);
      const double exact = TwoSidedBinomialP(spins, count);
      SCOPED_TRACE(::testing::Message() << count << " of " << spins);
      EXPECT_NEAR(tails.TwoSided(count), exact, 1e-10 * exact + 1e-300);
    }
  }
}

// The power the table promises is the power the run finds at those spins; more bias, more
// power.
TEST(Analysis, PowerOfTheVerdict) {
  const Analysis a = AnalyseSpins(Repeat({1}, 12916));
  ASSERT_EQ(a.power.size(), 6u);
  EXPECT_EQ(a.power[1].spins_needed, 12916);
  // 80% for its row; each row's wheels from streams of their own, the same on every system.
  const double now[] = {0.096, 0.803, 1, 0.768, 1, 1};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(a.power[i].power_now, now[i]) << i;
  EXPECT_EQ(a.power[3].kind, BiasKind::Arc);
  // The dealer's signature is drawn spin by spin below 2000 spins and at once above: its
  // table's spins give it its 80% either way.
  EXPECT_EQ(a.power[5].kind, BiasKind::Signature);
  for (const int spins : {1500, 3944}) {
    const double now = AnalyseSpins(Repeat({1}, spins)).power[5].power_now;
    EXPECT_TRUE(spins < 2000 ? now < 0.6 : std::abs(now - 0.8) < 0.05) << spins << ": " << now;
  }
}

}  // namespace
}  // namespace vexilo::stats
