#include "stats/open/StartedFrom.h"

namespace vexilo::stats {

StartedFrom StartedFromOnWindows(unsigned long consoleProcesses, bool outputRedirected) {
  // A caller that reads the output, or shares the console, is at a console.
  if (outputRedirected || consoleProcesses > 1) return StartedFrom::Console;
  return StartedFrom::Desktop;
}

StartedFrom StartedFromOnPosix(bool anyTerminal) {
  return anyTerminal ? StartedFrom::Console : StartedFrom::Desktop;
}

}  // namespace vexilo::stats
