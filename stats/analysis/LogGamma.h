#pragma once

#include <cmath>

namespace vexilo::stats {

// ln Γ(x) for x > 0, to about 1e-15 of its size: Stirling's series from 10 up (the next term
// is below 2e-14 there), the recurrence Γ(x) = Γ(x + 1) / x below it. The evidence takes
// thousands of these at every point of its schedule, so it is written to be quick: one log
// and one division above 10, where nearly all of them fall.
inline double LogGamma(double x) {
  constexpr double kHalfLogTwoPi = 0.91893853320467274178;
  double shift = 0;
  if (x < 10) {
    double product = 1;
    while (x < 10) {
      product *= x;
      x += 1;
    }
    shift = std::log(product);
  }
  const double r = 1 / x;
  const double r2 = r * r;
  const double series =
      r * (1.0 / 12 - r2 * (1.0 / 360 - r2 * (1.0 / 1260 - r2 * (1.0 / 1680 - r2 / 1188))));
  return (x - 0.5) * std::log(x) - x + kHalfLogTwoPi + series - shift;
}

}  // namespace vexilo::stats
