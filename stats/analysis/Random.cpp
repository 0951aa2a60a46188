#include "stats/analysis/Random.h"

#include <cmath>

namespace vexilo::stats {
namespace {

constexpr std::uint64_t RotateLeft(std::uint64_t x, int k) {
  return (x << k) | (x >> (64 - k));
}

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

}  // namespace

Random::Random(std::uint64_t seed) {
  for (std::uint64_t& word : state_) {
    seed += 0x9E3779B97F4A7C15u;
    std::uint64_t z = seed;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    word = z ^ (z >> 31);
  }
}

std::uint64_t Random::Next() {
  const std::uint64_t result = RotateLeft(state_[1] * 5, 7) * 9;
  const std::uint64_t t = state_[1] << 17;
  state_[2] ^= state_[0];
  state_[3] ^= state_[1];
  state_[1] ^= state_[2];
  state_[0] ^= state_[3];
  state_[2] ^= t;
  state_[3] = RotateLeft(state_[3], 45);
  return result;
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

}  // namespace vexilo::stats
