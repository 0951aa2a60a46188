#include "stats/ReadLogs.h"

#include <algorithm>
#include <atomic>
#include <exception>

#include "export/SpinLogReader.h"
#include "stats/Workers.h"

namespace vexilo::stats {
namespace {

class AccumulatorSink final : public SpinSink {
 public:
  explicit AccumulatorSink(SpinAccumulator& to) : to_(to) {}
  void Spins(std::span<const std::uint8_t> numbers) override { to_.Add(numbers); }

 private:
  SpinAccumulator& to_;
};

// The newest `capacity` spins seen, grown only as far as spins arrive.
class TailSink final : public SpinSink {
 public:
  explicit TailSink(std::int64_t capacity) : capacity_(static_cast<std::size_t>(capacity)) {}

  void Spins(std::span<const std::uint8_t> numbers) override {
    seen_ += static_cast<std::int64_t>(numbers.size());
    if (numbers.size() > capacity_) numbers = numbers.last(capacity_);
    for (const std::uint8_t n : numbers) {
      if (ring_.size() < capacity_) {
        ring_.push_back(n);
      } else {
        ring_[next_] = n;
        next_ = next_ + 1 == capacity_ ? 0 : next_ + 1;
      }
    }
  }

  // The kept spins, oldest first.
  void Replay(SpinAccumulator& to) const {
    to.Add(std::span(ring_).subspan(next_));
    to.Add(std::span(ring_).first(next_));
  }
  std::int64_t Seen() const { return seen_; }

 private:
  std::size_t capacity_;
  std::vector<std::uint8_t> ring_;
  std::size_t next_ = 0;  // the oldest spin once the ring is full
  std::int64_t seen_ = 0;
};

std::vector<FileFigures> Named(std::span<const std::string> names) {
  std::vector<FileFigures> files;
  for (const std::string& name : names) files.push_back({name, 0, 0});
  return files;
}

// One thread per file, the parts joined in order.
ReadLogsResult ReadAll(std::span<const std::string> names) {
  const int count = static_cast<int>(names.size());
  std::vector<SpinAccumulator> parts(names.size());
  std::vector<std::exception_ptr> failures(names.size());
  std::vector<FileFigures> files = Named(names);
  std::atomic<int> firstFailure{count};
  // Standard input named twice must not be read by two threads at once.
  const bool shareStdin = std::count(names.begin(), names.end(), "-") > 1;
  const auto readOne = [&](int i) {
    if (i > firstFailure) return;  // an earlier file failed: no report will be made
    try {
      AccumulatorSink sink(parts[i]);
      files[i].spins = SpinLogReader(names[i]).ReadAll(sink);
      files[i].analysed = files[i].spins;
    } catch (...) {
      failures[i] = std::current_exception();
      for (int seen = firstFailure; i < seen && !firstFailure.compare_exchange_weak(seen, i);) {
      }
    }
  };
  if (shareStdin) {
    for (int i = 0; i < count; ++i) readOne(i);
  } else {
    RunOnWorkers(count, readOne);
  }
  for (const std::exception_ptr& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
  ReadLogsResult result;
  for (const SpinAccumulator& part : parts) result.spins.Append(part);
  result.files = std::move(files);
  return result;
}

// One pass through a ring of the newest spins.
ReadLogsResult ReadTail(std::span<const std::string> names, std::int64_t last) {
  ReadLogsResult result;
  result.files = Named(names);
  TailSink tail(last);
  for (FileFigures& file : result.files) file.spins = SpinLogReader(file.name).ReadAll(tail);
  tail.Replay(result.spins);
  // The kept spins are the newest: walk back from the last file.
  std::int64_t left = result.spins.Spins();
  for (auto file = result.files.rbegin(); file != result.files.rend(); ++file) {
    file->analysed = std::min(left, file->spins);
    left -= file->analysed;
  }
  return result;
}

}  // namespace

ReadLogsResult ReadLogs(std::span<const std::string> names, std::optional<std::int64_t> last) {
  if (last) return ReadTail(names, std::max<std::int64_t>(*last, 0));
  return ReadAll(names);
}

}  // namespace vexilo::stats
