#include "stats/analysis/Evidence.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "stats/analysis/LogGamma.h"
#include "stats/analysis/Looks.h"
#include "stats/analysis/Wheel.h"

namespace vexilo::stats {
namespace {

double Sum(const std::vector<double>& values) {
  return std::accumulate(values.begin(), values.end(), 0.0);
}

// The priors with weights that sum to 1.
std::vector<HotPrior> Normalised(std::vector<HotPrior> priors) {
  double total = 0;
  for (const HotPrior& prior : priors) total += prior.weight;
  for (HotPrior& prior : priors) prior.weight /= total;
  return priors;
}

}  // namespace

const EvidenceDesign& TheEvidenceDesign() {
  // Fixed by measuring the power table's rows (stats_evidence_table) on simulated records,
  // never on a record the report reads: a weight or a prior changes only with that table.
  static const EvidenceDesign design = [] {
    EvidenceDesign d;
    d.numbers = 0.04;
    d.pockets = 0.36;
    d.arcs = 0.36;
    d.families = 0.04;
    d.signature = 0.04;
    d.steps = 0.16;
    d.alphas = {10, 100, 1000};
    d.familyStrengths = {100, 1000, 10000};
    d.pocketPriors = {{0.10, 0.04, 1}, {0.25, 0.08, 1}, {0.50, 0.15, 1}};
    d.arcPriors = {{0.10, 0.04, 1}, {0.25, 0.08, 1}};
    d.stepPriors = {{0.10, 0.04, 1}, {0.25, 0.08, 1}, {0.50, 0.15, 1}};
    for (int length = 2; length <= kLongestArc; ++length) d.arcLengths.push_back(1.0 / length);
    for (int length = 1; length <= 6; ++length) d.stepLengths.push_back(1.0 / length);
    return d;
  }();
  return design;
}

EvidenceMeter::EvidenceMeter(const EvidenceDesign& design) {
  std::vector<double> alphaEach(kPockets);
  for (const double alpha : design.alphas) {
    alphaEach.assign(kPockets, alpha);
    AddDirichlet(EvidenceSource::Numbers, -1, alphaEach,
                 design.numbers / static_cast<double>(design.alphas.size()));
  }
  const std::vector<HotPrior> pocketPriors = Normalised(design.pocketPriors);
  const std::vector<HotPrior> arcPriors = Normalised(design.arcPriors);
  const std::vector<HotPrior> stepPriors = Normalised(design.stepPriors);
  AddHot(EvidenceSource::Pocket, false, 1, design.pockets, pocketPriors);
  const double arcWeights = Sum(design.arcLengths);
  for (std::size_t i = 0; i < design.arcLengths.size(); ++i) {
    AddHot(EvidenceSource::Arc, false, static_cast<int>(i) + 2,
           design.arcs * design.arcLengths[i] / arcWeights, arcPriors);
  }
  const double familyWeight =
      design.families / static_cast<double>(kLookFamilies.size() * design.familyStrengths.size());
  for (std::size_t f = 0; f < kLookFamilies.size(); ++f) {
    const FamilyCells cells = CellsOf(kLookFamilies[f]);
    for (const double strength : design.familyStrengths) {
      std::vector<double> alphas(cells.cells);
      for (int j = 0; j < cells.cells; ++j) alphas[j] = strength * cells.shares[j];
      AddDirichlet(EvidenceSource::Family, static_cast<int>(f), alphas, familyWeight);
    }
  }
  for (const double alpha : design.alphas) {
    alphaEach.assign(kPockets, alpha);
    AddDirichlet(EvidenceSource::Signature, -1, alphaEach,
                 design.signature / static_cast<double>(design.alphas.size()));
  }
  const double stepWeights = Sum(design.stepLengths);
  for (std::size_t i = 0; i < design.stepLengths.size(); ++i) {
    AddHot(EvidenceSource::Steps, true, static_cast<int>(i) + 1,
           design.steps * design.stepLengths[i] / stepWeights, stepPriors);
  }
  for (const EvidencePart& part : parts_) logWeights_.push_back(std::log(part.weight));
  logs_.resize(parts_.size());
}

void EvidenceMeter::AddDirichlet(EvidenceSource source, int family, std::vector<double> alphas,
                                 double weight) {
  if (weight <= 0) return;
  DirichletPart d;
  d.part = static_cast<int>(parts_.size());
  d.family = family;
  d.distances = source == EvidenceSource::Signature;
  d.alphas = alphas;
  // The same set under another concentration is named with it.
  const bool newSet = parts_.empty() || parts_.back().source != source || dirichlets_.empty() ||
                      dirichlets_.back().family != family;
  if (newSet) firstOfSet_.push_back(d.part);
  const double total = Sum(alphas);
  d.constant = LogGamma(total);
  for (const double alpha : alphas) {
    d.constant -= LogGamma(alpha);
    d.logFair.push_back(std::log(alpha / total));
  }
  EvidencePart part;
  part.source = source;
  if (family >= 0) part.family = static_cast<Family>(static_cast<int>(Family::Colour) + family);
  part.set = static_cast<int>(firstOfSet_.size()) - 1;
  part.weight = weight;
  part.dirichlet = std::move(alphas);
  parts_.push_back(std::move(part));
  dirichlets_.push_back(std::move(d));
}

void EvidenceMeter::AddHot(EvidenceSource source, bool distances, int length, double weight,
                           const std::vector<HotPrior>& priors) {
  if (weight <= 0) return;
  HotGroup group;
  group.distances = distances;
  group.length = length;
  group.firstPart = static_cast<int>(parts_.size());
  group.firstSet = static_cast<int>(firstOfSet_.size());
  const double fair = static_cast<double>(length) / kPockets;
  group.logFair = std::log(fair);
  group.logUnfair = std::log1p(-fair);
  for (int start = 0; start < kPockets; ++start) firstOfSet_.push_back(group.firstPart + start);
  for (const HotPrior& prior : priors) {
    // A beta of that mean and standard deviation.
    const double mean = fair * (1 + prior.excess);
    const double sd = fair * prior.spread;
    const double strength = mean * (1 - mean) / (sd * sd) - 1;
    const double a = mean * strength, b = (1 - mean) * strength;
    group.priors.push_back({a, b, LogGamma(a) + LogGamma(b) - LogGamma(a + b)});
    for (int start = 0; start < kPockets; ++start) {
      EvidencePart part;
      part.source = source;
      part.set = group.firstSet + start;
      for (int k = 0; k < length; ++k) {
        const int place = (start + k) % kPockets;
        part.cells.push_back(distances ? place : kWheelOrder[place]);
      }
      part.weight = weight * prior.weight / kPockets;
      part.a = a;
      part.b = b;
      parts_.push_back(std::move(part));
    }
  }
  hot_.push_back(std::move(group));
}

void EvidenceMeter::Evaluate(const RunningCounts& counts, std::vector<double>& logs) const {
  const std::int64_t pairs = std::max<std::int64_t>(counts.spins - 1, 0);
  const NumberCounts inWheelOrder = InWheelOrder(counts.numbers);
  for (const DirichletPart& d : dirichlets_) {
    std::array<std::int64_t, kMostCells> familyCells{};
    const std::int64_t* cells = d.distances ? counts.distances.data() : counts.numbers.data();
    if (d.family >= 0) {
      familyCells = CellsOf(kLookFamilies[d.family]).Count(counts.numbers);
      cells = familyCells.data();
    }
    const std::int64_t trials = d.distances ? pairs : counts.spins;
    double log = d.constant - LogGamma(Sum(d.alphas) + static_cast<double>(trials));
    for (std::size_t j = 0; j < d.alphas.size(); ++j) {
      const auto c = static_cast<double>(cells[j]);
      log += LogGamma(d.alphas[j] + c) - c * d.logFair[j];
    }
    logs[d.part] = log;
  }
  for (const HotGroup& g : hot_) {
    const std::int64_t trials = g.distances ? pairs : counts.spins;
    const auto n = static_cast<double>(trials);
    const auto sets = ArcCounts(g.distances ? counts.distances : inWheelOrder, g.length);
    int part = g.firstPart;
    for (const HotGroup::Prior& prior : g.priors) {
      const double common = LogGamma(prior.a + prior.b + n) + prior.logBeta + n * g.logUnfair;
      const double tilt = g.logFair - g.logUnfair;
      for (int start = 0; start < kPockets; ++start) {
        const auto c = static_cast<double>(sets[start]);
        logs[part++] = LogGamma(prior.a + c) + LogGamma(prior.b + n - c) - common - c * tilt;
      }
    }
  }
}

std::vector<double> EvidenceMeter::PartLogs(const RunningCounts& counts) {
  std::vector<double> logs(parts_.size());
  Evaluate(counts, logs);
  return logs;
}

EvidenceMeter::Reading EvidenceMeter::Read(const RunningCounts& counts) {
  Evaluate(counts, logs_);
  double top = -INFINITY;
  for (std::size_t i = 0; i < logs_.size(); ++i) {
    logs_[i] += logWeights_[i];
    top = std::max(top, logs_[i]);
  }
  sets_.assign(firstOfSet_.size(), 0.0);
  double sum = 0;
  for (std::size_t i = 0; i < logs_.size(); ++i) {
    // A part below e^-60 of the largest changes no digit of the sum: no exp for it.
    if (logs_[i] < top - 60) continue;
    const double share = std::exp(logs_[i] - top);
    sets_[parts_[i].set] += share;
    sum += share;
  }
  Reading reading;
  reading.log = top + std::log(sum);
  reading.driver = static_cast<int>(std::max_element(sets_.begin(), sets_.end()) - sets_.begin());
  reading.driverShare = sets_[reading.driver] / sum;
  return reading;
}

void EvidenceTrack::At(const RunningCounts& counts) {
  const EvidenceMeter::Reading reading = meter_.Read(counts);
  const double value = HeldExp(reading.log);
  e_.series.push_back({counts.spins, value});
  e_.value = value;
  if (e_.reached_at < 0 && value >= kEvidenceNeeded) e_.reached_at = counts.spins;
  e_.biased = e_.reached_at >= 0;
  if (reading.log > highest_) {
    highest_ = reading.log;
    e_.max = value;
    e_.max_at = counts.spins;
    e_.p_value = std::min(1.0, 1 / value);
    const EvidencePart& set = meter_.SetOf(reading.driver);
    e_.driver = set.source;
    e_.driver_family = set.family;
    e_.driver_cells = set.cells;
    e_.driver_share = reading.driverShare;
  }
}

std::vector<std::int64_t> PointsToRead(std::span<const std::int64_t> ends, std::int64_t spins) {
  std::vector<std::int64_t> read(ends.begin(), ends.end());
  read.push_back(spins);
  std::sort(read.begin(), read.end());
  return read;
}

Evidence EvidenceOf(std::span<const std::uint8_t> spins, std::span<const std::int64_t> ends,
                    const EvidenceDesign& design) {
  EvidenceTrack track(design);
  WalkSchedule(spins, PointsToRead(ends, static_cast<std::int64_t>(spins.size())),
               [&](const RunningCounts& counts, bool) { track.At(counts); });
  return track.Figures();
}

}  // namespace vexilo::stats
