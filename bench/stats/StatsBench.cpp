#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "stats/analysis/Analyse.h"
#include "stats/analysis/Bettor.h"
#include "stats/analysis/Evidence.h"
#include "stats/analysis/FairWheels.h"
#include "stats/analysis/Looks.h"
#include "stats/analysis/Power.h"
#include "stats/analysis/ReadLogs.h"

namespace vexilo::stats {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kSpins = 10'000'000;

// Logs of a fair wheel as the board writes them, made once per run in the temporary folder.
class Logs {
 public:
  Logs() {
    const fs::path folder = fs::temp_directory_path();
    whole_ = (folder / "vexilo-bench-10M.CSV").string();
    halves_ = {(folder / "vexilo-bench-5M-a.CSV").string(),
               (folder / "vexilo-bench-5M-b.CSV").string()};
    std::mt19937_64 random(1);
    std::ofstream whole(whole_, std::ios::binary), first(halves_[0], std::ios::binary),
        second(halves_[1], std::ios::binary);
    std::string chunk;
    for (std::int64_t i = 0; i < kSpins; ++i) {
      const int n = static_cast<int>(random() % 37);
      chunk += std::to_string(n) + (n == 0 ? ",Green\r\n" : IsRed(n) ? ",Red\r\n" : ",Black\r\n");
      if (chunk.size() > (1u << 20) || i + 1 == kSpins) {
        whole << chunk;
        (i < kSpins / 2 ? first : second) << chunk;
        chunk.clear();
      }
    }
  }
  ~Logs() {
    std::error_code ignored;
    fs::remove(whole_, ignored);
    for (const std::string& half : halves_) fs::remove(half, ignored);
  }
  const std::string& Whole() const { return whole_; }
  const std::vector<std::string>& Halves() const { return halves_; }

 private:
  static bool IsRed(int n) { return ((n <= 10 || (n >= 19 && n <= 28)) == (n % 2 == 1)); }
  std::string whole_;
  std::vector<std::string> halves_;
};

const Logs& TheLogs() {
  static const Logs logs;
  return logs;
}

void ReadAndAnalyse(benchmark::State& state, const std::vector<std::string>& names) {
  for (auto _ : state) {
    const ReadLogsResult read = ReadLogs(names);
    const Analysis analysis = Analyse(read.spins, read.files);
    benchmark::DoNotOptimize(analysis.arc_p_value);
  }
  state.SetItemsProcessed(state.iterations() * kSpins);
}

// Reading alone: one log of 10^7 spins in one part per core, and in one part.
void BM_ReadLogs10M(benchmark::State& state) {
  const std::vector<std::string> names = {TheLogs().Whole()};
  const ReadOptions options{.parts = static_cast<int>(state.range(0))};
  for (auto _ : state) benchmark::DoNotOptimize(ReadLogs(names, {}, options).spins.Spins());
  state.SetItemsProcessed(state.iterations() * kSpins);
}
BENCHMARK(BM_ReadLogs10M)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// One log of 10^7 spins: one core reads and analyses it, the 10000 fair wheels included.
void BM_ReadAndAnalyse10M(benchmark::State& state) {
  ReadAndAnalyse(state, {TheLogs().Whole()});
}
BENCHMARK(BM_ReadAndAnalyse10M)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same spins in two logs, read on two cores.
void BM_ReadAndAnalyseTwoLogs(benchmark::State& state) {
  ReadAndAnalyse(state, TheLogs().Halves());
}
BENCHMARK(BM_ReadAndAnalyseTwoLogs)->Unit(benchmark::kMillisecond)->UseRealTime();

// A fair wheel of `spins` spins as the verdict sees it.
WheelTally FairTally(std::int64_t spins) {
  Random random(1);
  WheelTally wheel;
  DrawWheel(random, spins, {}, wheel);
  return wheel;
}

// The verdict alone: 10000 fair wheels of 10^7 spins, every look of each, and their ranks.
void BM_Verdict(benchmark::State& state) {
  const LookScorer scorer(state.range(0));
  const WheelTally observed = FairTally(state.range(0));
  for (auto _ : state) {
    const FairWheels fair(scorer, observed, kDefaultSimulations, kDefaultSeed);
    benchmark::DoNotOptimize(fair.TheVerdict().p_value);
  }
}
BENCHMARK(BM_Verdict)->Arg(kSpins)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The power rows with the spins analysed: 1000 biased wheels a row held against the verdict's.
void BM_PowerNow(benchmark::State& state) {
  const LookScorer scorer(state.range(0));
  const FairWheels fair(scorer, FairTally(state.range(0)), kDefaultSimulations, kDefaultSeed);
  for (auto _ : state) benchmark::DoNotOptimize(PowerOf(scorer, fair, kDefaultSeed));
}
BENCHMARK(BM_PowerNow)->Arg(kSpins)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// 10^7 spins of a fair wheel in memory, drawn once.
const std::vector<std::uint8_t>& FairRecord() {
  static const std::vector<std::uint8_t> spins = [] {
    Random random(7);
    std::vector<std::uint8_t> drawn(kSpins);
    for (std::uint8_t& spin : drawn) spin = static_cast<std::uint8_t>(random.Below(kPockets));
    return drawn;
  }();
  return spins;
}

// The evidence alone on 10^7 spins: the counts walked once, every part read at each of the
// schedule's points (about 240 up to 10^7).
void BM_Evidence10M(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(EvidenceOf(FairRecord(), {}).max);
  state.SetItemsProcessed(state.iterations() * kSpins);
}
BENCHMARK(BM_Evidence10M)->Unit(benchmark::kMillisecond);

// The bettor alone on the same spins: its stakes set at each point, paid between them.
void BM_Bettor10M(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(BettorOf(FairRecord(), {}).now);
  state.SetItemsProcessed(state.iterations() * kSpins);
}
BENCHMARK(BM_Bettor10M)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexilo::stats
