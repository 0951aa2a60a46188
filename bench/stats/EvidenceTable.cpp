// The anytime verdict and the bettor measured on simulated records, and the anytime column of
// kBiasRows (stats/analysis/Power.h):
// - the power rows: the spins by which the evidence has reached 20 on 80 records in 100, beside
//   the one-reading verdict's spins;
// - fair records read as people read them (after each of 20 evenings of 500 spins, each of 100
//   evenings of 200, and at every point of the schedule up to 100000 spins): the share ever
//   called biased, beside the one-reading verdict on the same records for the first row, and
//   the bettor's share ever 20 times its start and its mean final bankroll;
// - the bettor's power: the spins at which it holds twice its start on 80 records in 100.
// Every record has a random stream of its own, so the figures do not depend on the cores.
//   build/bench/stats/stats_evidence_table [--records N] [--seed N]
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "stats/analysis/Analyse.h"
#include "stats/analysis/Bettor.h"
#include "stats/analysis/Evidence.h"
#include "stats/analysis/FairWheels.h"
#include "stats/analysis/Looks.h"
#include "stats/analysis/Power.h"
#include "stats/analysis/Random.h"
#include "stats/analysis/Wheel.h"
#include "stats/analysis/Workers.h"
#include "stats/report/ReportWords.h"

namespace vexilo::stats {
namespace {

int gRecords = 1000;
std::uint64_t gSeed = kDefaultSeed;

// The records' streams, apart from every stream the program itself draws from.
Random RecordStream(int table, int row, int record) {
  return Random::Stream(gSeed ^ 0xE71DE7CEull, (static_cast<std::uint64_t>(table) << 48) +
                                                   (static_cast<std::uint64_t>(row) << 32) +
                                                   static_cast<std::uint64_t>(record));
}

// Spins one at a time from a wheel of the row's bias placed anywhere round it (a fair wheel for
// no row): a place drawn from the chances, or for a dealer's signature a step from the last.
class Spinner {
 public:
  Spinner(const BiasRow* row, Random& random) : random_(random) {
    if (row == nullptr) return;
    signature_ = row->kind == BiasKind::Signature;
    const auto chances = BiasedChances(*row, random.Below(kPockets));
    double total = 0;
    for (int i = 0; i < kPockets; ++i) cumulative_[i] = total += chances[i];
    biased_ = true;
  }
  int Next() {
    const int drawn = biased_ ? Draw() : random_.Below(kPockets);
    place_ = signature_ && place_ >= 0 ? (place_ + drawn) % kPockets : drawn;
    return kWheelOrder[place_];
  }

