#include "stats/report/TextFormat.h"

#include <charconv>
#include <cmath>

namespace vexilo::stats {
namespace {

constexpr const char* kMissing = "-";

std::string Chars(double value, std::chars_format format, int precision) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
  return std::string(buffer, result.ptr);
}

}  // namespace

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
  if (p >= 0.01) return Fixed(p, 2);
  if (p >= 0.001) return Fixed(p, 3);
  return Chars(p, std::chars_format::scientific, 1);
}

std::string Percent(double share) {
  if (!std::isfinite(share)) return kMissing;
  return Fixed(100 * share, 2) + "%";
}

std::string Exact(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace vexilo::stats
