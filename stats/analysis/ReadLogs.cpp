#include "stats/analysis/ReadLogs.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <memory>
#include <utility>

#include "export/SpinLogReader.h"
#include "stats/analysis/Workers.h"

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
  // A ring larger than memory can hold is cut to what a pointer can reach (32-bit builds).
  explicit TailSink(std::int64_t capacity)
      : capacity_(static_cast<std::size_t>(
            std::min<std::int64_t>(capacity, std::numeric_limits<std::ptrdiff_t>::max()))) {}

  void Spins(std::span<const std::uint8_t> numbers) override {
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

 private:
  std::size_t capacity_;
  std::vector<std::uint8_t> ring_;
  std::size_t next_ = 0;  // the oldest spin once the ring is full
};

std::vector<FileFigures> Named(std::span<const std::string> names) {
  std::vector<FileFigures> files;
  for (const std::string& name : names) files.emplace_back().name = name;
  return files;
}

// A byte range of one log, read on its own.
struct Piece {
  int file = 0;
  std::int64_t from = 0;
  std::int64_t to = 0;
  std::unique_ptr<SpinLogReader> opened;  // a log that can be opened only once, read whole
  SpinAccumulator spins;
  SpinLogPart part;
  std::exception_ptr failure;
};

std::vector<Piece> Pieces(std::span<const std::string> names, const ReadOptions& options) {
  std::vector<Piece> pieces;
  const std::int64_t most = options.parts > 0 ? options.parts : Cores();
  const std::int64_t partBytes = std::max<std::int64_t>(options.partBytes, 1);
  for (int file = 0; file < static_cast<int>(names.size()); ++file) {
    Piece whole;
    whole.file = file;
    whole.to = std::numeric_limits<std::int64_t>::max();
    std::optional<std::int64_t> size;
    try {
      whole.opened = std::make_unique<SpinLogReader>(names[file]);
      size = whole.opened->PartableSize();
    } catch (...) {
      // The failure takes its place in the order given.
      whole.failure = std::current_exception();
    }
    // Standard input or a pipe is read through the one opening: it cannot be read twice.
    if (!size) {
      pieces.push_back(std::move(whole));
      continue;
    }
    const std::int64_t count = std::clamp<std::int64_t>(*size / partBytes, 1, most);
    for (std::int64_t k = 0; k < count; ++k) {
      Piece piece;
      piece.file = file;
      piece.from = *size * k / count;
      piece.to = k + 1 == count ? whole.to : *size * (k + 1) / count;
      pieces.push_back(std::move(piece));
    }
  }
  return pieces;
}

// Every piece of every log on its own thread where there are cores to spare, joined in order.
ReadLogsResult ReadAll(std::span<const std::string> names, const ReadOptions& options) {
  std::vector<Piece> pieces = Pieces(names, options);
  const auto count = static_cast<int>(pieces.size());
  // Two logs that are not files on disk may be one pipe under two names ("-", /dev/stdin):
  // never read by two threads at once.
  const bool oneByOne = std::count_if(pieces.begin(), pieces.end(),
                                      [](const Piece& p) { return p.opened != nullptr; }) > 1;
  const auto readOne = [&](int i) {
    Piece& piece = pieces[i];
    if (piece.failure) return;
    try {
      AccumulatorSink sink(piece.spins);
      if (!piece.opened) piece.opened = std::make_unique<SpinLogReader>(names[piece.file]);
      piece.part = piece.opened->ReadPart(piece.from, piece.to, sink);
      piece.opened.reset();
    } catch (...) {
      piece.failure = std::current_exception();
    }
  };
  if (oneByOne) {
    for (int i = 0; i < count; ++i) readOne(i);
  } else {
    RunOnWorkers(count, readOne);
  }
  // The first failure in the order given wins, as if the logs had been read one after another.
  ReadLogsResult result;
  result.files = Named(names);
  for (int first = 0; first < count;) {
    int last = first;
    std::vector<SpinLogPart> parts;
    while (last < count && pieces[last].file == pieces[first].file) {
      if (pieces[last].failure) std::rethrow_exception(pieces[last].failure);
      parts.push_back(pieces[last++].part);
    }
    const int file = pieces[first].file;
    CheckParts(names[file], parts);
    for (int i = first; i < last; ++i) {
      result.spins.Append(std::move(pieces[i].spins));
      result.files[file].spins += pieces[i].part.spins;
    }
    result.files[file].analysed = result.files[file].spins;
    first = last;
  }
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

ReadLogsResult ReadLogs(std::span<const std::string> names, std::optional<std::int64_t> last,
                        const ReadOptions& options) {
  if (last) return ReadTail(names, std::max<std::int64_t>(*last, 0));
  return ReadAll(names, options);
}

}  // namespace vexilo::stats
