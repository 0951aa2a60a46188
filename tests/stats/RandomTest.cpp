#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <set>

#include "stats/analysis/Random.h"

namespace vexilo::stats {
namespace {

// Both of the binomial's ways (inversion below a mean of 10, rejection above) and the mirror
// for p above 1/2 give the binomial's mean and variance.
TEST(Random, BinomialMoments) {
  struct Case {
    std::int64_t trials;
    double p;
  };
  constexpr int kDraws = 40000;
  for (const Case c : {Case{5, 0.3}, Case{40, 0.2}, Case{1000, 0.5}, Case{10000000, 1.0 / 37},
                       Case{100, 0.9}, Case{12, 0.5}}) {
    Random random(42);
    double sum = 0, squares = 0;
    for (int i = 0; i < kDraws; ++i) {
      const auto x = static_cast<double>(random.Binomial(c.trials, c.p));
      ASSERT_GE(x, 0);
      ASSERT_LE(x, c.trials);
      sum += x;
      squares += x * x;
    }
    const double mean = c.trials * c.p, variance = mean * (1 - c.p);
    const double drawnMean = sum / kDraws;
    const double drawnVariance = squares / kDraws - drawnMean * drawnMean;
    SCOPED_TRACE(::testing::Message() << c.trials << " trials of " << c.p);
    EXPECT_NEAR(drawnMean, mean, 5 * std::sqrt(variance / kDraws));
    EXPECT_NEAR(drawnVariance / variance, 1.0, 0.05);
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
