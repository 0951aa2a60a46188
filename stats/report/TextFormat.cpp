#include "stats/report/TextFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "stats/analysis/Analysis.h"

namespace vexilo::stats {
namespace {

constexpr const char* kMissing = "-";
// Below this a p-value is written as a bound: what is left of it is rounding.
constexpr double kSmallestP = 1e-300;

std::string Chars(double value, std::chars_format format, int precision) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string Count(std::int64_t n) {
  return std::to_string(n);
}

std::string NumberOrNone(int number) {
  return number < 0 ? kMissing : Count(number);
}

std::string NumberList(const std::vector<int>& numbers, std::string_view between) {
  std::string text;
  for (const int n : numbers) text += (text.empty() ? "" : std::string(between)) + Count(n);
  return text;
}

std::string Fixed(double value, int decimals) {
  if (!std::isfinite(value)) return kMissing;
  std::string text = Chars(value, std::chars_format::fixed, decimals);
  // "-0.00" reads as a sign of something that is not there.
  if (text.find_first_of("123456789") == std::string::npos && text.front() == '-') text.erase(0, 1);
  return text;
}

std::string Signed(double z) {
  const std::string text = Fixed(z, 2);
  return z > 0 && text != "0.00" ? "+" + text : text;
}

std::string FormatP(double p) {
  if (!std::isfinite(p)) return kMissing;
  if (p < kSmallestP) return "< 1e-300";
  // Two significant digits, more where rounding would carry p onto or across the level.
  const int magnitude = p > 0 ? static_cast<int>(std::floor(std::log10(p))) : 0;
  for (int digits = 2;; ++digits) {
    const std::string text =
        p >= 0.001 ? Chars(p, std::chars_format::fixed, std::max(digits - 1 - magnitude, 1))
                   : Chars(p, std::chars_format::scientific, digits - 1);
    double shown = 0;
    std::from_chars(text.data(), text.data() + text.size(), shown);
    if (IsSignificant(shown) == IsSignificant(p) || digits >= 17) return text;
  }
}

std::string SignedPercent(double share) {
  if (!std::isfinite(share)) return kMissing;
  const std::string text = Fixed(100 * share, 1);
  return (share > 0 && text != "0.0" ? "+" : "") + text + "%";
}

std::string Percent(double share) {
  if (!std::isfinite(share)) return kMissing;
  return Fixed(100 * share, 2) + "%";
}

std::string Interval(const std::array<double, 2>& range, std::string (*format)(double)) {
  return format(range[0]) + " to " + format(range[1]);
}

std::string Capitalised(std::string text) {
  if (!text.empty() && text.front() >= 'a' && text.front() <= 'z') text.front() -= 'a' - 'A';
  return text;
}

std::string Wrapped(std::string_view text, std::size_t width, std::size_t indent) {
  std::string out;
  std::string line;
  bool empty = true;  // no word on the line yet
  while (!text.empty()) {
    const std::size_t space = text.find(' ');
    const std::string_view word = text.substr(0, space);
    text.remove_prefix(space == std::string_view::npos ? text.size() : space + 1);
    if (word.empty()) continue;
    if (!empty && line.size() + 1 + word.size() > width) {
      out += line + '\n';
      line.assign(indent, ' ');
      empty = true;
    }
    if (!empty) line += ' ';
    line += word;
    empty = false;
  }
  if (!empty) out += line + '\n';
  return out;
}

std::string Significant(double value, int digits) {
  if (!std::isfinite(value)) return kMissing;
  if (value == 0) return "0";
  const double size = std::fabs(value);
  if (size < 1e-4 || size >= 1e6) return Chars(value, std::chars_format::scientific, digits - 1);
  const int magnitude = static_cast<int>(std::floor(std::log10(size)));
  // 9.96 to two digits is "10", not "10.0": the rounding carried into the next power of ten.
  const bool carries =
      std::round(size / std::pow(10.0, magnitude + 1 - digits)) >= std::pow(10.0, digits);
  return Fixed(value, std::max(0, digits - 1 - magnitude - (carries ? 1 : 0)));
}

std::string Exact(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace vexilo::stats
