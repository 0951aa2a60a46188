#pragma once

#include <cstdio>
#include <span>
#include <string>

namespace vexilo::stats {

// Exit codes of vexilo-stats.
enum class ExitCode : int { Done = 0, Usage = 1, BadInput = 2, NotWritten = 3 };

// The whole program: args without the program's name. The report goes to out in one piece once
// every log has been read and analysed; messages go to err. Nothing reaches out on a failure.
ExitCode RunCommandLine(std::span<const std::string> args, std::FILE* out, std::FILE* err);

}  // namespace vexilo::stats
