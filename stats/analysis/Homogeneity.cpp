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
// Sets these streams apart from every other use of the same seed.
constexpr std::uint64_t kStreamTag = 0x6C6F677320616772u;

// splitmix64's finaliser: seeds that differ in one bit give unrelated streams.
std::uint64_t Mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15u;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
  return x ^ (x >> 31);
}

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

// In double throughout: long double is slow where it exists and absent where it does not.
using DoublePolicy = bm::policies::policy<bm::policies::promote_double<false>>;

double LogFactorial(std::int64_t n) {
  return bm::lgamma(static_cast<double>(n) + 1, DoublePolicy());
}

double LogChoose(std::int64_t n, std::int64_t k) {
  return LogFactorial(n) - LogFactorial(k) - LogFactorial(n - k);
}

// Below this many draws (or successes, which play the same part), drawing them one by one is
// quicker than finding the chance at the mode.
constexpr std::int64_t kDrawnOneByOne = 64;

// Successes in `draws` draws without replacement from `total` items of which `successes` are
// successes. Few draws are made one by one; else the chance at the mode, then outwards from it
// on both sides until a uniform draw is covered, so the walk is about as long as the spread,
// however many spins there are.
std::int64_t Hypergeometric(Random& random, std::int64_t total, std::int64_t successes,
                            std::int64_t draws) {
  const std::int64_t low = std::max<std::int64_t>(0, draws - (total - successes));
  const std::int64_t high = std::min(draws, successes);
  if (low == high) return low;
  if (high <= kDrawnOneByOne) {
    const std::int64_t marked = std::max(draws, successes);
    std::int64_t found = 0;
    for (std::int64_t left = total; left > total - high; --left) {
      if (random.Uniform() * static_cast<double>(left) < static_cast<double>(marked - found)) {
        ++found;
      }
    }
    return found;
  }
  const auto mode = std::clamp<std::int64_t>(
      static_cast<std::int64_t>((draws + 1.0) * (successes + 1.0) / (total + 2.0)), low, high);
  const double atMode =
      std::exp(LogChoose(successes, mode) + LogChoose(total - successes, draws - mode) -
               LogChoose(total, draws));
  // The chance of k + 1 over the chance of k.
  const auto ratio = [&](std::int64_t k) {
    return static_cast<double>(successes - k) * static_cast<double>(draws - k) /
           (static_cast<double>(k + 1) * static_cast<double>(total - successes - draws + k + 1));
  };
  for (;;) {
    double u = random.Uniform() - atMode;
    if (u < 0) return mode;
    double up = atMode, down = atMode;
    std::int64_t above = mode, below = mode;
    while (above < high || below > low) {
      if (above < high) {
        up *= ratio(above++);
        if ((u -= up) < 0) return above;
      }
      if (below > low) {
        down /= ratio(--below);
        if ((u -= down) < 0) return below;
      }
    }
    // Rounding left a sliver beyond the support: draw again.
  }
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
    Random random(Mix(Mix(seed ^ kStreamTag) + static_cast<std::uint64_t>(stream)));
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
