#include "stats/analysis/Homogeneity.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <vector>

#include "stats/analysis/Random.h"
#include "stats/analysis/Statistics.h"
#include "stats/analysis/Workers.h"

namespace vexilo::stats {
namespace {

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
      const std::int64_t x = random.Hypergeometric(pool, room[i], spins);
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
      if (PearsonStatistic(cells, t.expected) >= reach) ++reached[stream];
    }
  });
  const int total = std::accumulate(reached.begin(), reached.end(), 0);
  return MonteCarloP(total, simulations);
}

}  // namespace

std::optional<Homogeneity> LogsAgree(std::span<const NumberCounts> logs, int simulations,
                                     std::uint64_t seed) {
  const Table t = MakeTable(logs);
  if (t.rows.size() < 2) return std::nullopt;
  Homogeneity h;
  h.statistic = PearsonStatistic(t.cells, t.expected);
  h.df = static_cast<int>((t.rows.size() - 1) * (t.columns.size() - 1));
  if (h.df == 0) {
    h.p_value = 1;  // one number in every log: nothing could differ
    return h;
  }
  h.simulated = simulations > 0 && std::any_of(t.expected.begin(), t.expected.end(),
                                               [](double e) { return e < kSmallExpected; });
  h.p_value =
      h.simulated ? SimulatedP(t, h.statistic, simulations, seed) : ChiSquareP(h.statistic, h.df);
  return h;
}

}  // namespace vexilo::stats
