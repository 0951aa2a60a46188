#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "stats/analysis/Analysis.h"
#include "stats/analysis/Schedule.h"

namespace vexilo::stats {

// The evidence a fair wheel reaches at most kLevel of the time (Ville's inequality): 20.
inline constexpr double kEvidenceNeeded = 1 / kLevel;

// A beta prior on the share of a set of pockets (or of distances): its mean `excess` above the
// set's fair share (0.25: a quarter more often), its standard deviation `spread` in the same
// terms, and the part of the set's weight it carries.
struct HotPrior {
  double excess;
  double spread;
  double weight;
};

// The parts of the evidence and their weights, fixed before any spin is seen. Each part is a
// test martingale: the likelihood of the spins under a prior on the wheel's chances, over
// their likelihood on a fair wheel (a mixture of likelihood ratios: H. Robbins, 1970,
// "Statistical methods related to the law of the iterated logarithm", Annals of Mathematical
// Statistics 41; as Dirichlet-multinomial ratios of counts, M. Lindon and A. Malek, 2022,
// "Anytime-valid inference for multinomial count data", NeurIPS). Their weighted average is one
// too, and by Ville's inequality (J. Ville, 1939, Étude critique de la notion de collectif) a
// fair wheel lets it ever reach 1/kLevel at most kLevel of the time (A. Ramdas, P. Grünwald,
// V. Vovk and G. Shafer, 2023, "Game-theoretic statistics and safe anytime-valid inference",
// Statistical Science 38).
struct EvidenceDesign {
  // The weight of each source; they sum to 1.
  double numbers = 0;    // a Dirichlet mixture on the 37 numbers
  double pockets = 0;    // beta mixtures on each pocket's share (37)
  double arcs = 0;       // on the share of each arc of 2 to 18 neighbouring pockets (37 each)
  double families = 0;   // a Dirichlet mixture on each family's cells, zero one of its own
  double signature = 0;  // a Dirichlet mixture on the 37 distances from spin to spin
  double steps = 0;      // beta mixtures on the share of neighbouring distances (37 each)
  // The Dirichlet priors, each with an even part of its source's weight: a concentration per
  // cell for the numbers and the distances (symmetric), a total concentration about the fair
  // shares for a family.
  std::vector<double> alphas;
  std::vector<double> familyStrengths;
  // The beta priors of every pocket, of every arc, and of every arc of distances; each list's
  // weights are relative.
  std::vector<HotPrior> pocketPriors;
  std::vector<HotPrior> arcPriors;
  std::vector<HotPrior> stepPriors;
  // The weight of each arc length 2..18 within the arcs, and of each length 1.. of
  // neighbouring distances within the steps: relative, each set of 37 shares it evenly.
  std::vector<double> arcLengths;
  std::vector<double> stepLengths;
};

// The design the report uses (see the read-me): most of the weight on hot pockets and short
// hot arcs, their priors on the hot side, concentrated on biases of about 10%, 25% and 50%.
const EvidenceDesign& TheEvidenceDesign();

// One part of the evidence: a set (the numbers, a pocket, an arc, a family, the distances, an
// arc of distances) under one prior.
struct EvidencePart {
  EvidenceSource source = EvidenceSource::Numbers;
  Family family = Family::Number;  // of a Family part
  int set = 0;                     // the set it belongs to: parts of one set are named together
  std::vector<int> cells;          // pockets in wheel order, or distances; empty for a whole source
  double weight = 0;               // its weight in the average; all of them sum to 1
  // Its prior: a beta's (a, b) on the set's share, or a Dirichlet's parameters, one per cell
  // (the 37 numbers or distances, or the family's cells, zero first).
  double a = 0, b = 0;
  std::vector<double> dirichlet;
};

// The evidence at given counts, part by part and together.
class EvidenceMeter {
 public:
  explicit EvidenceMeter(const EvidenceDesign& design = TheEvidenceDesign());

  struct Reading {
    double log = 0;  // ln of the evidence
    int driver = 0;  // the set that carries most of it
    double driverShare = 0;
  };
  Reading Read(const RunningCounts& counts);
  // ln of each part's own martingale at the counts, in the order of Parts().
  std::vector<double> PartLogs(const RunningCounts& counts);

  const std::vector<EvidencePart>& Parts() const { return parts_; }
  // The source and cells of a set.
  const EvidencePart& SetOf(int set) const { return parts_[firstOfSet_[set]]; }

 private:
  // The beta priors of one length on numbers or distances, each prior's constants.
  struct HotGroup {
    bool distances = false;
    int length = 1;
    int firstPart = 0;  // the group's parts: for each prior, 37 sets in order of their start
    int firstSet = 0;
    double logFair = 0, logUnfair = 0;  // ln of a fair wheel's share of the set and the rest
    struct Prior {
      double a, b, logBeta;  // logBeta = ln B(a, b)
    };
    std::vector<Prior> priors;
  };
  struct DirichletPart {
    int part = 0;
    int family = -1;  // index in kLookFamilies; -1 for the numbers or the distances
    bool distances = false;
    std::vector<double> alphas;   // per cell
    double constant = 0;          // ln Γ(Σα) − Σ ln Γ(α_j)
    std::vector<double> logFair;  // ln of each cell's fair share
  };

  void AddDirichlet(EvidenceSource source, int family, std::vector<double> alphas, double weight);
  void AddHot(EvidenceSource source, bool distances, int length, double weight,
              const std::vector<HotPrior>& priors);
  void Evaluate(const RunningCounts& counts, std::vector<double>& logs) const;

  std::vector<EvidencePart> parts_;
  std::vector<double> logWeights_;
  std::vector<int> firstOfSet_;
  std::vector<DirichletPart> dirichlets_;
  std::vector<HotGroup> hot_;
  std::vector<double> logs_;  // scratch: each part's weighted ln at the last reading
  std::vector<double> sets_;
};

// The evidence read point by point as the spins come: its series, its maximum, where it first
// reached kEvidenceNeeded and what carried it there.
class EvidenceTrack {
 public:
  explicit EvidenceTrack(const EvidenceDesign& design = TheEvidenceDesign()) : meter_(design) {}

  void At(const RunningCounts& counts);
  // The figures so far; those of no spins before the first point.
  const Evidence& Figures() const { return e_; }

 private:
  EvidenceMeter meter_;
  Evidence e_;
  double highest_ = -1e308;  // ln of the maximum
};

// The points a record's figures are read at besides the schedule's: the logs' ends and the
// last spin, ascending.
std::vector<std::int64_t> PointsToRead(std::span<const std::int64_t> ends, std::int64_t spins);

// The evidence over the spins in order, read at every point of the schedule and at each of
// `ends` (the logs' ends, ascending; the last spin is always read).
Evidence EvidenceOf(std::span<const std::uint8_t> spins, std::span<const std::int64_t> ends,
                    const EvidenceDesign& design = TheEvidenceDesign());

}  // namespace vexilo::stats
