#include "stats/Analyse.h"

#include <cmath>
#include <limits>
#include <utility>

namespace vexilo::stats {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

// First cut: counts, shares, sleepers and streak lengths; the tests follow.
Analysis Analyse(const SpinAccumulator& spins, std::vector<FileFigures> files,
                 const AnalysisOptions& options) {
  Analysis a;
  a.spins = spins.Spins();
  a.files = std::move(files);
  a.seed = options.seed;
  a.arc_simulations = options.simulations;
  const double n = static_cast<double>(a.spins);
  for (int k = 0; k < kPockets; ++k) {
    NumberFigures& f = a.numbers[k];
    f.number = k;
    f.count = spins.Count(k);
    f.expected = 1.0 / kPockets;
    f.share = a.spins > 0 ? f.count / n : kNaN;
    f.z = kNaN;
    f.p_value = kNaN;
    f.adjusted_p = kNaN;
    f.since_last = spins.SinceLast(k);
    f.longest_absence = spins.LongestAbsence(k);
  }
  a.arc_p_value = kNaN;
  a.signature.counts = spins.Distances();
  a.signature.test = {"signature", kNaN, kPockets - 1, kNaN, ""};
  return a;
}

Analysis AnalyseSpins(std::span<const std::uint8_t> spins, const AnalysisOptions& options) {
  SpinAccumulator all;
  all.Add(spins);
  const auto count = static_cast<std::int64_t>(spins.size());
  return Analyse(all, {FileFigures{"-", count, count}}, options);
}

}  // namespace vexilo::stats
