#pragma once

#include <string>

namespace vexilo::stats {

// Numbers as the reports print them, the same on every platform (no locale, no printf).

// Fixed decimals: "0.027", "-1.96"; "-" for a figure that is not there (NaN).
std::string Fixed(double value, int decimals);
// A z-score with its sign, two decimals: "+1.96", "-0.50", "0.00".
std::string Signed(double z);
// A p-value in words' company: "0.003", "0.43", "2.1e-05".
std::string FormatP(double p);
// A share as a percentage with two decimals: "2.70%".
std::string Percent(double share);
// Shortest text that reads back as the same double: "0.02702702702702703".
std::string Exact(double value);

}  // namespace vexilo::stats
