#include "export/SpinLogReader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <string>

#include "engine/PocketTable.h"
#include "export/InputFile.h"
#include "export/SpinLogFormat.h"
#include "export/Utf8.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <emmintrin.h>
#endif

namespace vexilo {
namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 20;
// The fast path reads a block of 64 bytes from any place before the end of what is read.
constexpr std::size_t kFastRoom = 64;
// No spin takes this many bytes, so a line is judged from its first kLookahead bytes alone.
constexpr std::size_t kLookahead = 64;
constexpr std::size_t kBatch = std::size_t{1} << 15;
constexpr int kEmptyLine = -1;
constexpr const char* kEmptyLineInside = "an empty line inside the data";
// Reads while looking for the start of a part's first line.
constexpr std::size_t kSkipChunk = 4096;

// A whole line the board writes for one number, with CR LF or LF, as the fast path compares
// it: its bytes, and 0xFF in `ignored` past its end.
struct SpinLine {
  alignas(16) std::array<char, 16> bytes{};
  alignas(16) std::array<char, 16> ignored{};
};

// Rows of lines by the number at a line's start (NumberRow); in a row, the line with CR LF and
// the one with LF, each at the parity of its size (they differ by one). The rows past the last
// number hold a line that starts "0" and LF, which no line that leads to them can match.
constexpr unsigned kRows = 64;
using SpinLines = std::array<std::array<SpinLine, 2>, kRows>;

struct SizedLine {
  SpinLine line;
  std::size_t size = 0;
};

constexpr SizedLine MakeSpinLine(int n, std::string_view lineEnd) {
  SizedLine made;
  auto& bytes = made.line.bytes;
  if (n >= 10) bytes[made.size++] = static_cast<char>('0' + n / 10);
  bytes[made.size++] = static_cast<char>('0' + n % 10);
  const LineTail tail = MakeLineTail(PocketOf(n).color, lineEnd);
  for (const char ch : tail.View()) bytes[made.size++] = ch;
  for (std::size_t i = made.size; i < bytes.size(); ++i) made.line.ignored[i] = '\xFF';
  return made;
}

constexpr SpinLines MakeSpinLines() {
  SpinLines lines{};
  for (int n = 0; n < kPockets; ++n) {
    for (const std::string_view end : {kLineEnd, kBareLineEnd}) {
      const SizedLine made = MakeSpinLine(n, end);
      lines[n][made.size % 2] = made.line;
    }
  }
  for (unsigned row = kPockets; row < kRows; ++row) {
    for (SpinLine& line : lines[row]) line.bytes = {'0', '\n'};
  }
  return lines;
}

constexpr SpinLines kSpinLines = MakeSpinLines();
static_assert(MakeSpinLine(35, kLineEnd).size == kLongestLine && kLongestLine < 16);
static_assert(kLineEnd.size() == kBareLineEnd.size() + 1);

// The row of kSpinLines for the line at p, read from its first two bytes with arithmetic
// rather than branches (one digit or two is a coin toss). A line that matches a line of the
// row starts with that line's number, so that is the number read.
inline unsigned NumberRow(const char* p) {
  const unsigned d0 = static_cast<unsigned char>(p[0]) - unsigned{'0'};
  const unsigned d1 = static_cast<unsigned char>(p[1]) - unsigned{'0'};
  const unsigned two = d1 <= 9;
  return (d0 + ((0u - two) & (d0 * 9 + d1))) % kRows;
}

// Where a scan of lines stopped: the start of the first line not taken, and the next place
// for a spin.
struct Scanned {
  const char* line;
  std::uint8_t* out;
};

// The spins of the lines the board writes (and their LF twins) from the line start p, into out
// until full; stops at the first other line, or the first one without its LF before last.
// Bytes up to 63 past last are read but not used. Kept in locals: a store of a spin (a byte)
// could otherwise alias anything.
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
// The line ends of 16 bytes from one compare, each line checked against its number's whole
// line in one compare. A line's start comes from the line end before it, not from reading the
// line before, so the lines of a block are checked side by side. SSE2 for this function alone:
// the library is also linked into the board, whose 32-bit build keeps its x87 code and runs
// where SSE2 may be missing; Vexilo Stats, the only reader of logs, is built for SSE2 anyway.
__attribute__((target("sse2"))) Scanned ScanSpinLines(const char* p, const char* last,
                                                      std::uint8_t* out, std::uint8_t* const full) {
  const __m128i lineFeed = _mm_set1_epi8('\n');
  const auto endsIn16 = [lineFeed](const char* at) __attribute__((target("sse2"))) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    return std::uint64_t{
        static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineFeed)))};
  };
  // 64 bytes at a time, some seven lines: the loop over a block's lines ends, and guesses
  // wrong, once per seven lines rather than once or twice per line.
  for (const char* block = p; block < last; block += 64) {
    std::uint64_t ends = endsIn16(block) | endsIn16(block + 16) << 16 | endsIn16(block + 32) << 32 |
                         endsIn16(block + 48) << 48;
    if (last - block < 64) ends &= (std::uint64_t{1} << (last - block)) - 1;
    for (; ends != 0; ends &= ends - 1) {
      const char* const lf = block + std::countr_zero(ends);
      const unsigned n = NumberRow(p);
      const SpinLine& want = kSpinLines[n][static_cast<std::size_t>(lf - p + 1) % 2];
      const __m128i line = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const __m128i same = _mm_or_si128(
          _mm_cmpeq_epi8(line, _mm_load_si128(reinterpret_cast<const __m128i*>(want.bytes.data()))),
          _mm_load_si128(reinterpret_cast<const __m128i*>(want.ignored.data())));
      if (_mm_movemask_epi8(same) != 0xFFFF) return {p, out};
      *out++ = static_cast<std::uint8_t>(n);
      p = lf + 1;
      if (out == full) return {p, out};
    }
  }
  return {p, out};
}
#else
// One line after another.
Scanned ScanSpinLines(const char* p, const char* last, std::uint8_t* out,
                      std::uint8_t* const full) {
  while (out < full && last - p >= 16) {
    const auto* lf = static_cast<const char*>(std::memchr(p, '\n', 16));
    if (lf == nullptr) break;
    const unsigned n = NumberRow(p);
    const SpinLine& want = kSpinLines[n][static_cast<std::size_t>(lf - p + 1) % 2];
    for (std::size_t i = 0; i < want.bytes.size(); ++i) {
      if (want.ignored[i] == 0 && p[i] != want.bytes[i]) return {p, out};
    }
    *out++ = static_cast<std::uint8_t>(n);
    p = lf + 1;
  }
  return {p, out};
}
#endif

