#include "stats/analysis/Analyse.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

#include "engine/ShareFamily.h"
#include "stats/analysis/Anytime.h"
#include "stats/analysis/Arcs.h"
#include "stats/analysis/Holdout.h"
#include "stats/analysis/Homogeneity.h"
#include "stats/analysis/Looks.h"
#include "stats/analysis/Statistics.h"
#include "stats/analysis/Verdict.h"
#include "stats/analysis/Wheel.h"

namespace vexilo::stats {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The families the board shows, in the report's order; streets and sectors are named by their
// numbers.
struct FamilyRow {
  ShareFamily cells;
  Family family;
  std::array<std::string_view, 3> names;
};

constexpr std::array<FamilyRow, 7> kFamilyRows = {{
    {ShareFamily::Color, Family::Colour, {"red", "black"}},
    {ShareFamily::Parity, Family::Parity, {"even", "odd"}},
    {ShareFamily::Half, Family::Half, {"1-18", "19-36"}},
    {ShareFamily::Dozen, Family::Dozen, {"1st 12", "2nd 12", "3rd 12"}},
    {ShareFamily::Column, Family::Column, {"column 1", "column 2", "column 3"}},
    {ShareFamily::Street, Family::Street, {}},
    {ShareFamily::Sector, Family::Sector, {}},
}};

std::string GroupName(const FamilyRow& row, int selector) {
  const int index = selector - SelectorsOf(row.cells).first;
  if (row.cells == ShareFamily::Sector) return std::string(kSectorCaptions[index]);
  if (row.cells == ShareFamily::Street) {
    const int first = 3 * index + 1;
    return std::to_string(first) + "-" + std::to_string(first + 1) + "-" +
           std::to_string(first + 2);
  }
  return std::string(row.names[index]);
}

double Share(std::int64_t count, std::int64_t spins) {
  return spins > 0 ? static_cast<double>(count) / static_cast<double>(spins) : kNaN;
}

// Pearson's chi-square of the observed cells against fair shares of the spins.
FitTest Fit(Family family, std::span<const std::int64_t> observed, std::span<const double> shares,
            std::int64_t spins) {
  FitTest test;
  test.family = family;
  test.df = static_cast<int>(observed.size()) - 1;
  test.statistic = kNaN;
  test.p_value = kNaN;
  if (spins > 0) {
    std::vector<double> expected(shares.size());
    for (std::size_t i = 0; i < shares.size(); ++i) {
      expected[i] = static_cast<double>(spins) * shares[i];
    }
    test.statistic = PearsonStatistic(observed, expected);
    test.p_value = ChiSquareP(test.statistic, test.df);
  }
  return test;
}

// Names the cell furthest from a fair wheel's count, by the z-score of its count alone.
template <typename CellName>
void NameDriver(FitTest& test, std::span<const std::int64_t> observed,
                std::span<const double> shares, std::int64_t spins, CellName name) {
  test.driver_z = kNaN;
  if (spins == 0) return;
  std::size_t driver = 0;
  for (std::size_t i = 0; i < observed.size(); ++i) {
    const double z = ZScore(observed[i], spins, shares[i]);
    if (i == 0 || std::fabs(z) > std::fabs(test.driver_z)) {
      driver = i;
      test.driver_z = z;
    }
  }
  test.driver = name(static_cast<int>(driver));
}

std::string NumberName(int n) {
  return n == 0 ? "zero" : std::to_string(n);
}

// The 37 numbers against a fair wheel.
FitTest NumberTest(const NumberCounts& counts, std::int64_t spins) {
  std::array<double, kPockets> shares{};
  shares.fill(1.0 / kPockets);
  FitTest test = Fit(Family::Number, counts, shares, spins);
  NameDriver(test, counts, shares, spins, NumberName);
  return test;
}

// The number with the highest count, and so the highest z; -1 with no spins.
int Hottest(const NumberCounts& counts, std::int64_t spins) {
  if (spins == 0) return -1;
  return static_cast<int>(std::max_element(counts.begin(), counts.end()) - counts.begin());
}

void AddNumbers(const SpinAccumulator& spins, Analysis& a) {
  constexpr double p = 1.0 / kPockets;
  for (int k = 0; k < kPockets; ++k) {
    NumberFigures& f = a.numbers[k];
    f.number = k;
    f.count = spins.Count(k);
    f.expected = p;
    f.share = Share(f.count, a.spins);
    f.z = ZScore(f.count, a.spins, p);
    f.p_value = kNaN;
    f.since_last = spins.SinceLast(k);
    f.longest_absence = spins.LongestAbsence(k);
    if (a.spins > 0) f.p_value = TwoSidedBinomialP(a.spins, f.count);
  }
  std::array<double, kPockets> p_values{};
  for (int k = 0; k < kPockets; ++k) p_values[k] = a.numbers[k].p_value;
  const std::vector<double> adjusted = HolmAdjusted(p_values);
  for (int k = 0; k < kPockets; ++k) {
    NumberFigures& f = a.numbers[k];
    f.adjusted_p = a.spins > 0 ? adjusted[k] : kNaN;
    if (IsSignificant(f.adjusted_p)) {
      f.heat = static_cast<double>(f.count) > a.spins * p ? Heat::Hot : Heat::Cold;
    }
  }
  if (a.spins > 0) {
    const auto byZ = [](const NumberFigures& x, const NumberFigures& y) { return x.z < y.z; };
    a.hottest = std::max_element(a.numbers.begin(), a.numbers.end(), byZ)->number;
    a.coldest = std::min_element(a.numbers.begin(), a.numbers.end(), byZ)->number;
  }
  a.tests.push_back(NumberTest(spins.Counts(), a.spins));
}

// Each family's groups, and its test with zero as a cell of its own (the first).
void AddGroups(const SpinAccumulator& spins, Analysis& a) {
  for (const FamilyRow& row : kFamilyRows) {
    const SelectorRange range = SelectorsOf(row.cells);
    const int groups = range.last - range.first + 1;
    const FamilyCells layout = CellsOf(row.cells);
    const auto counted = layout.Count(spins.Counts());
    const std::span cells = std::span(counted).first(layout.cells);
    const std::span shares = std::span(layout.shares).first(layout.cells);
    for (int g = 1; g <= groups; ++g) {
      GroupFigures f;
      f.family = row.family;
      f.name = GroupName(row, range.first + g - 1);
      f.pockets = static_cast<int>(std::lround(shares[g] * kPockets));
      f.count = cells[g];
      f.share = Share(f.count, a.spins);
      f.expected = static_cast<double>(f.pockets) / kPockets;
      f.z = ZScore(f.count, a.spins, f.expected);
      a.groups.push_back(std::move(f));
    }
    FitTest test = Fit(row.family, cells, shares, a.spins);
    NameDriver(test, cells, shares, a.spins, [&](int cell) {
      return cell == 0 ? std::string("zero") : GroupName(row, range.first + cell - 1);
    });
    a.tests.push_back(std::move(test));
  }
}

// Zero against the rest of the wheel, which the families' tests spread over several cells.
void AddZero(const SpinAccumulator& spins, Analysis& a) {
  const std::array<std::int64_t, 2> cells = {spins.Count(0), a.spins - spins.Count(0)};
  FitTest test = Fit(Family::Zero, cells, kZeroShares, a.spins);
  NameDriver(test, cells, kZeroShares, a.spins, [](int) { return std::string("zero"); });
  a.tests.push_back(std::move(test));
}

// Each log's analysed spins, which follow one another in the record; the figures of the logs
// are left as they are when they do not add up to the record.
void AddFiles(const SpinAccumulator& spins, const AnalysisOptions& options, Analysis& a) {
  std::int64_t total = 0;
  for (const FileFigures& f : a.files) total += f.analysed;
  if (total != a.spins || a.files.empty()) return;
  // Every log is counted but the longest, which is what the others leave of the whole.
  const auto longest =
      static_cast<std::size_t>(std::max_element(a.files.begin(), a.files.end(),
                                                [](const FileFigures& x, const FileFigures& y) {
                                                  return x.analysed < y.analysed;
                                                }) -
                               a.files.begin());
  std::vector<NumberCounts> counts(a.files.size());
  NumberCounts rest = spins.Counts();
  std::size_t from = 0;
  for (std::size_t i = 0; i < a.files.size(); ++i) {
    const auto size = static_cast<std::size_t>(a.files[i].analysed);
    if (i != longest) {
      counts[i] = CountNumbers(spins.Record().subspan(from, size));
      for (int n = 0; n < kPockets; ++n) rest[n] -= counts[i][n];
    }
    from += size;
  }
  counts[longest] = rest;
  for (std::size_t i = 0; i < a.files.size(); ++i) {
    a.files[i].test = NumberTest(counts[i], a.files[i].analysed);
    a.files[i].hottest = Hottest(counts[i], a.files[i].analysed);
  }
  if (a.files.size() > 1) a.logs_agree = LogsAgree(counts, options.simulations, options.seed);
}

void AddArcs(const SpinAccumulator& spins, Analysis& a) {
  const auto best = ArcScan(a.spins).Best(InWheelOrder(spins.Counts()));
  for (int length = 1; length <= kLongestArc; ++length) {
    const BestArc& arc = best[length - 1];
    ArcFigures f;
    f.length = length;
    f.pockets = ArcPockets(arc.start, length);
    f.count = arc.count;
    f.expected = static_cast<double>(a.spins) * length / kPockets;
    f.z = a.spins > 0 ? arc.z : kNaN;
    a.arcs.push_back(std::move(f));
  }
  if (a.spins > 0) {
    a.best_arc = static_cast<int>(
        std::max_element(best.begin(), best.end(),
                         [](const BestArc& x, const BestArc& y) { return x.z < y.z; }) -
        best.begin());
  }
}

void AddSignature(const SpinAccumulator& spins, Analysis& a) {
  a.signature.counts = spins.Distances();
  std::array<double, kPockets> shares{};
  shares.fill(1.0 / kPockets);
  const std::int64_t pairs = a.spins > 0 ? a.spins - 1 : 0;
  a.signature.test = Fit(Family::Signature, a.signature.counts, shares, pairs);
  NameDriver(a.signature.test, a.signature.counts, shares, pairs,
             [](int d) { return "distance " + std::to_string(d); });
}

void AddStreaks(const SpinAccumulator& spins, Analysis& a) {
  static constexpr std::array<std::pair<std::string_view, StreakKind>, kStreakKinds> kRows = {{
      {"red", StreakKind::Red},
      {"black", StreakKind::Black},
      {"even", StreakKind::Even},
      {"odd", StreakKind::Odd},
      {"same dozen", StreakKind::Dozen},
      {"same column", StreakKind::Column},
  }};
  for (const auto& [name, kind] : kRows) {
    a.streaks.push_back({std::string(name), spins.LongestRun(kind), spins.CurrentRun(kind)});
  }
}

}  // namespace

