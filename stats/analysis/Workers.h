#pragma once

#include <functional>

namespace vexilo::stats {

// The cores there are to work on, at least 1.
int Cores();

// Runs task(0) .. task(count - 1), each once, on up to one thread per core; returns when all
// are done. Tasks must not throw.
void RunOnWorkers(int count, const std::function<void(int)>& task);

}  // namespace vexilo::stats
