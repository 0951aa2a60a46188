#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "engine/SpinTally.h"
#include "export/SafeFile.h"
#include "export/SpinLog.h"
#include "export/SpinLogReader.h"

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

// A log of 10^7 spins of a fair wheel as the board writes it, in the temporary folder for the
// length of the run.
class TenMillionSpins {
 public:
  static constexpr std::int64_t kSpins = 10'000'000;
  TenMillionSpins()
      : path_((std::filesystem::temp_directory_path() / "vexilo-bench-read-10M.CSV").string()) {
    std::mt19937_64 random(1);
    std::ofstream out(path_, std::ios::binary);
    std::string chunk;
    for (std::int64_t i = 0; i < kSpins; ++i) {
      const int n = static_cast<int>(random() % 37);
      chunk += std::to_string(n) + ",";
      chunk += n == 0 ? "Green" : IsRedNumber(n) ? "Red" : "Black";
      chunk += "\r\n";
      if (chunk.size() > (1u << 20)) out << chunk, chunk.clear();
    }
    out << chunk;
  }
  ~TenMillionSpins() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  static bool IsRedNumber(int n) { return (n <= 10 || (n >= 19 && n <= 28)) == (n % 2 == 1); }
  std::string path_;
};

class CountSpins final : public SpinSink {
 public:
  void Spins(std::span<const std::uint8_t> numbers) override {
    for (const std::uint8_t n : numbers) sum += n;
  }
  std::uint64_t sum = 0;
};

// The reader alone on one core: spins a second, every line checked.
void BM_ReadSpinLog10M(benchmark::State& state) {
  static const TenMillionSpins log;
  for (auto _ : state) {
    CountSpins sink;
    benchmark::DoNotOptimize(SpinLogReader(log.Path()).ReadAll(sink));
    benchmark::DoNotOptimize(sink.sum);
  }
  state.SetItemsProcessed(state.iterations() * TenMillionSpins::kSpins);
}
BENCHMARK(BM_ReadSpinLog10M)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexilo
