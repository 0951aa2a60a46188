#include "stats/analysis/Random.h"

#include <algorithm>
#include <cmath>

namespace vexilo::stats {
namespace {

// Below this mean, inversion is quicker than rejection and exact enough.
constexpr double kInversionMean = 10;

// log(k!) minus its Stirling approximation, (k + 1/2) log(k + 1) - (k + 1) + log(2 pi) / 2.
double StirlingTail(double k) {
  static constexpr double kSmall[] = {0.0810614667953272, 0.0413406959554092, 0.0276779256849983,
                                      0.0207906721037658, 0.0166446911898212, 0.0138761288230728,
                                      0.0118967099458933, 0.0104112652619736, 0.0092554621827094,
                                      0.0083305634333594};
  if (k <= 9) return kSmall[static_cast<int>(k)];
  const double next2 = (k + 1) * (k + 1);
  return (1.0 / 12 - (1.0 / 360 - 1.0 / 1260 / next2) / next2) / (k + 1);
}

// splitmix64's output function: every bit of x moves about half of the bits of the result.
constexpr std::uint64_t Mix(std::uint64_t x) {
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
  return x ^ (x >> 31);
}

}  // namespace

std::uint64_t StreamSeed(std::uint64_t seed, std::uint64_t stream) {
  return Mix(Mix(seed + 0x9E3779B97F4A7C15u) ^ Mix(~stream));
}

Random::Random(std::uint64_t seed) {
  for (std::uint64_t& word : state_) {
    seed += 0x9E3779B97F4A7C15u;
    word = Mix(seed);
  }
}

double Random::Uniform() {
  return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

std::int64_t Random::Binomial(std::int64_t trials, double p) {
  if (trials <= 0 || p <= 0) return 0;
  if (p >= 1) return trials;
  if (p > 0.5) return trials - Binomial(trials, 1 - p);
  if (static_cast<double>(trials) * p < kInversionMean) return BinomialByInversion(trials, p);
  return BinomialByRejection(trials, p);
}

// Walks the distribution from 0 until it has covered a uniform draw.
std::int64_t Random::BinomialByInversion(std::int64_t trials, double p) {
  const double odds = p / (1 - p);
  const double step = static_cast<double>(trials + 1) * odds;
  const double start = std::exp(static_cast<double>(trials) * std::log1p(-p));
  for (;;) {
    double u = Uniform();
    double chance = start;
    for (std::int64_t k = 0; k <= trials; ++k) {
      if (u < chance) return k;
      u -= chance;
      chance *= step / static_cast<double>(k + 1) - odds;
    }
    // Rounding left a sliver beyond the last value: draw again.
  }
}

// Transformed rejection with squeeze (Hörmann's BTRS), for a mean of at least 10 and p <= 1/2.
std::int64_t Random::BinomialByRejection(std::int64_t trials, double p) {
  const double n = static_cast<double>(trials);
  const double spread = std::sqrt(n * p * (1 - p));
  const double b = 1.15 + 2.53 * spread;
  const double a = -0.0873 + 0.0248 * b + 0.01 * p;
  const double c = n * p + 0.5;
  const double squeeze = 0.92 - 4.2 / b;
  const double odds = p / (1 - p);
  const double alpha = (2.83 + 5.1 / b) * spread;
  const double mode = std::floor((n + 1) * p);
  for (;;) {
    const double u = Uniform() - 0.5;
    double v = Uniform();
    const double us = 0.5 - std::fabs(u);
    const double k = std::floor((2 * a / us + b) * u + c);
    if (k < 0 || k > n) continue;
    if (us >= 0.07 && v <= squeeze) return static_cast<std::int64_t>(k);
    v = std::log(v * alpha / (a / (us * us) + b));
    const double bound = (mode + 0.5) * std::log((mode + 1) / (odds * (n - mode + 1))) +
                         (n + 1) * std::log((n - mode + 1) / (n - k + 1)) +
                         (k + 0.5) * std::log(odds * (n - k + 1) / (k + 1)) + StirlingTail(mode) +
                         StirlingTail(n - mode) - StirlingTail(k) - StirlingTail(n - k);
    if (v <= bound) return static_cast<std::int64_t>(k);
  }
}

void Random::FairCounts(std::int64_t spins, std::span<std::int64_t> counts) {
  // Each pocket takes its share of the spins the pockets before it left.
  const auto pockets = static_cast<std::int64_t>(counts.size());
  for (std::int64_t i = 0; i + 1 < pockets; ++i) {
    counts[i] = Binomial(spins, 1.0 / static_cast<double>(pockets - i));
    spins -= counts[i];
  }
  if (pockets > 0) counts[pockets - 1] = spins;
}

void Random::Counts(std::int64_t spins, std::span<const double> chances,
                    std::span<std::int64_t> counts) {
  // Each pocket takes its share of the spins the pockets before it left, by its chance among
  // theirs.
  double left = 1;
  for (std::size_t i = 0; i + 1 < counts.size(); ++i) {
    counts[i] = left > 0 ? Binomial(spins, std::min(1.0, chances[i] / left)) : 0;
    spins -= counts[i];
    left -= chances[i];
  }
  if (!counts.empty()) counts.back() = spins;
}

}  // namespace vexilo::stats
