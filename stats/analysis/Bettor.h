#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/PocketTable.h"
#include "stats/analysis/Analysis.h"
#include "stats/analysis/Schedule.h"

namespace vexilo::stats {

// The bankroll the bettor starts with, in units.
inline constexpr double kBettorStart = 100;

// How the bettor chooses its stakes. It bets on one candidate at a time, a pocket or an arc
// of neighbouring pockets, each pocket of it straight up and as much on each: a part of the
// stake that grows the bankroll fastest if its shares were right (J. L. Kelly, 1956, "A new
// interpretation of information rate", Bell System Technical Journal 35).
struct BettorRule {
  int longest = kLongestArc;  // the longest arc it bets on
  // The shares it believes in: each candidate's count with `shrink` spins of a fair wheel's
  // added, so that a few lucky spins move it little.
  double shrink = 1000;
  // The part of the Kelly stake it bets: less than the whole, since its shares are guesses.
  double kelly = 0.5;
};

inline constexpr BettorRule kBettorRule{};

// The stakes for one spin: a share of the bankroll on each number, most of them 0.
using Stakes = std::array<double, kPockets>;

// A bettor who never looks ahead. Its stakes are set at the points of the schedule from the
// spins up to the point alone and held until the next, and it is paid as the casino pays a
// straight-up number, 35 to 1 (36 back for each unit on the number that came up). On a fair
// wheel every unit staked loses 1/37 on average, so the bankroll is a nonnegative
// supermartingale: it ever reaches 20 times its start at most 1 time in 20.
class Bettor {
 public:
  explicit Bettor(const BettorRule& rule = kBettorRule);

  // The spins up to a point: pays the stakes on those since the last call and, at a point of
  // the schedule (scheduled), sets new ones from all of them.
  void At(const RunningCounts& counts, bool scheduled);
  // One more spin, paid at once; at a point of the schedule the stakes are set anew.
  void Add(int number);

  // The stakes on the next spin, and the pockets staked on in wheel order.
  const Stakes& Next() const { return stakes_; }
  const std::vector<int>& StakedOn() const { return on_; }
  // ln of the bankroll over its start, and of what a fair wheel would leave of it on average
  // with the same stakes.
  double LogBankroll() const { return logBankroll_; }
  double LogFair() const { return logFair_; }
  std::int64_t Spins() const { return paid_.spins; }

 private:
  void SetStakes(const RunningCounts& counts);

  BettorRule rule_;
  Stakes stakes_{};
  std::vector<int> on_;
  double staked_ = 0;  // the share of the bankroll staked in all
  double logBankroll_ = 0;
  double logFair_ = 0;
  RunningCounts paid_;  // the spins paid so far
  RunningCounts own_;   // the spins given one at a time
  std::int64_t nextPoint_ = kFirstPoint;
};

// The bettor's figures point by point as the spins come.
class BettorTrack {
 public:
  explicit BettorTrack(const BettorRule& rule = kBettorRule) : bettor_(rule) {}

  void At(const RunningCounts& counts, bool scheduled);
  const BettorFigures& Figures() const { return f_; }

 private:
  Bettor bettor_;
  BettorFigures f_{kBettorStart, kBettorStart, kBettorStart, kBettorStart, kBettorStart, {}, {}};
};

// The bettor over the spins in order, paid at every point of the schedule and at each of
// `ends` (the logs' ends, ascending; the last spin is always paid).
BettorFigures BettorOf(std::span<const std::uint8_t> spins, std::span<const std::int64_t> ends,
                       const BettorRule& rule = kBettorRule);

}  // namespace vexilo::stats
