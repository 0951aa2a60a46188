#pragma once

#include <string>

namespace vexilo {

class SpinTally;

// The spin log: one line per recorded spin, oldest first, "17,Black" / "0,Green" / "32,Red",
// each line ended by CR LF; ASCII, no header, no byte-order mark. Replaces out's content.
void FormatSpinLog(const SpinTally& tally, std::string& out);

}  // namespace vexilo