 private:
  int Draw() {
    const double u = random_.Uniform() * cumulative_[kPockets - 1];
    int i = 0;
    while (i < kPockets - 1 && cumulative_[i] <= u) ++i;
    return i;
  }
  Random& random_;
  bool biased_ = false;
  bool signature_ = false;
  int place_ = -1;
  std::array<double, kPockets> cumulative_{};
};

// The points up to `spins`: the schedule's and every `evening` spins (0: none), each with
// whether the schedule has it.
struct Point {
  std::int64_t spins;
  bool scheduled;
};
std::vector<Point> Points(std::int64_t spins, std::int64_t evening) {
  std::vector<Point> points;
  std::int64_t next = kFirstPoint;
  for (std::int64_t p = 1; p <= spins; ++p) {
    const bool scheduled = p == next;
    if (scheduled) next = NextPoint(next);
    if (scheduled || (evening > 0 && p % evening == 0) || p == spins)
      points.push_back({p, scheduled});
  }
  return points;
}

// The 80th percentile of the first spins at which something happened, a record in which it
// never did counting as never.
std::int64_t EightyInHundred(std::vector<std::int64_t> first) {
  for (std::int64_t& f : first) f = f < 0 ? INT64_MAX : f;
  std::sort(first.begin(), first.end());
  return first[static_cast<std::size_t>(std::ceil(kPower * static_cast<double>(first.size()))) - 1];
}

// The spins by which the evidence has reached 20, 80 times in 100, on records of the row.
std::int64_t AnytimeSpins(int index) {
  const BiasRow& row = kBiasRows[index];
  const std::int64_t longest = 3 * row.spins_needed;
  std::vector<std::int64_t> reached(gRecords, -1);
  RunOnWorkers(gRecords, [&](int record) {
    Random random = RecordStream(0, index, record);
    Spinner spinner(&row, random);
    EvidenceMeter meter;
    RunningCounts counts;
    for (std::int64_t next = kFirstPoint; next <= longest; next = NextPoint(next)) {
      while (counts.spins < next) counts.Add(spinner.Next());
      if (meter.Read(counts).log >= std::log(kEvidenceNeeded)) {
        reached[record] = next;
        return;
      }
    }
  });
  return EightyInHundred(reached);
}

// The spins at which the bettor holds twice its start, 80 times in 100.
std::int64_t BettorDoubles(int index) {
  const BiasRow& row = kBiasRows[index];
  const std::vector<Point> points = Points(3 * row.spins_needed, 0);
  std::vector<std::vector<char>> doubled(gRecords, std::vector<char>(points.size()));
  RunOnWorkers(gRecords, [&](int record) {
    Random random = RecordStream(1, index, record);
    Spinner spinner(&row, random);
    Bettor bettor;
    std::size_t at = 0;
    while (at < points.size()) {
      bettor.Add(spinner.Next());
      if (bettor.Spins() == points[at].spins) {
        doubled[record][at++] = bettor.LogBankroll() >= std::log(2.0);
      }
    }
  });
  for (std::size_t at = 0; at < points.size(); ++at) {
    int count = 0;
    for (const auto& d : doubled) count += d[at];
    if (count >= kPower * gRecords) return points[at].spins;
  }
  return -1;
}

struct Reading {
  const char* what;
  std::int64_t evenings;
  std::int64_t evening;  // spins an evening; 0: every point of the schedule
  std::int64_t spins;
};

struct Calibration {
  double everBiased = 0;
  double bettorEver = 0;                            // ever 20 times its start
  double bettorMean = 0;                            // final bankroll over its start
  double oneReadingEver = -1, oneReadingLast = -1;  // the min-p verdict, when measured
};

// The one-reading verdict after every evening, as a reader with the program's default seed
// gets it: each evening's fair wheels drawn once from that seed, as the program draws them,
// and every record held against them as one more wheel.
std::vector<std::vector<char>> OneReading(const Reading& r,
                                          const std::vector<std::vector<WheelTally>>& tallies) {
  std::vector<std::vector<char>> biased(gRecords, std::vector<char>(r.evenings));
  for (std::int64_t e = 0; e < r.evenings; ++e) {
    const LookScorer scorer((e + 1) * r.evening);
    Random random = Random::Stream(gSeed, 0xFA1Full + e);
    WheelTally any;
    DrawWheel(random, scorer.Spins(), {}, any);
    const FairWheels fair(scorer, any, kDefaultSimulations, gSeed);
    RunOnWorkers(gRecords, [&](int record) {
      biased[record][e] = fair.PValueOf(scorer.Score(tallies[record][e])) < kLevel;
    });
  }
  return biased;
}

Calibration Calibrate(int index, const Reading& r, bool withOneReading) {
  const std::vector<Point> points = Points(r.spins, r.evening);
  std::vector<char> ever(gRecords), bettorEver(gRecords);
  std::vector<double> bettorEnd(gRecords);
  std::vector<std::vector<WheelTally>> tallies(gRecords);
  RunOnWorkers(gRecords, [&](int record) {
    Random random = RecordStream(2, index, record);
    Spinner spinner(nullptr, random);
    EvidenceMeter meter;
    Bettor bettor;
    RunningCounts counts;
    for (const Point& point : points) {
      while (counts.spins < point.spins) counts.Add(spinner.Next());
      bettor.At(counts, point.scheduled);
      ever[record] |= meter.Read(counts).log >= std::log(kEvidenceNeeded);
      bettorEver[record] |= bettor.LogBankroll() >= std::log(kEvidenceNeeded);
      if (withOneReading && r.evening > 0 && point.spins % r.evening == 0) {
        tallies[record].push_back({counts.numbers, counts.distances});
      }
    }
    bettorEnd[record] = std::exp(bettor.LogBankroll());
  });
  Calibration c;
  for (int record = 0; record < gRecords; ++record) {
    c.everBiased += ever[record];
    c.bettorEver += bettorEver[record];
    c.bettorMean += bettorEnd[record];
  }
  c.everBiased /= gRecords;
  c.bettorEver /= gRecords;
  c.bettorMean /= gRecords;
  if (withOneReading) {
    const auto biased = OneReading(r, tallies);
    c.oneReadingEver = c.oneReadingLast = 0;
    for (const auto& b : biased) {
      c.oneReadingEver += std::find(b.begin(), b.end(), 1) != b.end();
      c.oneReadingLast += b.back();
    }
    c.oneReadingEver /= gRecords;
    c.oneReadingLast /= gRecords;
  }
  return c;
}

// "4.2% ± 0.6%": a share of the records with its Monte Carlo standard error.
std::string Share(double share) {
  char text[64];
  std::snprintf(text, sizeof text, "%.1f%% ± %.1f%%", 100 * share,
                100 * std::sqrt(share * (1 - share) / gRecords));
  return text;
}

}  // namespace
}  // namespace vexilo::stats

