#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace vexilo::stats {

// The seed of stream `stream` of a run seeded with `seed`: both mixed through splitmix64 (G. L.
// Steele, D. Lea and C. H. Flood, 2014, "Fast splittable pseudorandom number generators",
// OOPSLA), so that neighbouring seeds, and the streams of one seed, share no draws.
std::uint64_t StreamSeed(std::uint64_t seed, std::uint64_t stream);

// What a run's random streams are for: each use draws from streams of its own, so that no two
// uses, and no two seeds, share draws.
enum class StreamUse : std::uint64_t { FairWheels = 0, BiasedWheels = 1, LogsAgree = 2 };

// xoshiro256** (D. Blackman and S. Vigna, 2021, "Scrambled linear pseudorandom number
// generators", ACM TOMS 47) seeded through splitmix64, and the draws the simulations need,
// written here so that one seed gives the same draws with every compiler and standard library.
class Random {
 public:
  explicit Random(std::uint64_t seed);
  // Stream `stream` of the run seeded with `seed` (StreamSeed).
  static Random Stream(std::uint64_t seed, std::uint64_t stream) {
    return Random(StreamSeed(seed, stream));
  }

  std::uint64_t Next() {
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
  // Uniform on [0, 1), 53 random bits.
  double Uniform();
  // Successes in `trials` trials of chance p: by inversion for a small mean, else by W. Hörmann's
  // transformed rejection with squeeze (BTRS; 1993, "The generation of binomial random
  // variates", J. Statist. Comput. Simul. 46).
  std::int64_t Binomial(std::int64_t trials, double p);
  // Successes in `draws` draws without replacement from `total` items of which `successes`
  // are successes: one by one when few, else by E. Stadlober's ratio of uniforms (1990, "The
  // ratio of uniforms approach for generating discrete random variates", J. Comput. Appl.
  // Math. 31).
  std::int64_t Hypergeometric(std::int64_t total, std::int64_t successes, std::int64_t draws);
  // A fair wheel spun `spins` times: how often each of counts.size() equally likely pockets
  // came up, pocket by pocket as binomials of what the pockets before left (the conditional
  // method; L. Devroye, 1986, Non-Uniform Random Variate Generation, Springer).
  void FairCounts(std::int64_t spins, std::span<std::int64_t> counts);
  // The same for pockets of the given chances (summing to 1).
  void Counts(std::int64_t spins, std::span<const double> chances, std::span<std::int64_t> counts);
  // Uniform on 0 .. below - 1, exactly (below >= 1): the high half of a draw times `below`,
  // the few draws that would favour the low values thrown back (D. Lemire, 2019, "Fast random
  // integer generation in an interval", ACM TOMACS 29). The low half of the draw is
  // left in `rest`, independent of the answer, for a second choice.
  int Below(std::uint32_t below, std::uint32_t& rest) {
    const std::uint32_t threshold = (0u - below) % below;
    for (;;) {
      const std::uint64_t draw = Next();
      const std::uint64_t product = (draw >> 32) * below;
      if (static_cast<std::uint32_t>(product) >= threshold) {
        rest = static_cast<std::uint32_t>(draw);
        return static_cast<int>(product >> 32);
      }
    }
  }
  int Below(std::uint32_t below) {
    std::uint32_t rest = 0;
    return Below(below, rest);
  }

 private:
  static constexpr std::uint64_t RotateLeft(std::uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
  }
  std::int64_t BinomialByInversion(std::int64_t trials, double p);
  std::int64_t BinomialByRejection(std::int64_t trials, double p);

  std::array<std::uint64_t, 4> state_{};
};

// Stream `stream` of one use of the run seeded with `seed`.
inline Random StreamOf(std::uint64_t seed, StreamUse use, std::uint64_t stream) {
  return Random::Stream(seed, (static_cast<std::uint64_t>(use) << 32) + stream);
}

}  // namespace vexilo::stats
