// What a press costs: the data step of a spin or take-back plus every share text and bar value
// the window then writes, the reset, and the integer share arithmetic beside the x87 one.

#include <benchmark/benchmark.h>

#include <array>
#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/Percent.h"
#include "engine/SpinTally.h"

namespace vexilo {
namespace {

struct Share {
  ShareFamily family;
  int selector;
};

// The 16 shares with a bar: dozens, halves, columns, parity, colour, sectors.
constexpr std::array<Share, 16> kBarShares = {{
    {ShareFamily::Dozen, 0},
    {ShareFamily::Dozen, 1},
    {ShareFamily::Dozen, 2},
    {ShareFamily::Half, 0},
    {ShareFamily::Half, 1},
    {ShareFamily::Column, 0},
    {ShareFamily::Column, 1},
    {ShareFamily::Column, 2},
    {ShareFamily::Parity, 0},
    {ShareFamily::Parity, 1},
    {ShareFamily::Color, 0},
    {ShareFamily::Color, 1},
    {ShareFamily::Sector, 1},
    {ShareFamily::Sector, 2},
    {ShareFamily::Sector, 3},
    {ShareFamily::Sector, 4},
}};

constexpr int kShareLabels = kPockets + kStreets + static_cast<int>(kBarShares.size());

// The texts a refresh writes: 65 share labels, then each bar's share once more for its value.
struct Display {
  std::array<std::string, kShareLabels> shares;
  std::array<std::string, kBarShares.size()> barTexts;
  std::array<int, kBarShares.size()> bars{};

