#include "stats/analysis/FairWheels.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "stats/analysis/Statistics.h"
#include "stats/analysis/Wheel.h"
#include "stats/analysis/Workers.h"

namespace vexilo::stats {
namespace {

// Walker's alias table (A. J. Walker, 1977, "An efficient method for generating discrete random
// variables with general distributions", ACM TOMS 3): a column chosen evenly, then its own
// place or its alias.
struct AliasTable {
  std::array<std::uint32_t, kPockets> keep{};  // keeps its own place below this, of 2^32
  std::array<std::int8_t, kPockets> alias{};

  explicit AliasTable(std::span<const double> chances) {
    std::array<double, kPockets> scaled{};
    std::array<int, kPockets> small{}, large{};
    int smalls = 0, larges = 0;
    for (int i = 0; i < kPockets; ++i) {
      scaled[i] = chances[i] * kPockets;
      alias[i] = static_cast<std::int8_t>(i);
      (scaled[i] < 1 ? small[smalls++] : large[larges++]) = i;
    }
    while (smalls > 0 && larges > 0) {
      const int s = small[--smalls];
      const int l = large[larges - 1];
      keep[s] = static_cast<std::uint32_t>(scaled[s] * 0x1.0p32);
      alias[s] = static_cast<std::int8_t>(l);
      scaled[l] -= 1 - scaled[s];
      if (scaled[l] < 1) {
        --larges;
        small[smalls++] = l;
      }
    }
    // What is left keeps its place always (rounding aside, its scaled chance is 1).
    for (int i = 0; i < larges; ++i) keep[large[i]] = 0xFFFFFFFFu;
    for (int i = 0; i < smalls; ++i) keep[small[i]] = 0xFFFFFFFFu;
  }

