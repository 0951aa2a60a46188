#include "engine/Percent.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>

#include "engine/SpinTally.h"

namespace vexilo {

namespace {

constexpr std::uint64_t kTopBit = std::uint64_t{1} << 63;
constexpr std::uint32_t kScale = 10000;
constexpr std::string_view kFullStop = ".";

// A positive value in the 80-bit extended format: significand / 2^fractionBits, with the
// significand's top bit set (64 significant bits, as the format keeps them).
struct Extended {
  std::uint64_t significand;
  int fractionBits;
};

// Rounds kept (with `dropped` the bits cut off below it, `half` their midpoint) to nearest,
// ties to even. A carry out of the top bit renormalises to 2^63 with one fraction bit less.
constexpr Extended RoundToNearestEven(std::uint64_t kept, std::uint64_t dropped, std::uint64_t half,
                                      int fractionBits) {
  if (dropped > half || (dropped == half && (kept & 1) != 0)) {
    ++kept;
    if (kept == 0) return {kTopBit, fractionBits - 1};
  }
  return {kept, fractionBits};
}

// c / s rounded to 64 significant bits; 0 < c <= s < 2^31. Long division in two chunks of 32
// and 31 bits keeps every step within 64-bit words, so 32-bit targets need no wider type.
constexpr Extended Quotient(std::uint32_t c, std::uint32_t s) {
  int shift = std::bit_width(s) - std::bit_width(c);
  std::uint64_t n = std::uint64_t{c} << shift;
  if (n < s) {
    n <<= 1;
    ++shift;
  }
  // Now s <= n < 2s, so the quotient's leading bit is 1 and the remainder is below s < 2^31.
  std::uint64_t r = n - s;
  const std::uint64_t high = (r << 32) / s;
  r = (r << 32) % s;
  const std::uint64_t low = (r << 31) / s;
  r = (r << 31) % s;
  const std::uint64_t quotient = kTopBit | (high << 31) | low;
  // Compare the remainder with half the divisor without halving it (s may be odd).
  const std::uint64_t twice = 2 * r;
  return RoundToNearestEven(quotient, twice, s, 63 + shift);
}

// q * 10000 rounded to 64 significant bits. The exact product has 77 or 78 bits; it is formed
// from two 32 x 14-bit partial products so that it never leaves two 64-bit words.
constexpr Extended ScaleBy10000(Extended q) {
  const std::uint64_t a = (q.significand & 0xFFFFFFFFu) * kScale;
  const std::uint64_t b = (q.significand >> 32) * kScale;
  const std::uint64_t low = (b << 32) + a;
  const std::uint64_t high = (b >> 32) + (low < a ? 1 : 0);
  const int cut = std::bit_width(high);  // bits below the 64 kept
  const std::uint64_t kept = (high << (64 - cut)) | (low >> cut);
  const std::uint64_t mask = (std::uint64_t{1} << cut) - 1;
  return RoundToNearestEven(kept, low & mask, std::uint64_t{1} << (cut - 1), q.fractionBits - cut);
}

// p rounded to an integer, ties to even. A share is at most 10000 < 2^14, so at least 50 of
// the 64 bits are fraction bits.
constexpr int RoundToInteger(Extended p) {
  if (p.fractionBits > 64) return 0;                                 // p < 1/2
  if (p.fractionBits == 64) return p.significand > kTopBit ? 1 : 0;  // 1/2 <= p < 1
  const std::uint64_t whole = p.significand >> p.fractionBits;
  const std::uint64_t mask = (std::uint64_t{1} << p.fractionBits) - 1;
  const std::uint64_t half = std::uint64_t{1} << (p.fractionBits - 1);
  const std::uint64_t fraction = p.significand & mask;
  const bool up = fraction > half || (fraction == half && (whole & 1) != 0);
  return static_cast<int>(whole + (up ? 1 : 0));
}

// The exact share c * 10000 / s rounded to the nearest whole hundredth, or its lower neighbour
// when it lies exactly on a half.
struct Hundredths {
  std::uint32_t whole;
  bool onHalf;
};

// Off the exact halves, the extended path's two roundings move the share by less than
// 10000 * 2^-63 < 2^-49, while the share lies at least 1/(2s) > 2^-32 from the nearest half: its
// result is then simply the nearest hundredth. A floating quotient guesses the whole part and
// the integer remainder checks and corrects the guess, so this holds whatever precision and
// rounding the floating-point unit is set to.
inline Hundredths NearestHundredth(std::uint32_t c, std::uint32_t s) {
  const std::int64_t scaled = std::int64_t{c} * kScale;  // < 2^45: exact as a double
  const std::int64_t divisor = s;
  auto whole = static_cast<std::int64_t>(static_cast<double>(scaled) / static_cast<double>(s));
  std::int64_t rest = scaled - whole * divisor;
  while (rest < 0) {
    --whole;
    rest += divisor;
  }
  while (rest >= divisor) {
    ++whole;
    rest -= divisor;
  }
  const std::int64_t twice = 2 * rest;
  return {static_cast<std::uint32_t>(whole + (twice > divisor ? 1 : 0)), twice == divisor};
}

constexpr bool IsDigit(char ch) {
  return ch >= '0' && ch <= '9';
}

// The platform gives no separator: a full stop, as the share text always had one.
constexpr std::string_view SeparatorOrFullStop(std::string_view separator) {
  return separator.empty() ? kFullStop : separator;
}

}  // namespace

int ShareHundredths(std::int32_t count, std::int32_t spins) {
  if (spins < 1 || count <= 0) return 0;
  const auto s = static_cast<std::uint32_t>(spins);
  const auto c = std::min(static_cast<std::uint32_t>(count), s);
  const Hundredths nearest = NearestHundredth(c, s);
  // On an exact half the two roundings decide which neighbour it is.
  return nearest.onHalf ? ExtendedShareHundredths(count, spins) : static_cast<int>(nearest.whole);
}

int ExtendedShareHundredths(std::int32_t count, std::int32_t spins) {
  if (spins < 1 || count <= 0) return 0;
  const auto s = static_cast<std::uint32_t>(spins);
  const auto c = std::min(static_cast<std::uint32_t>(count), s);
  return RoundToInteger(ScaleBy10000(Quotient(c, s)));
}

void PercentText(int hundredths, std::string_view separator, std::string& text) {
  hundredths = std::max(hundredths, 0);
  char digits[16];
  const auto whole = std::to_chars(digits, digits + sizeof digits, hundredths / 100);
  text.assign(digits, whole.ptr);
  const int fraction = hundredths % 100;
  if (fraction == 0) return;
  text.append(SeparatorOrFullStop(separator));
  const char pair[2] = {static_cast<char>('0' + fraction / 10),
                        static_cast<char>('0' + fraction % 10)};
  text.append(pair, fraction % 10 == 0 ? 1 : 2);
}

bool FormatPercent(const SpinTally& tally, ShareFamily family, int selector, std::string& text,
                   std::string_view separator) {
  const int spins = tally.SpinCount();
  if (spins < 1 || !IsSelector(family, selector)) return false;
  PercentText(ShareHundredths(tally.Count(family, selector), spins), separator, text);
  return true;
}

int BarValue(std::string_view percentText, std::string_view separator) {
  separator = SeparatorOrFullStop(separator);
  std::size_t i = 0;
  int whole = 0;
  for (; i < percentText.size() && IsDigit(percentText[i]); ++i) {
    whole = std::min(whole * 10 + (percentText[i] - '0'), 1000);
  }
  // The fraction only matters through its place against one half: above, on or below it.
  bool up = false;
  if (percentText.substr(i).starts_with(separator)) {
    std::string_view fraction = percentText.substr(i + separator.size());
    const auto end = std::find_if_not(fraction.begin(), fraction.end(), IsDigit);
    fraction = fraction.substr(0, static_cast<std::size_t>(end - fraction.begin()));
    if (!fraction.empty()) {
      const bool aboveHalf =
          fraction[0] > '5' ||
          (fraction[0] == '5' && fraction.find_first_not_of('0', 1) != std::string_view::npos);
      const bool onHalf = fraction[0] == '5' && !aboveHalf;
      up = aboveHalf || (onHalf && whole % 2 == 1);
    }
  }
  return std::clamp(whole + (up ? 1 : 0), 0, 100);
}

}  // namespace vexilo