  void Refresh(const SpinTally& tally, std::string_view separator) {
    int i = 0;
    for (int n = 0; n < kPockets; ++n)
      FormatPercent(tally, ShareFamily::Number, n, shares[i++], separator);
    for (int s = 1; s <= kStreets; ++s)
      FormatPercent(tally, ShareFamily::Street, s, shares[i++], separator);
    for (const Share& s : kBarShares) {
      FormatPercent(tally, s.family, s.selector, shares[i++], separator);
    }
    for (std::size_t b = 0; b < kBarShares.size(); ++b) {
      FormatPercent(tally, kBarShares[b].family, kBarShares[b].selector, barTexts[b], separator);
      bars[b] = BarValue(barTexts[b], separator);
    }
  }
};

std::vector<int> RandomNumbers(std::size_t size) {
  std::mt19937 random(12345);
  std::vector<int> numbers(size);
  for (int& n : numbers) n = static_cast<int>(random() % kPockets);
  return numbers;
}

void Fill(SpinTally& tally, const std::vector<int>& numbers, int upTo) {
  for (std::size_t i = 0; tally.SpinCount() < upTo; ++i) {
    (void)tally.Spin(numbers[i % numbers.size()]);
  }
}

void BM_SpinPress(benchmark::State& state) {
  const std::vector<int> numbers = RandomNumbers(4096);
  SpinTally tally;
  Fill(tally, numbers, 1000);
  Display display;
  std::size_t i = 0;
  for (auto _ : state) {
    if (tally.IsFull()) tally.ResetTally();  // once every MAX_SPINS presses
    benchmark::DoNotOptimize(tally.Spin(numbers[i++ % numbers.size()]));
    display.Refresh(tally, ".");
    benchmark::DoNotOptimize(display.bars.data());
  }
}
BENCHMARK(BM_SpinPress);

// Keeps take-backs measured on a long history: refills it, untimed, before it runs short.
void RefillWhenShort(benchmark::State& state, SpinTally& tally, const std::vector<int>& numbers) {
  if (tally.SpinCount() > kStripSlots) return;
  state.PauseTiming();
  Fill(tally, numbers, MAX_SPINS);
  state.ResumeTiming();
}

void BM_TakeBack(benchmark::State& state) {
  const std::vector<int> numbers = RandomNumbers(4096);
  SpinTally tally;
  Fill(tally, numbers, MAX_SPINS);
  for (auto _ : state) {
    RefillWhenShort(state, tally, numbers);
    benchmark::DoNotOptimize(tally.TakeBack());
  }
}
BENCHMARK(BM_TakeBack);

void BM_TakeBackPress(benchmark::State& state) {
  const std::vector<int> numbers = RandomNumbers(4096);
  SpinTally tally;
  Fill(tally, numbers, MAX_SPINS);
  Display display;
  for (auto _ : state) {
    RefillWhenShort(state, tally, numbers);
    benchmark::DoNotOptimize(tally.TakeBack());
    display.Refresh(tally, ".");
    benchmark::DoNotOptimize(display.bars.data());
  }
}
BENCHMARK(BM_TakeBackPress);

// Clears every one of the MAX_SPINS entries whatever the spin count, so one full tally serves.
void BM_ResetTally(benchmark::State& state) {
  SpinTally tally;
  Fill(tally, RandomNumbers(4096), MAX_SPINS);
  for (auto _ : state) {
    tally.ResetTally();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ResetTally)->Unit(benchmark::kMicrosecond);

struct Pair {
  std::int32_t count;
  std::int32_t spins;
};

std::vector<Pair> RandomPairs() {
  std::mt19937 random(777);
  std::vector<Pair> pairs(4096);
  for (Pair& p : pairs) {
    p.spins = std::uniform_int_distribution<std::int32_t>(1, MAX_SPINS)(random);
    p.count = std::uniform_int_distribution<std::int32_t>(0, p.spins)(random);
  }
  return pairs;
}

constexpr bool kHardwareExtended = LDBL_MANT_DIG == 64;

int HardwareShare(std::int32_t count, std::int32_t spins) {
  const long double q = static_cast<long double>(count) / static_cast<long double>(spins);
  return static_cast<int>(std::rint(q * 10000.0L));  // frndint, ties to even
}

// Consumes every result, as a caller does, so that neither path is timed on a dead value.
template <int (*Share)(std::int32_t, std::int32_t)>
long SumOfShares(const std::vector<Pair>& pairs) {
  long sum = 0;
  for (const Pair& p : pairs) sum += Share(p.count, p.spins);
  return sum;
}

// Time per share is the time shown divided by the 4096 pairs (see items_per_second).
template <int (*Share)(std::int32_t, std::int32_t)>
void BM_Share(benchmark::State& state) {
  if (Share == HardwareShare && !kHardwareExtended) {
    state.SkipWithError("long double is not the 80-bit format here");
    return;
  }
  const std::vector<Pair> pairs = RandomPairs();
  for (auto _ : state) benchmark::DoNotOptimize(SumOfShares<Share>(pairs));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(pairs.size()));
}
BENCHMARK(BM_Share<ShareHundredths>)->Name("BM_ShareEmulated")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Share<HardwareShare>)->Name("BM_ShareHardware")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Share<ExtendedShareHundredths>)
    ->Name("BM_ShareStepByStep")
    ->Unit(benchmark::kMicrosecond);

// Both paths over the same pairs, timed alternately in one loop so that both see the same load
// on the machine; the counters give each one's nanoseconds per share and the emulation's cost
// as a multiple of the hardware's.
void BM_ShareRatio(benchmark::State& state) {
  if (!kHardwareExtended) {
    state.SkipWithError("long double is not the 80-bit format here");
    return;
  }
  using Clock = std::chrono::steady_clock;
  const std::vector<Pair> pairs = RandomPairs();
  Clock::duration emulated{};
  Clock::duration hardware{};
  for (auto _ : state) {
    const auto start = Clock::now();
    benchmark::DoNotOptimize(SumOfShares<ShareHundredths>(pairs));
    const auto middle = Clock::now();
    benchmark::DoNotOptimize(SumOfShares<HardwareShare>(pairs));
    const auto end = Clock::now();
    emulated += middle - start;
    hardware += end - middle;
  }
  const double shares = static_cast<double>(state.iterations()) * pairs.size();
  const auto ns = [&](Clock::duration d) {
    return std::chrono::duration<double, std::nano>(d).count() / shares;
  };
  state.counters["emulated_ns"] = ns(emulated);
  state.counters["hardware_ns"] = ns(hardware);
  state.counters["ratio"] = ns(emulated) / ns(hardware);
}
BENCHMARK(BM_ShareRatio)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vexilo
