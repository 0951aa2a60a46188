#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>

#include "stats/analysis/Random.h"

namespace vexilo::stats {
namespace {

// Every way of each draw gives its distribution's mean and variance, inside its range: the
// binomial's inversion (a mean below 10), its rejection and its mirror for p above 1/2; the
// hypergeometric's draws one by one (few successes), its ratio of uniforms and both of its
// mirrors (more successes than failures, more draws than are left).
TEST(Random, DrawMoments) {
  struct Case {
    std::int64_t total;  // the hypergeometric's items; 0: a binomial
    std::int64_t successes, draws;
    double p = 0;  // the binomial's chance, its trials in `draws`
  };
  constexpr int kDraws = 40000;
  constexpr std::int64_t kLarge = 20'000'000;
  const Case cases[] = {
      {0, 0, 5, 0.3},      {0, 0, 40, 0.2},
      {0, 0, 1000, 0.5},   {0, 0, 10000000, 1 / 37.},
      {0, 0, 100, 0.9},    {0, 0, 12, 0.5},
      {100, 30, 20},       {10000, 3000, 2000},
      {10000, 7000, 2000}, {10000, 3000, 8000},
      {10000, 7000, 8000}, {kLarge, kLarge / 37, kLarge / 2},
      {1000, 40, 990},     {10, 10, 3},
  };
  for (const Case& c : cases) {
    const bool binomial = c.total == 0;
    const double n = static_cast<double>(c.total), draws = static_cast<double>(c.draws);
    const double share = binomial ? c.p : static_cast<double>(c.successes) / n;
    const double mean = draws * share;
    const double variance = mean * (1 - share) * (binomial ? 1 : (n - draws) / (n - 1));
    const std::int64_t low =
        binomial ? 0 : std::max<std::int64_t>(0, c.draws - (c.total - c.successes));
    const std::int64_t high = binomial ? c.draws : std::min(c.draws, c.successes);
    Random random(42);
    double sum = 0, squares = 0;
    for (int i = 0; i < kDraws; ++i) {
      const std::int64_t x = binomial ? random.Binomial(c.draws, c.p)
                                      : random.Hypergeometric(c.total, c.successes, c.draws);
      ASSERT_GE(x, low);
      ASSERT_LE(x, high);
      sum += static_cast<double>(x);
      squares += static_cast<double>(x) * static_cast<double>(x);
    }
    const double drawnMean = sum / kDraws;
    const double drawnVariance = squares / kDraws - drawnMean * drawnMean;
    SCOPED_TRACE(::testing::Message()
                 << c.total << " " << c.successes << " " << c.draws << " " << c.p);
    EXPECT_NEAR(drawnMean, mean, 5 * std::sqrt(variance / kDraws) + 1e-9);
    if (variance > 0) {
      EXPECT_NEAR(drawnVariance / variance, 1.0, 0.05);
    }
  }
}

TEST(Random, FairCountsAddUpAndRepeatWithTheSeed) {
  Random first(7), second(7);
  std::array<std::int64_t, 37> a{}, b{};
  for (const std::int64_t spins : {0, 1, 36, 1000, 123456789}) {
    first.FairCounts(spins, a);
    second.FairCounts(spins, b);
    EXPECT_EQ(std::accumulate(a.begin(), a.end(), std::int64_t{0}), spins);
    EXPECT_EQ(a, b);
  }
  // The generator itself is fixed: a report made on one system is made again on another.
  Random fixed(20240901);
  EXPECT_EQ(fixed.Next(), 12266942489178465500u);
}

// Neighbouring seeds share no stream, and the streams of one seed are all different.
TEST(Random, StreamsOfNeighbouringSeedsDiffer) {
  constexpr std::uint64_t kStreamsTried = 16;
  for (const std::uint64_t seed : {0ull, 1ull, 20240901ull, ~0ull - 1}) {
    std::set<std::uint64_t> firstDraws;
    for (const std::uint64_t s : {seed, seed + 1}) {
      for (std::uint64_t stream = 0; stream < kStreamsTried; ++stream) {
        firstDraws.insert(Random::Stream(s, stream).Next());
      }
    }
    EXPECT_EQ(firstDraws.size(), 2 * kStreamsTried) << seed;
  }
}

}  // namespace
}  // namespace vexilo::stats