Analysis Analyse(const SpinAccumulator& spins, std::vector<FileFigures> files,
                 const AnalysisOptions& options) {
  Analysis a;
  a.spins = spins.Spins();
  a.files = std::move(files);
  a.seed = options.seed;
  a.simulations = options.simulations;
  AddNumbers(spins, a);
  AddGroups(spins, a);
  AddZero(spins, a);
  AddFiles(spins, options, a);
  a.holdout = CheckLaterSpins(spins, options.holdout);
  AddArcs(spins, a);
  AddSignature(spins, a);
  AddStreaks(spins, a);
  // The anytime figures walk the spins on a core of their own while the fair wheels of the
  // one-reading verdict are drawn on the others; each writes figures of its own. A thread that
  // cannot be made leaves the walk to this one.
  std::exception_ptr failed;
  const auto anytime = [&] {
    try {
      AddAnytime(spins, a);
    } catch (...) {
      failed = std::current_exception();
    }
  };
  std::jthread helper;
  try {
    helper = std::jthread(anytime);
  } catch (const std::system_error&) {
    anytime();
  }
  AddVerdict(spins, options, a);
  if (helper.joinable()) helper.join();
  if (failed) std::rethrow_exception(failed);
  return a;
}

Analysis AnalyseSpins(std::span<const std::uint8_t> spins, const AnalysisOptions& options) {
  SpinAccumulator all;
  all.Add(spins);
  const auto count = static_cast<std::int64_t>(spins.size());
  FileFigures file;
  file.name = "-";
  file.spins = file.analysed = count;
  return Analyse(all, {file}, options);
}

}  // namespace vexilo::stats
