#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "export/SpinLogReader.h"

namespace vexilo {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class Collect final : public SpinSink {
 public:
  void Spins(std::span<const std::uint8_t> numbers) override {
    spins.insert(spins.end(), numbers.begin(), numbers.end());
  }
  std::vector<int> spins;
};

// A log on disk for the length of a test.
class LogFile {
 public:
  explicit LogFile(const std::string& bytes)
      : path_(fs::temp_directory_path() /
              ("vexilo-log-" + std::to_string(std::random_device{}()) + ".CSV")) {
    std::ofstream(path_, std::ios::binary) << bytes;
  }
  ~LogFile() {
    std::error_code ignored;
    fs::remove(path_, ignored);
  }
  std::string Name() const { return path_.string(); }

 private:
  fs::path path_;
};

std::vector<int> Read(const std::string& bytes) {
  const LogFile file(bytes);
  Collect sink;
  const std::int64_t count = SpinLogReader(file.Name()).ReadAll(sink);
  EXPECT_EQ(count, static_cast<std::int64_t>(sink.spins.size()));
  return sink.spins;
}

// "LINE: what is wrong" of the error a log gives, "" when it reads.
std::string Problem(const std::string& bytes) {
  const LogFile file(bytes);
  Collect sink;
  try {
    SpinLogReader(file.Name()).ReadAll(sink);
  } catch (const SpinLogError& error) {
    const std::string what = error.what();
    EXPECT_EQ(what.rfind(file.Name() + ":", 0), 0u) << what;
    return what.substr(file.Name().size() + 1);
  }
  return "";
}

TEST(SpinLogReader, AcceptsWhatTheBoardAndSpreadsheetsWrite) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<int> spins;
  };
  const std::vector<Case> cases = {
      {"the board's own", "17,Black\r\n0,Green\r\n32,Red\r\n", {17, 0, 32}},
      {"LF line ends", "17,Black\n0,Green\n", {17, 0}},
      {"mixed line ends", "1,Red\n2,Black\r\n", {1, 2}},
      {"no line end at the end", "36,Red\r\n10,Black", {36, 10}},
      {"byte-order mark",
       "\xEF\xBB\xBF"
       "5,Red\r\n",
       {5}},
      {"empty lines at the end", "5,Red\r\n\r\n\n\r\n", {5}},
      {"empty file", "", {}},
      {"only a byte-order mark", "\xEF\xBB\xBF", {}},
      {"only empty lines", "\r\n\r\n", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Read(c.bytes), c.spins);
  }
}

TEST(SpinLogReader, NamesTheLineAndWhatIsWrong) {
  struct Case {
    std::string bytes;
    std::string problem;
  };
  const std::vector<Case> cases = {
      {"Number,Colour\r\n17,Black\r\n", "1: expected a number from 0 to 36, found \"Number\""},
      {"17,Black\r\n37,Red\r\n", "2: the number \"37\" is outside 0 to 36"},
      {"170,Black\r\n", "1: the number \"170\" is outside 0 to 36"},
      {"07,Red\r\n", "1: the number \"07\" has a leading zero"},
      {"-1,Red\r\n", "1: expected a number from 0 to 36, found \"-1\""},
      {"17,Red\r\n", "1: expected the colour \"Black\" for 17, found \"Red\""},
      {"17,black\r\n", "1: expected the colour \"Black\" for 17, found \"black\""},
      {"0,\r\n", "1: expected the colour \"Green\" for 0, found nothing"},
      {"17\r\n", "1: no colour after the number"},
      {"17;Black\r\n", "1: expected a comma after the number, found \";Black\""},
      {"17,Black,3\r\n", "1: an extra field after the colour: \",3\""},
      {"17,Black \r\n", "1: expected the colour \"Black\" for 17, found \"Black \""},
      {"1,Red\r\n\r\n2,Black\r\n", "2: an empty line inside the data"},
      {"1,Red\r\n \r\n", "2: expected a number from 0 to 36, found \" \""},
      {"1,Red\r\n2,Bl\0ck\r\n"s, "2: not text: byte 0x00 at column 5"},
      {"1,Red\r\n\xFF\xFE"
       "1\r\n",
       "2: not text: byte 0xFF at column 1"},
      {"1,Red\r\r\n", "1: a carriage return inside the line, at column 6"},
      {"1,Red\r", "1: a carriage return without a line feed"},
      {"\xEF\xBB\xBF"
       "1,Red\r\n\xEF\xBB\xBF"
       "2,Black\r\n",
       "2: expected a number from 0 to 36, found \"\xEF\xBB\xBF"
       "2\""},
      {std::string(100, '1') + "\r\n",
       "1: the number \"111111111111111111111111...\" is outside 0 to 36"},
      {"17,Black" + std::string(200, ' '),
       "1: expected the colour \"Black\" for 17, found \"Black                   ...\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.problem);
    EXPECT_EQ(Problem(c.bytes), c.problem);
  }
}

// Lines cross the reader's buffer at every offset; an error far in still names its line.
TEST(SpinLogReader, LongLogsAcrossBuffers) {
  std::string log;
  std::vector<int> want;
  std::mt19937 random(7);
  constexpr const char* kWords[] = {"Green", "Red", "Black", "Red", "Black"};
  while (log.size() < 3u << 20) {
    const int n = static_cast<int>(random() % 5);  // 0..4: one and two digits come below
    const int number = n == 0 ? 0 : (random() % 2 == 0 ? n : 0);
    log += std::to_string(number) + "," + kWords[number] + (random() % 3 == 0 ? "\n" : "\r\n");
    want.push_back(number);
  }
  EXPECT_EQ(Read(log), want);
  EXPECT_EQ(
      Problem(log + "1,Red\r\n5,Black\r\n"),
      std::to_string(want.size() + 2) + ": expected the colour \"Red\" for 5, found \"Black\"");
}

// What reading a log gives: its spins, or the error ("" when none).
struct Outcome {
  std::vector<int> spins;
  std::string error;
  bool operator==(const Outcome&) const = default;
  friend void PrintTo(const Outcome& outcome, std::ostream* out) {
    *out << ::testing::PrintToString(outcome.spins) << " " << outcome.error;
  }
};

// The log read in parts cut at the given byte offsets, then judged as a whole.
Outcome ReadInParts(const std::string& name, std::vector<std::int64_t> cuts, std::int64_t size) {
  cuts.insert(cuts.begin(), 0);
  cuts.push_back(size);
  Outcome outcome;
  std::vector<SpinLogPart> parts;
  for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
    Collect sink;
    parts.push_back(SpinLogReader(name).ReadPart(cuts[k], cuts[k + 1], sink));
    outcome.spins.insert(outcome.spins.end(), sink.spins.begin(), sink.spins.end());
  }
  try {
    CheckParts(name, parts);
  } catch (const SpinLogError& error) {
    return {{}, error.what()};
  }
  return outcome;
}

