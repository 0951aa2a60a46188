#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace vexilo::stats {

// xoshiro256** seeded through splitmix64, and the draws the simulations need, written here so
// that one seed gives the same draws with every compiler and standard library.
class Random {
 public:
  explicit Random(std::uint64_t seed);

  std::uint64_t Next();
  // Uniform on [0, 1), 53 random bits.
  double Uniform();
  // Successes in `trials` trials of chance p.
  std::int64_t Binomial(std::int64_t trials, double p);
  // A fair wheel spun `spins` times: how often each of counts.size() equally likely pockets
  // came up.
  void FairCounts(std::int64_t spins, std::span<std::int64_t> counts);

 private:
  std::int64_t BinomialByInversion(std::int64_t trials, double p);
  std::int64_t BinomialByRejection(std::int64_t trials, double p);

  std::array<std::uint64_t, 4> state_{};
};

}  // namespace vexilo::stats
