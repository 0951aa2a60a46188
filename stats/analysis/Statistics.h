#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace vexilo::stats {

// The statistical functions the analysis is made of, each written once. Every function that
// needs trials or cells is given at least one (the callers say NaN where there is none).

// Deviation of a count of `trials` from a fair wheel's, in standard deviations of the binomial
// with chance p: (count - n p) / sqrt(n p (1 - p)), about standard normal for many trials
// (A. de Moivre, 1733; P.-S. Laplace, 1812, Théorie analytique des probabilités). NaN with no
// trials.
double ZScore(std::int64_t count, std::int64_t trials, double p);

// Pearson's chi-square statistic, the sum over the cells of (observed - expected)^2 / expected
// (K. Pearson, 1900, "On the criterion that a given system of deviations from the probable ...",
// Philosophical Magazine 50). The goodness-of-fit tests give it n times a fair share per cell,
// the logs agreeing the products of the table's margins over its total.
double PearsonStatistic(std::span<const std::int64_t> observed, std::span<const double> expected);

// The chance that a chi-square variable of `df` degrees of freedom reaches `statistic`: the
// p-value of Pearson's test from its large-sample distribution (Pearson, 1900; the degrees of
// freedom of a table as R. A. Fisher, 1922, "On the interpretation of chi-square from contingency
// tables, and the calculation of P", JRSS 85, gave them).
double ChiSquareP(double statistic, int df);

// The exact two-sided binomial p-value of a number that came up `count` times in `spins`, at
// a fair wheel's 1/37: the smaller tail doubled, at most 1.
double TwoSidedBinomialP(std::int64_t spins, std::int64_t count);

// The exact one-sided binomial p-value P(X >= hits) for X binomial(trials, p).
double UpperBinomialP(std::int64_t trials, std::int64_t hits, double p);

// The exact (Clopper-Pearson) interval of a binomial share at the given confidence: the
// shares whose one-sided tails at `hits` are each at least (1 - confidence) / 2
// (C. J. Clopper and E. S. Pearson, 1934, "The use of confidence or fiducial limits illustrated
// in the case of the binomial", Biometrika 26).
std::array<double, 2> ClopperPearson(std::int64_t trials, std::int64_t hits, double confidence);

// Holm's step-down adjustment of a family of p-values (S. Holm, 1979, "A simple sequentially
// rejective multiple test procedure", Scandinavian Journal of Statistics 6): the k-th smallest
// of m is multiplied by m - k + 1, at most 1, and an adjusted p-value is never below the one
// before it. Below the level, a test is rejected with a familywise error of at most the level.
// Equal p-values keep their order and so get the same adjusted p-value.
std::vector<double> HolmAdjusted(std::span<const double> p);

// The p-value of a Monte Carlo test: (reached + 1) / (simulations + 1), where `reached` of the
// `simulations` simulated statistics are at least as extreme as the observed one. The observed
// value counts as one more draw, so the p-value is never 0 and holds its level exactly
// (A. C. A. Hope, 1968, "A simplified Monte Carlo significance test procedure", JRSS B 30;
// B. Phipson and G. K. Smyth, 2010, "Permutation p-values should never be zero", SAGMB 9).
double MonteCarloP(std::int64_t reached, std::int64_t simulations);

}  // namespace vexilo::stats
