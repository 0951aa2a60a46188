#pragma once

#include <cstdio>
#include <span>
#include <string>

#include "stats/CommandLine.h"

namespace vexilo::stats {

#ifdef _WIN32
// Whether Explorer started the program (a double-click, logs dropped on it) rather than a
// console: StartedFromOnWindows over this process's console and standard handles.
[[nodiscard]] bool StartedFromExplorer();

// The program as Explorer starts it: every argument is a log (with none, the open-file dialog
// asks for them; cancelling ends quietly), and the run is that of --open: the page beside the
// first log, opened in the browser. A failure is shown in a message box with the error icon.
// The exit codes are those of the command line.
ExitCode RunFromExplorer(std::span<const std::string> logs);
#else
// RunCommandLine; when --open was started from the desktop (no terminal anywhere), a failure
// also reaches the user as a notification (notify-send, where it is installed).
ExitCode RunWithNotification(std::span<const std::string> args, std::FILE* out, std::FILE* err);
#endif

}  // namespace vexilo::stats