int main(int argc, char** argv) {
  using namespace vexilo::stats;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--records") == 0) gRecords = std::stoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--seed") == 0) gSeed = std::stoull(argv[i + 1]);
  }
  constexpr const char* kKinds[] = {"Number", "Arc", "Signature"};
  std::printf("// stats_evidence_table --records %d --seed %llu\n", gRecords,
              static_cast<unsigned long long>(gSeed));
  std::vector<std::int64_t> anytime;
  for (std::size_t i = 0; i < kBiasRows.size(); ++i) {
    const BiasRow& row = kBiasRows[i];
    anytime.push_back(AnytimeSpins(static_cast<int>(i)));
    std::printf("    {BiasKind::%s, %d, %.2f, %lld, %lld},\n", kKinds[static_cast<int>(row.kind)],
                row.pockets, row.excess, static_cast<long long>(row.spins_needed),
                static_cast<long long>(anytime.back()));
    std::fflush(stdout);
  }
  std::printf(
      "\n| The wheel has | One reading | However often read | Ratio |\n|---|---|---|---|\n");
  for (std::size_t i = 0; i < kBiasRows.size(); ++i) {
    const BiasRow& row = kBiasRows[i];
    const PowerFigures p{row.kind, row.pockets, row.excess, row.spins_needed, 0, anytime[i]};
    std::printf("| %s | %lld | %lld | %.2f |\n", BiasWords(p).c_str(),
                static_cast<long long>(row.spins_needed), static_cast<long long>(anytime[i]),
                static_cast<double>(anytime[i]) / static_cast<double>(row.spins_needed));
  }
  const Reading readings[] = {{"20 evenings of 500 spins", 20, 500, 10000},
                              {"100 evenings of 200 spins", 100, 200, 20000},
                              {"every point of the schedule to 100000", 1, 0, 100000}};
  std::printf(
      "\n| Fair records read after | Ever biased | One reading: ever, last | "
      "Bettor ever 20x | Bettor's mean final |\n|---|---|---|---|---|\n");
  for (int i = 0; i < 3; ++i) {
    const Calibration c = Calibrate(i, readings[i], i == 0);
    std::printf("| %s | %s | %s | %s | %.3f |\n", readings[i].what, Share(c.everBiased).c_str(),
                c.oneReadingEver < 0
                    ? "-"
                    : (Share(c.oneReadingEver) + ", " + Share(c.oneReadingLast)).c_str(),
                Share(c.bettorEver).c_str(), c.bettorMean);
    std::fflush(stdout);
  }
  std::printf("\n| The wheel has | Bettor doubles 100 units 8 times in 10 by |\n|---|---|\n");
  for (const int i : {1, 2, 4}) {
    const BiasRow& row = kBiasRows[i];
    const PowerFigures p{row.kind, row.pockets, row.excess, row.spins_needed, 0, row.anytime_spins};
    std::printf("| %s | %lld |\n", BiasWords(p).c_str(), static_cast<long long>(BettorDoubles(i)));
    std::fflush(stdout);
  }
}
