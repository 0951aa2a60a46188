#include "stats/analysis/Workers.h"

#include <algorithm>
#include <atomic>
#include <vector>

#if defined(_GLIBCXX_HAS_GTHREADS) || !defined(__GLIBCXX__)
#define VEXILO_STD_THREADS 1
#include <thread>
#else
// The win32 flavour of mingw-w64's compiler has no std::thread; the system's threads serve.
#include <windows.h>

#include <utility>
#endif

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

#ifdef VEXILO_STD_THREADS

int CoreCount() {
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

void RunThreads(Queue& queue, int threads) {
  std::vector<std::jthread> helpers;
  for (int t = 1; t < threads; ++t) helpers.emplace_back([&queue] { queue.Drain(); });
  queue.Drain();
}

#else

int CoreCount() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return static_cast<int>(std::max<DWORD>(1, info.dwNumberOfProcessors));
}

DWORD WINAPI Drain(void* queue) {
  static_cast<Queue*>(queue)->Drain();
  return 0;
}

class ThreadHandle {
 public:
  explicit ThreadHandle(HANDLE handle) : handle_(handle) {}
  ThreadHandle(const ThreadHandle&) = delete;
  ThreadHandle& operator=(const ThreadHandle&) = delete;
  ThreadHandle(ThreadHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  ~ThreadHandle() {
    if (handle_ == nullptr) return;
    WaitForSingleObject(handle_, INFINITE);
    CloseHandle(handle_);
  }

 private:
  HANDLE handle_;
};

void RunThreads(Queue& queue, int threads) {
  std::vector<ThreadHandle> helpers;
  for (int t = 1; t < threads; ++t) {
    // A thread that cannot be made leaves its share to the others.
    if (HANDLE h = CreateThread(nullptr, 0, Drain, &queue, 0, nullptr)) helpers.emplace_back(h);
  }
  queue.Drain();
}

#endif

}  // namespace

void RunOnWorkers(int count, const std::function<void(int)>& task) {
  Queue queue{task, count};
  RunThreads(queue, std::min(count, Cores()));
}

int Cores() {
  return CoreCount();
}

}  // namespace vexilo::stats
