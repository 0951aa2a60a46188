#include "stats/analysis/Homogeneity.h"

#include <algorithm>
#include <array>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <numeric>
#include <vector>

#include "stats/analysis/Random.h"
#include "stats/analysis/Workers.h"

namespace vexilo::stats {
namespace {

namespace bm = boost::math;

constexpr int kStreams = 4;

// The table with its margins; rows are logs, columns numbers, both without empty ones.
struct Table {
  std::vector<std::int64_t> rows;
  std::vector<std::int64_t> columns;
  std::vector<std::int64_t> cells;  // row after row
  std::vector<double> expected;     // rows[i] * columns[j] / total, row after row
};

Table MakeTable(std::span<const NumberCounts> logs) {
  NumberCounts columns{};
  Table t;
  std::vector<const NumberCounts*> kept;
  for (const NumberCounts& log : logs) {
    const std::int64_t spins = std::accumulate(log.begin(), log.end(), std::int64_t{0});
    if (spins == 0) continue;
    t.rows.push_back(spins);
    kept.push_back(&log);
    for (int n = 0; n < kPockets; ++n) columns[n] += log[n];
  }
  std::vector<int> numbers;
  for (int n = 0; n < kPockets; ++n) {
    if (columns[n] == 0) continue;
    numbers.push_back(n);
    t.columns.push_back(columns[n]);
  }
  const auto total = static_cast<double>(std::accumulate(t.rows.begin(), t.rows.end(), 0LL));
  for (std::size_t i = 0; i < kept.size(); ++i) {
    for (std::size_t j = 0; j < numbers.size(); ++j) {
      t.cells.push_back((*kept[i])[numbers[j]]);
      t.expected.push_back(static_cast<double>(t.rows[i]) * static_cast<double>(t.columns[j]) /
                           total);
    }
  }
  return t;
}

double Statistic(std::span<const std::int64_t> cells, std::span<const double> expected) {
  double sum = 0;
  for (std::size_t k = 0; k < cells.size(); ++k) {
    const double d = static_cast<double>(cells[k]) - expected[k];
    sum += d * d / expected[k];
  }
  return sum;
}

// log(n!): from a table for small n, else Stirling's series, which is exact to the last bit
// there and far quicker than a general log-gamma.
double LogFactorial(std::int64_t n) {
  constexpr int kTabled = 1024;
  static const std::array<double, kTabled> kTable = [] {
    std::array<double, kTabled> table{};
    for (int k = 0; k < kTabled; ++k) table[k] = bm::lgamma(k + 1.0);
    return table;
  }();
  if (n < kTabled) return kTable[static_cast<std::size_t>(n)];
  const double x = static_cast<double>(n) + 1;
  const double x2 = x * x;
  constexpr double kHalfLogTwoPi = 0.91893853320467274178;
  return (x - 0.5) * std::log(x) - x + kHalfLogTwoPi +
         (1.0 / 12 - (1.0 / 360 - 1.0 / 1260 / x2) / x2) / x;
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

// Successes in `draws` draws without replacement from `total` items of which `successes` are
// successes.
std::int64_t Hypergeometric(Random& random, std::int64_t total, std::int64_t successes,
                            std::int64_t draws) {
  const std::int64_t low = std::max<std::int64_t>(0, draws - (total - successes));
  const std::int64_t high = std::min(draws, successes);
  if (low == high) return low;
  if (high <= kDrawnOneByOne) return DrawnOneByOne(random, total, successes, draws);
  // The rarer kind of item in the fewer draws; the answer follows from theirs.
  const bool rareFailures = successes > total - successes;
  const bool fewerLeft = draws > total - draws;
  const std::int64_t rare = rareFailures ? total - successes : successes;
  const std::int64_t fewer = fewerLeft ? total - draws : draws;
  std::int64_t k = RatioOfUniforms(random, total, rare, fewer);
  if (rareFailures) k = fewer - k;   // successes in the fewer draws
  if (fewerLeft) k = successes - k;  // successes in the draws, not in those left
  return k;
}

// One table with the observed margins, column by column: each number's spins go to the logs
// as draws without replacement from the places the logs still have.
void RandomTable(Random& random, const Table& t, std::vector<std::int64_t>& cells) {
  std::vector<std::int64_t> room = t.rows;
  const std::size_t rows = t.rows.size(), columns = t.columns.size();
  std::int64_t left = std::accumulate(room.begin(), room.end(), std::int64_t{0});
  for (std::size_t j = 0; j < columns; ++j) {
    std::int64_t spins = t.columns[j];
    std::int64_t pool = left;
    for (std::size_t i = 0; i + 1 < rows; ++i) {
      const std::int64_t x = Hypergeometric(random, pool, room[i], spins);
      pool -= room[i];
      room[i] -= x;
      spins -= x;
      cells[i * columns + j] = x;
    }
    cells[(rows - 1) * columns + j] = spins;
    room[rows - 1] -= spins;
    left -= t.columns[j];
  }
}

double SimulatedP(const Table& t, double observed, int simulations, std::uint64_t seed) {
  // Ties in exact arithmetic can differ in the last bits when the cells are summed in another
  // order.
  const double reach = observed * (1 - 1e-12);
  std::array<int, kStreams> reached{};
  RunOnWorkers(kStreams, [&](int stream) {
    Random random = StreamOf(seed, StreamUse::LogsAgree, static_cast<std::uint64_t>(stream));
    std::vector<std::int64_t> cells(t.cells.size());
    const int first = simulations * stream / kStreams;
    const int last = simulations * (stream + 1) / kStreams;
    for (int s = first; s < last; ++s) {
      RandomTable(random, t, cells);
      if (Statistic(cells, t.expected) >= reach) ++reached[stream];
    }
  });
  const int total = std::accumulate(reached.begin(), reached.end(), 0);
  return (total + 1.0) / (simulations + 1.0);
}

}  // namespace

std::optional<Homogeneity> LogsAgree(std::span<const NumberCounts> logs, int simulations,
                                     std::uint64_t seed) {
  const Table t = MakeTable(logs);
  if (t.rows.size() < 2) return std::nullopt;
  Homogeneity h;
  h.statistic = Statistic(t.cells, t.expected);
  h.df = static_cast<int>((t.rows.size() - 1) * (t.columns.size() - 1));
  if (h.df == 0) {
    h.p_value = 1;  // one number in every log: nothing could differ
    return h;
  }
  h.simulated = simulations > 0 && std::any_of(t.expected.begin(), t.expected.end(),
                                               [](double e) { return e < kSmallExpected; });
  h.p_value = h.simulated ? SimulatedP(t, h.statistic, simulations, seed)
                          : bm::cdf(bm::complement(bm::chi_squared(h.df), h.statistic));
  return h;
}

}  // namespace vexilo::stats
