#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "stats/analysis/Bettor.h"
#include "stats/analysis/Evidence.h"
#include "stats/analysis/LogGamma.h"
#include "stats/analysis/Power.h"
#include "stats/analysis/Random.h"

namespace vexilo::stats {
namespace {

using Spins = std::vector<std::uint8_t>;

// A seeded record: a fair wheel, or one whose row of the power table is placed at `start`.
Spins Record(std::int64_t spins, int row, int start, std::uint64_t seed) {
  Random random(seed);
  std::array<double, kPockets> chances{};
  chances.fill(1.0 / kPockets);
  if (row >= 0) chances = BiasedChances(kBiasRows[row], start);
  const bool dealer = row >= 0 && kBiasRows[row].kind == BiasKind::Signature;
  Spins out;
  int place = 0;
  for (std::int64_t i = 0; i < spins; ++i) {
    double u = random.Uniform();
    int drawn = 0;
    while (drawn < kPockets - 1 && (u -= chances[drawn]) >= 0) ++drawn;
    place = dealer ? (place + drawn) % kPockets : drawn;
    out.push_back(static_cast<std::uint8_t>(kWheelOrder[place]));
  }
  return out;
}

RunningCounts CountsOf(const Spins& spins) {
  RunningCounts counts;
  counts.Add(spins);
  return counts;
}

// On a fair wheel the next spin is any of 37 alike, and every part of the evidence is a fair
// bet on it: averaged over them, each part, and the weighted whole, is what it was before.
// Before any spin the whole is 1: its weights sum to 1.
TEST(Evidence, EveryPartIsAFairBetOnTheNextSpin) {
  EvidenceMeter meter;
  EXPECT_NEAR(meter.Read(RunningCounts{}).log, 0, 1e-9);
  const std::vector<Spins> before = {{}, {17}, {17, 17, 0, 32}, Record(300, 2, 5, 1)};
  for (const Spins& prefix : before) {
    SCOPED_TRACE(prefix.size());
    const std::vector<double> now = meter.PartLogs(CountsOf(prefix));
    const double whole = meter.Read(CountsOf(prefix)).log;
    std::vector<double> next(now.size(), 0.0);
    double nextWhole = 0;
    for (int n = 0; n < kPockets; ++n) {
      Spins longer = prefix;
      longer.push_back(static_cast<std::uint8_t>(n));
      const std::vector<double> logs = meter.PartLogs(CountsOf(longer));
      for (std::size_t i = 0; i < logs.size(); ++i)
        next[i] += std::exp(logs[i] - now[i]) / kPockets;
      nextWhole += std::exp(meter.Read(CountsOf(longer)).log - whole) / kPockets;
    }
    for (std::size_t i = 0; i < next.size(); ++i) ASSERT_NEAR(next[i], 1, 1e-9) << "part " << i;
    EXPECT_NEAR(nextWhole, 1, 1e-9);
  }
}

// ln Γ to within a few of its last digits on every platform's maths library: the recurrence
// below 10, Stirling's series from 10 on (exact values; 1e6 from the C library's lgamma).
TEST(Evidence, LogGamma) {
  const std::vector<std::pair<double, double>> cases = {
      {0.5, 0.5723649429247001},  {2, 0},
      {3.25, 0.9358019311087249}, {10.5, 13.940625219403763},
      {100, 359.1342053695754},   {1e6, 12815504.569147611}};
  for (const auto& [x, lgamma] : cases) {
    EXPECT_NEAR(LogGamma(x), lgamma, 4e-14 + 1e-15 * lgamma) << x;
  }
}

// The schedule's points depend on the spin alone; the logs' ends are read besides them.
TEST(Evidence, TheSchedule) {
  // Each point and the next: 10 spins on below 220, a twentieth of the spins from there.
  const std::int64_t points[] = {10, 190, 200, 219, 220, 1000, 10'000'000};
  const std::int64_t nexts[] = {20, 200, 210, 229, 231, 1050, 10'500'000};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(NextPoint(points[i]), nexts[i]) << points[i];
  struct Walk {
    std::int64_t spins;
    std::vector<std::int64_t> ends;
    std::vector<std::pair<std::int64_t, bool>> visits;  // spins, scheduled
  };
  const std::vector<Walk> walks = {
      {9, {9}, {{9, false}}},
      {35, {15, 20, 35}, {{10, true}, {15, false}, {20, true}, {30, true}, {35, false}}},
      {231, {231}, {}},
  };
  for (const Walk& w : walks) {
    std::vector<std::pair<std::int64_t, bool>> seen;
    WalkSchedule(Spins(w.spins, 3), w.ends, [&](const RunningCounts& counts, bool scheduled) {
      ASSERT_EQ(counts.numbers[3], counts.spins);
      ASSERT_EQ(counts.distances[0], counts.spins - 1);
      seen.emplace_back(counts.spins, scheduled);
    });
    if (w.spins == 231) {
      EXPECT_EQ(seen.size(), 23u);  // 10 .. 200 by tens, 210, 220, 231
      EXPECT_EQ(seen.back(), std::make_pair(std::int64_t{231}, true));
    } else {
      EXPECT_EQ(seen, w.visits) << w.spins;
    }
  }
}

// Seeded records, their figures pinned: a fair wheel, each kind of bias, and two logs. The
// evidence now and at its highest; the spin of its highest, of reaching 20 (-1: never), and the
// points read.
TEST(Evidence, FiguresOfSeededRecords) {
  struct Case {
    const char* what;
    Spins spins;
    std::vector<std::int64_t> ends;
    std::array<double, 2> value;
    std::array<std::int64_t, 3> at;
    EvidenceSource driver;
    std::vector<int> cells;
  };
  const std::vector<Case> cases = {
      {"fair",
       Record(5000, -1, 0, 1),
       {},
       {0.28621553587697862, 1.3304411363067068},
       {493, -1, 87},
       EvidenceSource::Arc,
       {23, 10, 5, 24, 16, 33, 1}},
      {"a pocket 50% hot",
       Record(5000, 2, 9, 2),
       {},
       {20153.151391317493, 51678.725772037782},
       {3755, 2199, 87},
       EvidenceSource::Pocket,
       {34}},
      {"an arc of 5 25% hot",
       Record(5000, 4, 20, 3),
       {},
       {647388.86414810154, 34108525.14725256},
       {4139, 353, 87},
       EvidenceSource::Arc,
       {24, 16, 33, 1, 20, 14, 31}},
      {"a dealer's signature",
       Record(5000, 5, 30, 4),
       {},
       {38667.05526040007, 408962.67903087911},
       {4345, 2308, 87},
       EvidenceSource::Steps,
       {30, 31, 32, 33, 34}},
      // The first 3000 spins of the pocket's record, in two logs: its end is read too.
      {"two logs",
       Record(3000, 2, 9, 2),
       {1234},
       {3511.1897721223572, 4717.2714773774787},
       {2804, 2199, 78},
       EvidenceSource::Pocket,
       {34}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Evidence e = EvidenceOf(c.spins, c.ends);
    EXPECT_NEAR(e.value, c.value[0], 1e-9 * c.value[0]);
    EXPECT_NEAR(e.max, c.value[1], 1e-9 * c.value[1]);
    const std::array<std::int64_t, 3> at = {e.max_at, e.reached_at,
                                            static_cast<std::int64_t>(e.series.size())};
    EXPECT_EQ(at, c.at);
    EXPECT_EQ(e.biased, c.at[1] >= 0);
    EXPECT_DOUBLE_EQ(e.p_value, std::min(1.0, 1 / e.max));
    EXPECT_EQ(e.driver, c.driver);
    EXPECT_EQ(e.driver_cells, c.cells);
  }
}

// The stakes for spin t come from the spins before it alone: fed one at a time they are what a
// bettor given only those spins would stake, the bankroll is those stakes paid at the casino's
// odds, and the whole record at once gives the same bankroll.
TEST(Bettor, StakesComeFromEarlierSpinsAlone) {
  const Spins spins = Record(3000, 4, 20, 5);
  Bettor one;
  double bankroll = 0;  // ln, paid here from the stakes as they stood before each spin
  std::vector<Stakes> before;
  for (const std::uint8_t n : spins) {
    const Stakes stakes = one.Next();
    double staked = 0;
    for (const double s : stakes) {
      ASSERT_GE(s, 0);
      staked += s;
    }
    ASSERT_LT(staked, 1);
    bankroll += std::log(1 - staked + 36 * stakes[n]);  // 35 to 1 and the stake back
    before.push_back(stakes);
    one.Add(n);
  }
  EXPECT_NEAR(one.LogBankroll(), bankroll, 1e-9);
  const BettorFigures whole = BettorOf(spins, {});
  EXPECT_NEAR(std::log(whole.now / kBettorStart), bankroll, 1e-9);
  for (const std::size_t t : {0, 9, 10, 11, 230, 231, 1999, 2999}) {
    const BettorFigures earlier = BettorOf(std::span(spins).first(t), {});
    Stakes stakes{};
    for (const Stake& s : earlier.stakes_on) stakes[s.number] = s.share;
    EXPECT_EQ(stakes, before[t]) << "spin " << t;
  }
}

// Seeded records, the bettor's figures pinned: now, at best, at worst, and a fair wheel's.
TEST(Bettor, FiguresOfSeededRecords) {
  struct Case {
    const char* what;
    Spins spins;
    std::array<double, 4> figures;
    std::vector<int> on;
  };
  const std::vector<Case> cases = {
      {"fair",
       Record(5000, -1, 0, 1),
       {16.875983890405376, 109.47459007999353, 12.756572318594502, 71.822791182724316},
       {16}},
      {"a pocket 50% hot",
       Record(5000, 2, 9, 2),
       {48533.109895826608, 48533.109895826608, 45.603467194771135, 48.501890051894414},
       {34}},
      {"an arc of 5 25% hot",
       Record(5000, 4, 20, 3),
       {293190.43160443928, 781397.60497969505, 90.770186115893452, 13.376040095787637},
       {24, 16, 33, 1, 20, 14, 31}},
      {"a dealer's signature",
       Record(5000, 5, 30, 4),
       {11.950714405916289, 144.27584477014818, 11.950714405916289, 62.355536755990229},
       {25}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const BettorFigures b = BettorOf(c.spins, {});
    EXPECT_EQ(b.start, kBettorStart);
    const std::array<double, 4> figures = {b.now, b.max, b.min, b.fair};
    for (std::size_t i = 0; i < figures.size(); ++i) {
      EXPECT_NEAR(figures[i], c.figures[i], 1e-9 * c.figures[i]) << i;
    }
    std::vector<int> on;
    for (const Stake& s : b.stakes_on) on.push_back(s.number);
    EXPECT_EQ(on, c.on);
  }
}

}  // namespace
}  // namespace vexilo::stats
