#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "stats/analysis/Analysis.h"
#include "stats/analysis/SpinAccumulator.h"

namespace vexilo::stats {

inline constexpr std::uint64_t kDefaultSeed = 20240901;
inline constexpr int kDefaultSimulations = 10000;
inline constexpr double kDefaultHoldout = 0.5;

struct AnalysisOptions {
  std::uint64_t seed = kDefaultSeed;  // of the fair wheels the best arc is held against
  int simulations = kDefaultSimulations;
  double holdout = kDefaultHoldout;  // share of the spins kept back as the later ones; 0: none
};

// Every figure of the report from the spins gathered; files are carried over as they are.
Analysis Analyse(const SpinAccumulator& spins, std::vector<FileFigures> files,
                 const AnalysisOptions& options = {});

// The same for a list of spins held in memory (tests, the report's pictures), as one file.
Analysis AnalyseSpins(std::span<const std::uint8_t> spins, const AnalysisOptions& options = {});

}  // namespace vexilo::stats
