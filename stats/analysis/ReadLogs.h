#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "stats/analysis/Analysis.h"
#include "stats/analysis/SpinAccumulator.h"

namespace vexilo::stats {

struct ReadLogsResult {
  SpinAccumulator spins;  // the spins analysed, oldest first
  std::vector<FileFigures> files;
};

// How a log on disk is cut to be read on several cores: in up to `parts` parts (0: one per
// core) of at least `partBytes` bytes each. A log that is not a file on disk (standard input,
// a pipe) is read once, whole.
struct ReadOptions {
  std::int64_t partBytes = std::int64_t{8} << 20;
  int parts = 0;
};

// Reads the logs as one record in the order given, each file on its own thread where there
// are cores to spare; with `last`, only the newest `last` spins of the record are kept (in a
// ring of at most that many bytes). Memory grows by one byte a spin analysed: the spins are
// kept in order for the check on later spins and the logs agreeing. The first failure in the
// order given is thrown: SpinLogError for a line, std::system_error for a file.
ReadLogsResult ReadLogs(std::span<const std::string> names, std::optional<std::int64_t> last = {},
                        const ReadOptions& options = {});

}  // namespace vexilo::stats
