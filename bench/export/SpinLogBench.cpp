#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "engine/SpinTally.h"
#include "export/SafeFile.h"
#include "export/SpinLog.h"

namespace vexilo {
namespace {

// A history filled to capacity with random spins: about 1 MB of log.
std::unique_ptr<SpinTally> FullTally() {
  auto tally = std::make_unique<SpinTally>();
  std::mt19937 random(11);
  for (int k = 0; k < MAX_SPINS; ++k) {
    if (!tally->Spin(static_cast<int>(random() % 37))) break;
  }
  return tally;
}

void BM_FormatSpinLog(benchmark::State& state) {
  const auto tally = FullTally();
  for (auto _ : state) {
    std::string log;  // a fresh list each time, as each save makes one
    FormatSpinLog(*tally, log);
    benchmark::DoNotOptimize(log.data());
  }
  state.SetBytesProcessed(state.iterations() * 10 * MAX_SPINS);
}
BENCHMARK(BM_FormatSpinLog)->Unit(benchmark::kMillisecond);

// The whole save of a full history: format, write beside the target, flush, rename.
void BM_SaveFullHistory(benchmark::State& state) {
  const auto tally = FullTally();
  const std::filesystem::path target =
      std::filesystem::temp_directory_path() / "vexilo-bench-spins.CSV";
  for (auto _ : state) {
    std::string log;
    FormatSpinLog(*tally, log);
    if (const SaveResult result = WriteFileAtomically(target.string(), log); !result.Saved()) {
      state.SkipWithError(result.message.c_str());
      break;
    }
  }
  std::error_code ignored;
  std::filesystem::remove(target, ignored);
}
BENCHMARK(BM_SaveFullHistory)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vexilo
