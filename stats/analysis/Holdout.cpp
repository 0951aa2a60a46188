#include "stats/analysis/Holdout.h"

#include <algorithm>
#include <cmath>

#include "stats/analysis/Arcs.h"
#include "stats/analysis/Statistics.h"
#include "stats/analysis/Wheel.h"

namespace vexilo::stats {
namespace {

struct Choice {
  CandidateKind kind;
  std::vector<int> pockets;
  double earlierZ = 0;
};

std::int64_t Hits(const NumberCounts& counts, const std::vector<int>& pockets) {
  std::int64_t hits = 0;
  for (const int n : pockets) hits += counts[n];
  return hits;
}

// Of groups of the same size, the one that came up most often; the first on a tie.
Choice Hottest(CandidateKind kind, const std::vector<std::vector<int>>& groups,
               const NumberCounts& counts) {
  std::size_t best = 0;
  for (std::size_t g = 1; g < groups.size(); ++g) {
    if (Hits(counts, groups[g]) > Hits(counts, groups[best])) best = g;
  }
  return {kind, groups[best]};
}

std::vector<std::vector<int>> Numbers() {
  std::vector<std::vector<int>> numbers;
  for (int n = 0; n < kPockets; ++n) numbers.push_back({n});
  return numbers;
}

std::vector<std::vector<int>> Streets() {
  std::vector<std::vector<int>> streets;
  for (int first = 1; first < kPockets; first += 3)
    streets.push_back({first, first + 1, first + 2});
  return streets;
}

// The sectors are the runs of nine pockets after 0 in wheel order.
std::vector<std::vector<int>> Sectors() {
  constexpr int kSize = (kPockets - 1) / kSectors;
  std::vector<std::vector<int>> sectors(kSectors);
  for (int place = 1; place < kPockets; ++place) {
    sectors[(place - 1) / kSize].push_back(kWheelOrder[place]);
  }
  return sectors;
}

std::vector<Choice> Choose(const NumberCounts& counts, std::int64_t spins) {
  std::vector<Choice> choices = {Hottest(CandidateKind::Number, Numbers(), counts)};
  const auto best = ArcScan(spins).Best(InWheelOrder(counts));
  for (int length = 2; length <= kLongestArc; ++length) {
    const BestArc& arc = best[length - 1];
    choices.push_back({CandidateKind::Arc, ArcPockets(arc.start, length), arc.z});
  }
  choices.push_back(Hottest(CandidateKind::Street, Streets(), counts));
  choices.push_back(Hottest(CandidateKind::Sector, Sectors(), counts));
  return choices;
}

// The return per unit staked of betting each pocket straight up, at a share of the spins.
double Return(double share, std::size_t pockets) {
  return kStraightUpPays * share / static_cast<double>(pockets) - 1;
}

Candidate Test(const Choice& choice, std::int64_t earlierHits, const NumberCounts& later,
               std::int64_t spins) {
  Candidate c;
  c.kind = choice.kind;
  c.pockets = choice.pockets;
  c.earlier_hits = earlierHits;
  c.hits = Hits(later, choice.pockets);
  const double n = static_cast<double>(spins);
  const double p = static_cast<double>(c.pockets.size()) / kPockets;
  c.expected = n * p;
  c.p_value = UpperBinomialP(spins, c.hits, p);
  c.share_ci = ClopperPearson(spins, c.hits, kConfidence);
  c.return_rate = Return(static_cast<double>(c.hits) / n, c.pockets.size());
  c.return_ci = {Return(c.share_ci[0], c.pockets.size()), Return(c.share_ci[1], c.pockets.size())};
  return c;
}

// Counts of the earlier and the later spins; only the shorter part is counted again.
std::pair<NumberCounts, NumberCounts> CountParts(const SpinAccumulator& spins,
                                                 std::int64_t earlier) {
  const auto record = spins.Record();
  const auto cut = static_cast<std::size_t>(earlier);
  const bool earlierShorter = cut <= record.size() - cut;
  const NumberCounts shorter =
      earlierShorter ? CountNumbers(record.first(cut)) : CountNumbers(record.subspan(cut));
  NumberCounts longer{};
  for (int n = 0; n < kPockets; ++n) longer[n] = spins.Count(n) - shorter[n];
  if (earlierShorter) return {shorter, longer};
  return {longer, shorter};
}

}  // namespace

Holdout CheckLaterSpins(const SpinAccumulator& spins, double fraction) {
  Holdout h;
  h.fraction = fraction;
  const std::int64_t all = spins.Spins();
  h.later_spins = fraction > 0 ? std::clamp<std::int64_t>(
                                     std::llround(fraction * static_cast<double>(all)), 0, all)
                               : 0;
  h.earlier_spins = all - h.later_spins;
  h.enough = h.later_spins >= kEnoughLaterSpins;
  if (h.earlier_spins == 0 || h.later_spins == 0) return h;
  const auto [earlier, later] = CountParts(spins, h.earlier_spins);
  double bestZ = 0;
  for (const Choice& choice : Choose(earlier, h.earlier_spins)) {
    if (choice.kind == CandidateKind::Arc && (h.best_arc < 0 || choice.earlierZ > bestZ)) {
      h.best_arc = static_cast<int>(h.candidates.size());
      bestZ = choice.earlierZ;
    }
    h.candidates.push_back(Test(choice, Hits(earlier, choice.pockets), later, h.later_spins));
  }
  std::vector<double> p;
  for (const Candidate& c : h.candidates) p.push_back(c.p_value);
  const std::vector<double> adjusted = HolmAdjusted(p);
  for (std::size_t i = 0; i < h.candidates.size(); ++i) h.candidates[i].adjusted_p = adjusted[i];
  return h;
}

}  // namespace vexilo::stats
