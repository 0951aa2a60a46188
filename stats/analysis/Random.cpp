#include "stats/analysis/Random.h"

#include <algorithm>
#include <array>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>

namespace vexilo::stats {
namespace {

// Below this mean, inversion is quicker than rejection and exact enough.
constexpr double kInversionMean = 10;

// log(k!) minus its Stirling approximation, (k + 1/2) log(k + 1) - (k + 1) + log(2 pi) / 2: the
// first terms of Stirling's series (J. Stirling, 1730, Methodus differentialis) above 9.
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

// log(n!): from a table for small n, else Stirling's series (StirlingTail), which is exact to
// the last bit there and far quicker than a general log-gamma.
double LogFactorial(std::int64_t n) {
  constexpr int kTabled = 1024;
  static const std::array<double, kTabled> kTable = [] {
    std::array<double, kTabled> table{};
    for (int k = 0; k < kTabled; ++k) table[k] = boost::math::lgamma(k + 1.0);
    return table;
  }();
  if (n < kTabled) return kTable[static_cast<std::size_t>(n)];
  const double x = static_cast<double>(n) + 1;
  constexpr double kHalfLogTwoPi = 0.91893853320467274178;
  return (x - 0.5) * std::log(x) - x + kHalfLogTwoPi + StirlingTail(static_cast<double>(n));
}

// Below this many draws (or successes, which play the same part), drawing them one by one is
// quicker than the ratio of uniforms.
constexpr std::int64_t kDrawnOneByOne = 64;

// Few draws: one by one, each a success with the chance of the successes left.
std::int64_t DrawnOneByOne(Random& random, std::int64_t total, std::int64_t successes,
                           std::int64_t draws) {
  const std::int64_t fewer = std::min(draws, successes);
  const std::int64_t marked = std::max(draws, successes);
  std::int64_t found = 0;
  for (std::int64_t left = total; left > total - fewer; --left) {
    if (random.Uniform() * static_cast<double>(left) < static_cast<double>(marked - found)) {
      ++found;
    }
  }
  return found;
}

// Stadlober's ratio of uniforms under a table-mountain hat, for `rare` of the `total` items
// (rare <= total / 2) in `draws` <= total / 2 draws: a few tries of four log-factorials each,
// however many spins there are. The hat is cut 16 spreads above the middle, where nothing is
// left to cut.
std::int64_t RatioOfUniforms(Random& random, std::int64_t total, std::int64_t rare,
                             std::int64_t draws) {
  constexpr double kWidth = 1.7155277699214135;   // 2 sqrt(2 / e)
  constexpr double kOffset = 0.8989161620588988;  // 3 - 2 sqrt(3 / e)
  const std::int64_t common = total - rare;
  const double n = static_cast<double>(total);
  const double share = static_cast<double>(rare) / n;
  const double middle = static_cast<double>(draws) * share + 0.5;
  const double spread = std::sqrt(static_cast<double>(draws) * share * (1 - share) *
                                      (n - static_cast<double>(draws)) / (n - 1) +
                                  0.5);
  const double width = kWidth * spread + kOffset;
  const auto logWeight = [&](std::int64_t k) {
    return LogFactorial(k) + LogFactorial(rare - k) + LogFactorial(draws - k) +
           LogFactorial(common - draws + k);
  };
  const auto mode = static_cast<std::int64_t>((draws + 1.0) * (rare + 1.0) / (n + 2));
  const double atMode = logWeight(mode);
  const double end =
      std::min(static_cast<double>(std::min(draws, rare) + 1), std::floor(middle + 16 * spread));
  for (;;) {
    const double x = random.Uniform();
    const double y = random.Uniform();
    if (x == 0) continue;
    const double w = middle + width * (y - 0.5) / x;
    if (w < 0 || w >= end) continue;
    const auto k = static_cast<std::int64_t>(w);
    const double t = atMode - logWeight(k);  // log of chance(k) / chance(mode)
    if (x * (4 - x) - 3 <= t) return k;
    if (x * (x - t) >= 1) continue;
    if (2 * std::log(x) <= t) return k;
  }
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

// The rarer kind in the fewer draws by the ratio of uniforms, few successes one by one.
std::int64_t Random::Hypergeometric(std::int64_t total, std::int64_t successes,
                                    std::int64_t draws) {
  const std::int64_t low = std::max<std::int64_t>(0, draws - (total - successes));
  const std::int64_t high = std::min(draws, successes);
  if (low == high) return low;
  if (high <= kDrawnOneByOne) return DrawnOneByOne(*this, total, successes, draws);
  // The rarer kind of item in the fewer draws; the answer follows from theirs.
  const bool rareFailures = successes > total - successes;
  const bool fewerLeft = draws > total - draws;
  const std::int64_t rare = rareFailures ? total - successes : successes;
  const std::int64_t fewer = fewerLeft ? total - draws : draws;
  std::int64_t k = RatioOfUniforms(*this, total, rare, fewer);
  if (rareFailures) k = fewer - k;   // successes in the fewer draws
  if (fewerLeft) k = successes - k;  // successes in the draws, not in those left
  return k;
}

}  // namespace vexilo::stats
