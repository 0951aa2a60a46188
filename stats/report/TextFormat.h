#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexilo::stats {

// Numbers as the reports print them, the same on every platform (no locale, no printf).

// A count: "2000".
std::string Count(std::int64_t n);
// A number of the wheel, or "-" where there is none (-1).
std::string NumberOrNone(int number);
// Numbers one after another: "2 25 17 34 6", "1-2-3".
std::string NumberList(const std::vector<int>& numbers, std::string_view between = " ");
// Fixed decimals: "0.027", "-1.96"; "-" for a figure that is not there (NaN).
std::string Fixed(double value, int decimals);
// A z-score with its sign, two decimals: "+1.96", "-0.50", "0.00".
std::string Signed(double z);
// A p-value as a table cell, two significant digits and never rounded across the 5% line:
// "0.43", "0.046", "0.0496" (not "0.050"), "2.1e-05", "< 1e-300" below what a double holds
// to a useful precision.
std::string FormatP(double p);
// A share as a percentage with two decimals: "2.70%".
std::string Percent(double share);
// A share or a return as a signed percentage, one decimal: "+4.1%", "-2.7%".
std::string SignedPercent(double share);
// A range, each end in the given form: "2.20% to 3.10%".
std::string Interval(const std::array<double, 2>& range, std::string (*format)(double));
// The text with its first letter a capital: "the logs" -> "The logs".
std::string Capitalised(std::string text);
// Text broken between words into lines of at most `width` characters (a longer word keeps its
// own line), each ending in a line feed, later lines indented by `indent` spaces.
std::string Wrapped(std::string_view text, std::size_t width, std::size_t indent = 0);
// Shortest text that reads back as the same double: "0.02702702702702703".
std::string Exact(double value);

}  // namespace vexilo::stats