  int Draw(Random& random) const {
    std::uint32_t rest = 0;
    const int column = random.Below(kPockets, rest);
    return rest < keep[column] ? column : alias[column];
  }
};

template <typename DrawPlace>
void Spin(std::int64_t spins, DrawPlace draw, WheelTally& wheel) {
  int previous = draw();
  ++wheel.numbers[kWheelOrder[previous]];
  for (std::int64_t i = 1; i < spins; ++i) {
    const int place = draw();
    ++wheel.numbers[kWheelOrder[place]];
    const int step = place - previous;
    ++wheel.distances[step < 0 ? step + kPockets : step];
    previous = place;
  }
}

void DrawSpinBySpin(Random& random, std::int64_t spins, std::span<const double> chances,
                    WheelTally& wheel) {
  if (chances.empty()) {
    const auto fair = [&] { return random.Below(kPockets); };
    Spin(spins, fair, wheel);
  } else {
    const AliasTable table(chances);
    const auto biased = [&] { return table.Draw(random); };
    Spin(spins, biased, wheel);
  }
}

void DrawAtOnce(Random& random, std::int64_t spins, std::span<const double> chances,
                WheelTally& wheel) {
  if (chances.empty()) {
    random.FairCounts(spins, wheel.numbers);
    random.FairCounts(spins - 1, wheel.distances);
    return;
  }
  // The distance d comes from any place x followed by x + d.
  std::array<double, kPockets> steps{};
  for (int d = 0; d < kPockets; ++d) {
    for (int x = 0; x < kPockets; ++x) steps[d] += chances[x] * chances[(x + d) % kPockets];
  }
  Tally places{};
  random.Counts(spins, chances, places);
  for (int place = 0; place < kPockets; ++place) wheel.numbers[kWheelOrder[place]] = places[place];
  random.Counts(spins - 1, steps, wheel.distances);
}

}  // namespace

void DrawDealer(Random& random, std::int64_t spins, std::span<const double> steps,
                WheelTally& wheel) {
  wheel = {};
  if (spins <= 0) return;
  if (spins > kSpinBySpin) {
    random.FairCounts(spins, wheel.numbers);
    random.Counts(spins - 1, steps, wheel.distances);
    return;
  }
  const AliasTable table(steps);
  int place = -1;  // the first spin lands anywhere, each later one a step on
  const auto dealt = [&] {
    place = place < 0 ? random.Below(kPockets) : (place + table.Draw(random)) % kPockets;
    return place;
  };
  Spin(spins, dealt, wheel);
}

void DrawWheel(Random& random, std::int64_t spins, std::span<const double> chances,
               WheelTally& wheel) {
  wheel = {};
  if (spins <= 0) return;
  if (spins <= kSpinBySpin) {
    DrawSpinBySpin(random, spins, chances, wheel);
  } else {
    DrawAtOnce(random, spins, chances, wheel);
  }
}

FairWheels::FairWheels(const LookScorer& scorer, const WheelTally& observed, int simulations,
                       std::uint64_t seed)
    : wheels_(std::min(simulations, std::numeric_limits<std::int32_t>::max() - 1) + 1) {
  // The scores by look, the observed wheel first; each column is sorted in its place below.
  for (std::vector<double>& column : sorted_) column.resize(wheels_);
  const auto keep = [&](std::int64_t w, const LookScores& scores) {
    for (int look = 0; look < kLooks; ++look) sorted_[look][w] = scores[look];
  };
  keep(0, scorer.Score(observed));
  RunOnWorkers(kStreams, [&](int stream) {
    Random random = StreamOf(seed, StreamUse::FairWheels, stream);
    WheelTally wheel;
    const std::int64_t first = 1 + (wheels_ - 1) * stream / kStreams;
    const std::int64_t last = 1 + (wheels_ - 1) * (stream + 1) / kStreams;
    for (std::int64_t w = first; w < last; ++w) {
      DrawWheel(random, scorer.Spins(), {}, wheel);
      keep(w, scorer.Score(wheel));
    }
  });
  // Each look ranks the wheels on its own; a wheel's reach on it is how many wheels score at
  // least as far from a fair one, its p-value times the wheels.
  std::array<std::vector<std::int32_t>, kLooks> reach;
  RunOnWorkers(kLooks, [&](int look) {
    std::vector<double>& column = sorted_[look];
    std::vector<std::pair<double, std::int32_t>> order(wheels_);
    for (std::int64_t w = 0; w < wheels_; ++w) order[w] = {column[w], static_cast<std::int32_t>(w)};
    std::sort(order.begin(), order.end());
    reach[look].resize(wheels_);
    // Ties reach as far as the first of them.
    std::int64_t reached = 0;
    for (std::int64_t i = 0; i < wheels_; ++i) {
      column[i] = order[i].first;
      if (i == 0 || order[i].first != order[i - 1].first) reached = wheels_ - i;
      reach[look][order[i].second] = static_cast<std::int32_t>(reached);
    }
  });
  // A wheel's smallest reach is its smallest p-value times the wheels. A strongly biased wheel
  // is beyond every fair one on several looks, while about one fair wheel in a thousand is the
  // furthest on some look by chance: ties on the smallest reach are broken by the next, which
  // treats every wheel alike and so keeps the level.
  ranked_.resize(wheels_);
  for (std::int64_t w = 0; w < wheels_; ++w) {
    for (int look = 0; look < kLooks; ++look) ranked_[w][look] = reach[look][w];
    std::sort(ranked_[w].begin(), ranked_[w].end());
  }
  for (int look = 0; look < kLooks; ++look) observedReach_[look] = reach[look][0];
  const Reaches mine = ranked_[0];
  std::sort(ranked_.begin(), ranked_.end());
  verdictWheels_ = std::upper_bound(ranked_.begin(), ranked_.end(), mine) - ranked_.begin();
}

std::int64_t FairWheels::Reaching(int look, double score) const {
  const std::vector<double>& column = sorted_[look];
  return column.end() - std::lower_bound(column.begin(), column.end(), score);
}

double FairWheels::ObservedP(std::int64_t reach) const {
  // The observed wheel reaches itself: the others that reach it are one fewer.
  return MonteCarloP(reach - 1, wheels_ - 1);
}

Verdict FairWheels::TheVerdict() const {
  Verdict verdict;
  verdict.p_value = ObservedP(verdictWheels_);
  verdict.biased = IsSignificant(verdict.p_value);
  const auto driver = std::min_element(observedReach_.begin(), observedReach_.end());
  verdict.driver = static_cast<Look>(driver - observedReach_.begin());
  verdict.driver_p = ObservedP(*driver);
  return verdict;
}

double FairWheels::MarginalP(Look look) const {
  return ObservedP(observedReach_[static_cast<int>(look)]);
}

double FairWheels::PValueOf(const LookScores& scores) const {
  // The wheel is one more among the others: it reaches itself on every look.
  Reaches reaches{};
  for (int look = 0; look < kLooks; ++look) {
    reaches[look] = static_cast<std::int32_t>(1 + Reaching(look, scores[look]));
  }
  std::sort(reaches.begin(), reaches.end());
  const std::int64_t below =
      std::upper_bound(ranked_.begin(), ranked_.end(), reaches) - ranked_.begin();
  return MonteCarloP(below, wheels_);
}

}  // namespace vexilo::stats