// A log read in parts cut anywhere gives the spins, or the error, of the whole log: every pair
// of cuts (three parts), and parts of every size from one byte.
TEST(SpinLogReader, PartsCutAnywhereReadAsTheWhole) {
  const std::vector<std::string> logs = {
      "\xEF\xBB\xBF"
      "17,Black\r\n0,Green\n32,Red\r\n\r\n\n",
      "1,Red\n2,Black\n3,Red\n",
      "1,Red\r\n2,Black\r\n3,Black\r\n4,Black",
      "1,Red\r\n2,Black\r\n\r\n",
      "1,Red\r\n\r\n\r\n2,Black\r\n",
      "\r\n1,Red\r\n",
      "1,Red\n\nxx",
      "1,Red\r\n\r\n\n37,Red\r\n2,Black\r\n",
      "1,Red\r\n2,Black\r\n3,Red\r\n4,Black\r\n5,Red,\r\n",
      "1,Red\r\n" + std::string(80, 'x') + "\r\n2,Black\r\n",
      "1,Red\r\n2,Black\r",
  };
  for (const std::string& bytes : logs) {
    const LogFile file(bytes);
    const auto size = static_cast<std::int64_t>(bytes.size());
    const Outcome whole = ReadInParts(file.Name(), {}, size);
    for (std::int64_t first = 0; first <= size; ++first) {
      for (std::int64_t second = first; second <= size; ++second) {
        SCOPED_TRACE(::testing::Message() << "cut at " << first << " and " << second << " of "
                                          << ::testing::PrintToString(bytes));
        EXPECT_EQ(ReadInParts(file.Name(), {first, second}, size), whole);
      }
    }
    for (std::int64_t step = 1; step <= 4; ++step) {
      std::vector<std::int64_t> cuts;
      for (std::int64_t at = step; at < size; at += step) cuts.push_back(at);
      SCOPED_TRACE(::testing::Message()
                   << "parts of " << step << " bytes of " << ::testing::PrintToString(bytes));
      EXPECT_EQ(ReadInParts(file.Name(), cuts, size), whole);
    }
  }
}

TEST(SpinLogReader, AFileThatCannotBeReadNamesItself) {
  const std::string missing = (fs::temp_directory_path() / "vexilo-no-such-log.CSV").string();
  try {
    SpinLogReader reader(missing);
    FAIL() << "opened a missing file";
  } catch (const std::system_error& error) {
    EXPECT_EQ(error.code(), std::errc::no_such_file_or_directory);
    EXPECT_NE(std::string(error.what()).find(missing), std::string::npos);
  }
}

}  // namespace
}  // namespace vexilo
