// Prints kBiasRows (stats/analysis/Power.h): for each biased wheel, the spins at which the
// whole-report verdict calls it biased 80 times in 100, then the same as the read-me's table, in
// the report's words. The verdict's own simulation, with a fixed seed and the same seeds at
// every step, so that the power grows smoothly with the spins and the search settles; run it
// again to regenerate the table:
//   build/bench/stats/stats_power_table [--seed N]
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
  if (argc == 3 && std::strcmp(argv[1], "--seed") == 0) seed = std::stoull(argv[2]);
  std::printf("// stats_power_table --seed %llu: %d fair and %d biased wheels at each step.\n",
              static_cast<unsigned long long>(seed), kFairWheels, kBiasedPerStep);
  std::vector<PowerFigures> table;
  for (const BiasRow& row : kBiasRows) {
    const std::int64_t needed = SpinsNeeded(row, seed);
    std::printf("    {BiasKind::%s, %d, %.2f, %lld},\n",
                row.kind == BiasKind::Number ? "Number" : "Arc", row.pockets, row.excess,
                static_cast<long long>(needed));
    std::fflush(stdout);
    table.push_back({row.kind, row.pockets, row.excess, needed, 0});
  }
  std::printf("\n| The wheel has | Spins needed |\n|---|---|\n");
  for (const PowerFigures& p : table) {
    std::printf("| %s | %lld |\n", BiasWords(p).c_str(), static_cast<long long>(p.spins_needed));
  }
}
