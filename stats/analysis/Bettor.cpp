#include "stats/analysis/Bettor.h"

#include <algorithm>
#include <cmath>

#include "stats/analysis/Evidence.h"
#include "stats/analysis/Holdout.h"
#include "stats/analysis/Wheel.h"

namespace vexilo::stats {

Bettor::Bettor(const BettorRule& rule) : rule_(rule) {}

void Bettor::At(const RunningCounts& counts, bool scheduled) {
  // Every spin since the last point was played with the stakes set there: the unstaked
  // numbers take the whole stake, a staked one pays 36 for each unit on it.
  const auto spins = static_cast<double>(counts.spins - paid_.spins);
  if (staked_ > 0) {
    const double lost = std::log1p(-staked_);
    logBankroll_ += spins * lost;
    for (int n = 0; n < kPockets; ++n) {
      if (stakes_[n] <= 0) continue;
      const auto hits = static_cast<double>(counts.numbers[n] - paid_.numbers[n]);
      logBankroll_ += hits * (std::log1p(kStraightUpPays * stakes_[n] - staked_) - lost);
    }
    logFair_ += spins * std::log1p(-staked_ / kPockets);
  }
  paid_ = counts;
  if (scheduled) SetStakes(counts);
}

void Bettor::Add(int number) {
  own_.Add(number);
  const bool scheduled = own_.spins == nextPoint_;
  if (scheduled) nextPoint_ = NextPoint(nextPoint_);
  At(own_, scheduled);
}

// Of every pocket and arc, the one whose Kelly stake grows the bankroll fastest by the shares
// the bettor believes in; nothing when none of them pays more than it costs.
void Bettor::SetStakes(const RunningCounts& counts) {
  const auto spins = static_cast<double>(counts.spins);
  const NumberCounts inOrder = InWheelOrder(counts.numbers);
  double bestGrowth = 0;
  int bestStart = 0, bestLength = 0;
  double bestStake = 0;
  for (int length = 1; length <= rule_.longest; ++length) {
    const double fair = static_cast<double>(length) / kPockets;
    const auto arcs = ArcCounts(inOrder, length);
    for (int start = 0; start < kPockets; ++start) {
      const double share =
          (static_cast<double>(arcs[start]) + rule_.shrink * fair) / (spins + rule_.shrink);
      // Each unit on each of the arc's pockets returns 36 share / length on average.
      if (kStraightUpPays * share <= length) continue;
      const double rest = kStraightUpPays - length;
      const double kelly = (kStraightUpPays * share - length) / (length * rest);
      const double stake = rule_.kelly * kelly;
      const double growth =
          share * std::log1p(rest * stake) + (1 - share) * std::log1p(-length * stake);
      if (growth > bestGrowth) {
        bestGrowth = growth;
        bestStart = start;
        bestLength = length;
        bestStake = stake;
      }
    }
  }
  stakes_.fill(0);
  on_ = ArcPockets(bestStart, bestLength);
  for (const int n : on_) stakes_[n] = bestStake;
  staked_ = bestLength * bestStake;
}

BettorFigures BettorOf(std::span<const std::uint8_t> spins, std::span<const std::int64_t> ends,
                       const BettorRule& rule) {
  BettorTrack track(rule);
  WalkSchedule(spins, PointsToRead(ends, static_cast<std::int64_t>(spins.size())),
               [&](const RunningCounts& counts, bool scheduled) { track.At(counts, scheduled); });
  return track.Figures();
}

void BettorTrack::At(const RunningCounts& counts, bool scheduled) {
  bettor_.At(counts, scheduled);
  const double bankroll = kBettorStart * HeldExp(bettor_.LogBankroll());
  f_.series.push_back({counts.spins, bankroll});
  f_.now = bankroll;
  f_.max = std::max(f_.max, bankroll);
  f_.min = std::min(f_.min, bankroll);
  f_.fair = kBettorStart * HeldExp(bettor_.LogFair());
  f_.stakes_on.clear();
  for (const int n : bettor_.StakedOn()) f_.stakes_on.push_back({n, bettor_.Next()[n]});
}

}  // namespace vexilo::stats
