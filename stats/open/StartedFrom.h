#pragma once

namespace vexilo::stats {

// Who reads what the program says: someone at a console, or someone who started it from the
// desktop, to whom a console would show nothing for long enough to read.
enum class StartedFrom { Console, Desktop };

// Windows: Explorer starts a console program (a double-click, logs dropped on it) in a console
// of its own, which closes the moment it ends; cmd, PowerShell or a script share their console
// with it or take its output through a pipe or a file. consoleProcesses is what
// GetConsoleProcessList reports (0 with no console at all), outputRedirected whether standard
// output or error is a file or a pipe.
[[nodiscard]] StartedFrom StartedFromOnWindows(unsigned long consoleProcesses,
                                               bool outputRedirected);

// Elsewhere: a file manager's "Open with" leaves no terminal on standard input, output or error.
[[nodiscard]] StartedFrom StartedFromOnPosix(bool anyTerminal);

}  // namespace vexilo::stats
