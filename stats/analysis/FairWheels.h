#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "stats/analysis/Analysis.h"
#include "stats/analysis/Looks.h"
#include "stats/analysis/Random.h"

namespace vexilo::stats {

// Up to this many spins a simulated wheel is spun spin by spin, so that its distances from
// spin to spin belong to its own numbers, as on a real wheel; above it, its numbers and its
// distances are each drawn at once, which is as good there (see the read-me) and far quicker.
inline constexpr std::int64_t kSpinBySpin = 2000;

// Draws a wheel of `spins` spins whose pockets, in wheel order, have the given chances (a
// fair wheel when `chances` is empty).
void DrawWheel(Random& random, std::int64_t spins, std::span<const double> chances,
               WheelTally& wheel);

// The random streams of the wheels: a fixed number of them, each with its own share of the
// wheels, so that the same seed gives the same figures on any number of cores.
inline constexpr int kStreams = 8;

// The whole report's verdict by simulation: the min-p adjustment of P. H. Westfall and
// S. S. Young (1993, Resampling-Based Multiple Testing, Wiley) with fair wheels as the
// resampling, each look's p-value a Monte Carlo p-value (MonteCarloP). The observed wheel and
// `simulations` fair wheels
// with as many spins are scored by every look; a wheel's p-value for one look is the share of
// the wheels (all simulations + 1) whose score reaches its own, and the verdict's p-value is
// the share of wheels whose smallest p-value over the looks is at most the observed wheel's,
// a tie on the smallest broken by the next smallest, and so on.
// Under a fair wheel the observed wheel is one more draw among them, so that share is a
// p-value that holds its level whatever the looks are and however they depend on each other.
class FairWheels {
 public:
  FairWheels(const LookScorer& scorer, const WheelTally& observed, int simulations,
             std::uint64_t seed);

  Verdict TheVerdict() const;
  // The observed wheel's own p-value for one look.
  double MarginalP(Look look) const;
  // The verdict's p-value of another wheel with the same spins, held against the fair ones
  // (a power simulation's biased wheels).
  double PValueOf(const LookScores& scores) const;

 private:
  // Wheels, the observed one included, whose score on the look reaches `score`.
  std::int64_t Reaching(int look, double score) const;
  // The observed wheel's p-value, of the wheels that reach it (itself among them).
  double ObservedP(std::int64_t reach) const;

  std::int64_t wheels_ = 0;
  std::array<std::vector<double>, kLooks> sorted_;  // each look's scores, ascending
  std::array<std::int64_t, kLooks> observedReach_{};
  // A wheel's reach on every look, smallest first: compared as words, the first reach decides
  // and the next ones break its ties.
  using Reaches = std::array<std::int32_t, kLooks>;
  std::vector<Reaches> ranked_;     // every wheel's, in that order
  std::int64_t verdictWheels_ = 0;  // wheels that rank at or below the observed one
};

}  // namespace vexilo::stats
