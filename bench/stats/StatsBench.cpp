#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "stats/analysis/Analyse.h"
#include "stats/analysis/Arcs.h"
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

// The best arc's p-value alone: 10000 fair wheels of 10^7 spins.
void BM_ArcPValue(benchmark::State& state) {
  const ArcScan scan(kSpins);
  for (auto _ : state)
    benchmark::DoNotOptimize(scan.PValue(3.0, kDefaultSimulations, kDefaultSeed));
}
BENCHMARK(BM_ArcPValue)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexilo::stats
