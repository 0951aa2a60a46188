#include "export/SpinLog.h"

#include <array>
#include <charconv>
#include <string_view>

#include "engine/SpinTally.h"

namespace vexilo {
namespace {

// The tail of a line for each ColourCode; every recorded spin carries red, black or green.
constexpr std::array<std::string_view, 3> kLineTails = {",Red\r\n", ",Black\r\n", ",Green\r\n"};
constexpr std::size_t kLongestLine = 10;  // "36,Black" and CR LF

}  // namespace

void FormatSpinLog(const SpinTally& tally, std::string& out) {
  const int spins = tally.SpinCount();
  out.clear();
  out.reserve(static_cast<std::size_t>(spins) * kLongestLine);
  for (int k = 1; k <= spins; ++k) {
    const HistoryEntry entry = tally.History(k);
    char digits[12];
    const auto result = std::to_chars(digits, digits + sizeof digits, entry.number);
    out.append(digits, result.ptr);
    out.append(kLineTails[static_cast<std::size_t>(entry.colour)]);
  }
}

}  // namespace vexilo