std::string DisplayName(const std::string& name) {
  return name == "-" ? "(standard input)" : name;
}

// Quoted for a message: at most 24 bytes, cut between characters.
std::string Quote(std::string_view text) {
  constexpr std::size_t kShown = 24;
  std::string out = "\"";
  std::size_t size = std::min(text.size(), kShown);
  while (size < text.size() && size > 0 &&
         (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80) {
    --size;
  }
  out.append(text.substr(0, size));
  out += size < text.size() ? "...\"" : "\"";
  return out;
}

// The first byte that is not text (a control character or broken UTF-8), npos when none.
std::size_t FirstNonText(std::string_view line) {
  for (std::size_t i = 0; i < line.size();) {
    const auto c = static_cast<unsigned char>(line[i]);
    if ((c < 0x20 && c != '\t') || c == 0x7F) return i;
    const std::size_t length = Utf8CharLength(line.substr(i));
    if (length == 0) return i;
    i += length;
  }
  return std::string_view::npos;
}

// A long line's view ends where the view was cut, maybe inside a character: drop that one.
std::string_view WholeCharacters(std::string_view view) {
  std::size_t end = view.size();
  while (end > 0 && view.size() - end < 3 &&
         (static_cast<unsigned char>(view[end - 1]) & 0xC0) == 0x80)
    --end;
  if (end > 0 && static_cast<unsigned char>(view[end - 1]) >= 0xC0) return view.substr(0, end - 1);
  return view;
}

std::string NonTextProblem(std::string_view line, std::size_t at) {
  const auto c = static_cast<unsigned char>(line[at]);
  const std::string column = std::to_string(at + 1);
  if (c == '\r') return "a carriage return inside the line, at column " + column;
  constexpr char kHex[] = "0123456789ABCDEF";
  return std::string("not text: byte 0x") + kHex[c >> 4] + kHex[c & 0xF] + " at column " + column;
}

struct Verdict {
  int number = kEmptyLine;
  std::string problem;  // empty when the line is a spin or empty
};

// One line without its LF. ended: an LF followed it; cut: it goes on past the view.
Verdict Judge(std::string_view line, bool ended, bool cut) {
  if (ended && !line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (cut) line = WholeCharacters(line);
  if (!ended && !cut && line.ends_with('\r')) return {0, "a carriage return without a line feed"};
  if (line.empty()) return {};
  if (const std::size_t bad = FirstNonText(line); bad != std::string_view::npos) {
    return {0, NonTextProblem(line, bad)};
  }
  std::size_t digits = 0;
  while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
  const std::string_view field = line.substr(0, std::min(line.find(kFieldSeparator), line.size()));
  if (digits == 0) return {0, "expected a number from 0 to 36, found " + Quote(field)};
  const std::string_view number = line.substr(0, digits);
  if (digits > 2 || std::stoi(std::string(number)) >= kPockets) {
    return {0, "the number " + Quote(number) + " is outside 0 to 36"};
  }
  if (digits == 2 && number[0] == '0') {
    return {0, "the number " + Quote(number) + " has a leading zero"};
  }
  const int n = std::stoi(std::string(number));
  std::string_view rest = line.substr(digits);
  if (rest.empty()) return {0, "no colour after the number"};
  if (rest[0] != kFieldSeparator)
    return {0, "expected a comma after the number, found " + Quote(rest)};
  rest.remove_prefix(1);
  const std::string_view colour = rest.substr(0, std::min(rest.find(kFieldSeparator), rest.size()));
  const std::string_view word = kColourWords[ColourIndex(PocketOf(n).color)];
  if (colour != word) {
    return {0, "expected the colour \"" + std::string(word) + "\" for " + std::string(number) +
                   ", found " + (colour.empty() ? std::string("nothing") : Quote(colour))};
  }
  if (rest.size() > colour.size()) {
    return {0, "an extra field after the colour: " + Quote(rest.substr(colour.size()))};
  }
  if (cut) return {0, "the line goes on after the colour"};
  return {n, {}};
}

}  // namespace

SpinLogError::SpinLogError(const std::string& file, std::int64_t line, const std::string& reason)
    : std::runtime_error(DisplayName(file) + ":" + std::to_string(line) + ": " + reason),
      line_(line),
      reason_(reason) {}

void CheckParts(const std::string& name, std::span<const SpinLogPart> parts) {
  std::int64_t before = 0;     // lines in the parts before
  std::int64_t emptyLine = 0;  // the first of the empty lines that end the parts before
  for (const SpinLogPart& part : parts) {
    // Empty lines are inside the data when a spin follows them; a bad line after them is
    // named itself. A part that fails with no spin read before its bad line starts with the
    // lines after those empty lines: its own empty lines (then a spin), or the bad line.
    if (emptyLine != 0) {
      const bool spinFollows =
          part.spins > 0 || (part.badLine != 0 && part.problem == kEmptyLineInside);
      if (spinFollows) throw SpinLogError(name, emptyLine, kEmptyLineInside);
    }
    if (part.badLine != 0) throw SpinLogError(name, before + part.badLine, part.problem);
    if (emptyLine == 0 && part.emptyTail != 0) emptyLine = before + part.emptyTail;
    before += part.lines;
  }
}

class SpinLogReader::Parser {
 public:
  Parser(InputFile& file, SpinSink& sink)
      : file_(file), sink_(sink), buffer_(new char[kBufferSize + kFastRoom]) {}

  // The lines that start in [from, to): reads up to `to`, then on to the end of the line that
  // crosses it. The whole log is the range from 0 to the end.
  SpinLogPart Run(std::int64_t from, std::int64_t to) {
    std::int64_t position = 0;
    if (from > 0) {
      const std::optional<std::int64_t> start = SkipToLineStart(from, to);
      if (!start) return {};
      position = *start;
    }
    std::size_t kept = 0;
    bool opening = from == 0;
    char lastRead = '\n';  // the range starts where a line starts
    for (bool end = false; !end;) {
      const bool finishing = position >= to;  // only the line that crosses `to` is left
      if (finishing && lastRead == '\n') break;
      std::size_t room = kBufferSize - kept;
      if (!finishing) room = static_cast<std::size_t>(std::min<std::int64_t>(room, to - position));
      if (finishing) room = std::min(room, kLookahead);
      const std::size_t got = file_.Read(buffer_.get() + kept, room);
      position += static_cast<std::int64_t>(got);
      end = got == 0;
      if (got > 0) lastRead = buffer_[kept + got - 1];
      const char* first = buffer_.get();
      const char* last = first + kept + got;
      if (finishing && !end) {
        // That line ends at its LF; what follows belongs to the next part.
        const auto* lf = static_cast<const char*>(std::memchr(first + kept, '\n', got));
        if (lf != nullptr) {
          last = lf + 1;
          end = true;
        }
      }
      if (opening) {
        // Wait for the whole mark, but only while what came could be its start: a part may
        // end on a short first line.
        const std::string_view opened(first, last - first);
        if (!end && opened.size() < kByteOrderMark.size() && kByteOrderMark.starts_with(opened)) {
          kept += got;
          continue;
        }
        if (opened.starts_with(kByteOrderMark)) {
          first += kByteOrderMark.size();
        }
        opening = false;
      }
      first = Lines(first, last, end);
      kept = static_cast<std::size_t>(last - first);
      std::memmove(buffer_.get(), first, kept);
    }
    Flush();
    return {spins_, line_, emptyLine_, 0, {}};
  }

  // Spins read so far, those not yet handed on included.
  std::int64_t Spins() const { return spins_ + static_cast<std::int64_t>(batched_); }

 private:
  // Goes to the start of the first line at or after from and returns where that is, unless it
  // is at or past to.
  std::optional<std::int64_t> SkipToLineStart(std::int64_t from, std::int64_t to) {
    file_.Seek(from - 1);
    std::int64_t position = from - 1;
    for (;;) {
      const std::size_t got = file_.Read(buffer_.get(), kSkipChunk);
      if (got == 0) return std::nullopt;
      const auto* lf = static_cast<const char*>(std::memchr(buffer_.get(), '\n', got));
      if (lf != nullptr) {
        position += lf - buffer_.get() + 1;
        if (position >= to) return std::nullopt;
        file_.Seek(position);
        return position;
      }
      position += static_cast<std::int64_t>(got);
      if (position >= to) return std::nullopt;
    }
  }

  // Every whole line in [p, last), and at the end of the file the last one too; returns where
  // the unfinished line starts.
  const char* Lines(const char* p, const char* last, bool end) {
    for (;;) {
      if (emptyLine_ == 0) p = FastLines(p, last);
      if (p == last) return p;
      const auto available = static_cast<std::size_t>(last - p);
      const auto* lf =
          static_cast<const char*>(std::memchr(p, '\n', std::min(available, kLookahead)));
      if (lf == nullptr && !end && available < kLookahead) return p;
      const bool cut = lf == nullptr && available >= kLookahead;
      const std::string_view line(p, lf != nullptr ? lf - p : std::min(available, kLookahead));
      const std::int64_t number = ++line_;
      const Verdict verdict = Judge(line, lf != nullptr, cut);
      if (!verdict.problem.empty()) Fail(number, verdict.problem);
      if (verdict.number == kEmptyLine) {
        if (emptyLine_ == 0) emptyLine_ = number;
      } else {
        if (emptyLine_ != 0) Fail(emptyLine_, kEmptyLineInside);
        Emit(static_cast<std::uint8_t>(verdict.number));
      }
      p = lf != nullptr ? lf + 1 : last;
    }
  }

  // Lines the board writes, and their LF twins, in batches.
  const char* FastLines(const char* p, const char* last) {
    for (;;) {
      std::uint8_t* const from = batch_.data() + batched_;
      std::uint8_t* const full = batch_.data() + kBatch;
      const Scanned scanned = ScanSpinLines(p, last, from, full);
      batched_ += static_cast<std::size_t>(scanned.out - from);
      line_ += scanned.out - from;
      if (scanned.out < full) return scanned.line;
      p = scanned.line;
      Flush();
    }
  }

  void Emit(std::uint8_t n) {
    batch_[batched_++] = n;
    if (batched_ == kBatch) Flush();
  }

  void Flush() {
    if (batched_ == 0) return;
    sink_.Spins(std::span(batch_.data(), batched_));
    spins_ += static_cast<std::int64_t>(batched_);
    batched_ = 0;
  }

  [[noreturn]] void Fail(std::int64_t line, const std::string& problem) {
    throw SpinLogError(file_.Name(), line, problem);
  }

  InputFile& file_;
  SpinSink& sink_;
  std::unique_ptr<char[]> buffer_;
  std::array<std::uint8_t, kBatch> batch_{};
  std::size_t batched_ = 0;
  std::int64_t line_ = 0;       // lines read so far
  std::int64_t emptyLine_ = 0;  // the first of the empty lines just read, 0 when none
  std::int64_t spins_ = 0;
};

SpinLogReader::SpinLogReader(std::string_view name) : file_(std::make_unique<InputFile>(name)) {}

SpinLogReader::~SpinLogReader() = default;

std::int64_t SpinLogReader::ReadAll(SpinSink& sink) {
  const SpinLogPart whole = ReadPart(0, std::numeric_limits<std::int64_t>::max(), sink);
  CheckParts(file_->Name(), std::span(&whole, 1));
  return whole.spins;
}

std::optional<std::int64_t> SpinLogReader::PartableSize() const {
  return file_->Size();
}

SpinLogPart SpinLogReader::ReadPart(std::int64_t from, std::int64_t to, SpinSink& sink) {
  Parser parser(*file_, sink);
  try {
    return parser.Run(from, to);
  } catch (const SpinLogError& bad) {
    SpinLogPart part;
    part.spins = parser.Spins();
    part.badLine = bad.Line();
    part.problem = bad.Reason();
    return part;
  }
}

}  // namespace vexilo
