// Prints kBiasRows (stats/analysis/Power.h): for each biased wheel, the spins at which the
// whole-report verdict calls it biased 80 times in 100, then the same as the read-me's table, in
// the report's words. The verdict's own simulation, with a fixed seed and the same seeds at
// every step, so that the power grows smoothly with the spins and the search settles; run it
// again to regenerate the table (--row I: that row alone):
//   build/bench/stats/stats_power_table [--seed N] [--row I]
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "stats/analysis/Analyse.h"
#include "stats/analysis/FairWheels.h"
#include "stats/analysis/Power.h"
#include "stats/report/ReportWords.h"

namespace vexilo::stats {
namespace {

constexpr int kFairWheels = 10000;
constexpr int kBiasedPerStep = 4000;
constexpr double kClose = 0.005;  // the search stops when its bounds are this close (relative)

double PowerAt(const BiasRow& row, std::int64_t spins, std::uint64_t seed) {
  const LookScorer scorer(spins);
  Random random = Random::Stream(seed, 0xFFFFFFFFu);
  WheelTally observed;
  DrawWheel(random, spins, {}, observed);
  const FairWheels fair(scorer, observed, kFairWheels, seed);
  return SimulatedPower(std::span(&row, 1), scorer, fair, kBiasedPerStep, seed)[0];
}

std::int64_t SpinsNeeded(const BiasRow& row, std::uint64_t seed) {
  std::int64_t low = 37, high = 1000;
  while (PowerAt(row, high, seed) < kPower) low = high, high *= 2;
  while (static_cast<double>(high - low) > kClose * static_cast<double>(low)) {
    const auto middle = static_cast<std::int64_t>(std::sqrt(static_cast<double>(low * high)));
    (PowerAt(row, middle, seed) < kPower ? low : high) = middle;
  }
  return high;
}

}  // namespace
}  // namespace vexilo::stats

int main(int argc, char** argv) {
  using namespace vexilo::stats;
  std::uint64_t seed = kDefaultSeed;
  int only = -1;  // --row I: that row of the table alone
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--seed") == 0) seed = std::stoull(argv[i + 1]);
    if (std::strcmp(argv[i], "--row") == 0) only = std::stoi(argv[i + 1]);
  }
  constexpr const char* kKinds[] = {"Number", "Arc", "Signature"};
  std::printf("// stats_power_table --seed %llu: %d fair and %d biased wheels at each step.\n",
              static_cast<unsigned long long>(seed), kFairWheels, kBiasedPerStep);
  std::vector<PowerFigures> table;
  for (std::size_t i = 0; i < kBiasRows.size(); ++i) {
    if (only >= 0 && static_cast<std::size_t>(only) != i) continue;
    const BiasRow& row = kBiasRows[i];
    const std::int64_t needed = SpinsNeeded(row, seed);
    std::printf("    {BiasKind::%s, %d, %.2f, %lld, %lld},\n", kKinds[static_cast<int>(row.kind)],
                row.pockets, row.excess, static_cast<long long>(needed),
                static_cast<long long>(row.anytime_spins));
    std::fflush(stdout);
    table.push_back({row.kind, row.pockets, row.excess, needed, 0, row.anytime_spins});
  }
  std::printf("\n| The wheel has | Spins needed | However often read |\n|---|---|---|\n");
  for (const PowerFigures& p : table) {
    std::printf("| %s | %lld | %lld |\n", BiasWords(p).c_str(),
                static_cast<long long>(p.spins_needed),
                static_cast<long long>(p.anytime_spins_needed));
  }
}
