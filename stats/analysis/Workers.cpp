#include "stats/analysis/Workers.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace vexilo::stats {
namespace {

// Hands out the task numbers in order to whichever worker is free.
struct Queue {
  const std::function<void(int)>& task;
  int count;
  std::atomic<int> next{0};

  void Drain() {
    for (int i = next++; i < count; i = next++) task(i);
  }
};

}  // namespace

void RunOnWorkers(int count, const std::function<void(int)>& task) {
  Queue queue{task, count};
  std::vector<std::jthread> helpers;
  try {
    for (int t = 1; t < std::min(count, Cores()); ++t) {
      helpers.emplace_back([&queue] { queue.Drain(); });
    }
  } catch (const std::system_error&) {
    // A thread that cannot be made leaves its share to the others.
  }
  queue.Drain();
}

int Cores() {
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

}  // namespace vexilo::stats
