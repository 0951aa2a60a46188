#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ShareFamily.h"

namespace vexilo {

class SpinTally;

// count of spins as a share in hundredths of a percent, 0..10000, computed exactly as the
// 80-bit extended format does it: q = c / s and p = q * 10000, each rounded to a 64-bit
// significand (nearest, ties to even), then p rounded to an integer (nearest, ties to even).
// spins >= 1, 0 <= count <= spins; 0 for spins < 1, and count is held within 0..spins.
// Off the exact halves of a hundredth those roundings cannot move the result off the nearest
// hundredth, which one checked division gives; the rounding steps run only on the halves.
int ShareHundredths(std::int32_t count, std::int32_t spins);

// The same share with every step carried out on every input: c / s and then * 10000, each
// rounded to 64 significant bits in integer arithmetic, then the rounding to an integer. The
// reference that ShareHundredths' shortcut is held to.
int ExtendedShareHundredths(std::int32_t count, std::int32_t spins);

// The text of hundredths / 100: "33.33", "33.3", "33", "0.5", "100"; no sign, no exponent,
// no trailing zeros, separator only when the share is not whole. The separator is UTF-8 and
// may be several bytes; an empty one stands for a full stop. hundredths >= 0.
void PercentText(int hundredths, std::string_view separator, std::string& text);

// Replaces text with the share's percent text (no "%"). At spin count 0, or for a selector
// outside its family, text is left as passed in and false is returned.
bool FormatPercent(const SpinTally& tally, ShareFamily family, int selector, std::string& text,
                   std::string_view separator);

// The percent text read back with the same separator, rounded to a whole number with ties to
// even: "12.5" gives 12, "37.5" gives 38. 0..100. Reading stops at the first character that
// does not belong to the number, so a trailing "%" is ignored.
int BarValue(std::string_view percentText, std::string_view separator);

}  // namespace vexilo
