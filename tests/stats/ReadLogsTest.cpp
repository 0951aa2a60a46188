#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "export/SpinLogReader.h"
#include "stats/analysis/ReadLogs.h"

namespace vexilo::stats {
namespace {

namespace fs = std::filesystem;

// What reading gives: the spins' counts and neighbours (which follow their order), or the error.
struct Outcome {
  std::vector<std::int64_t> figures;
  std::string error;
  bool operator==(const Outcome&) const = default;
};

Outcome Read(const std::string& name, const ReadOptions& options) {
  try {
    const std::vector<std::string> names = {name};
    const ReadLogsResult read = ReadLogs(names, {}, options);
    Outcome outcome{{read.spins.Spins(), read.files[0].spins}, {}};
    for (int n = 0; n < kPockets; ++n) outcome.figures.push_back(read.spins.Count(n));
    const auto& distances = read.spins.Distances();
    outcome.figures.insert(outcome.figures.end(), distances.begin(), distances.end());
    return outcome;
  } catch (const SpinLogError& error) {
    return {{}, error.what()};
  }
}

// A log cut into up to 8 parts of a few bytes reads as the whole; a pipe is read once, whole.
TEST(ReadLogs, PartsOfAnySizeReadAsTheWhole) {
  std::mt19937 random(std::random_device{}());
  struct Case {
    const char* name;
    std::string bytes;
    bool pipe = false;
  };
  const std::vector<Case> cases = {
      {"good", "17,Black\r\n0,Green\n32,Red\r\n\r\n", false},
      {"a bad line after empty lines", "1,Red\r\n2,Black\r\n\r\n\r\nxx\r\n", false},
      {"an empty line between spins", "1,Red\r\n2,Black\r\n\r\n\r\n3,Red\r\n", false},
      {"a bad line in the last part", "1,Red\r\n2,Black\r\n3,Red\r\n4,Black,\r\n", false},
      {"a pipe", "1,Red\r\n2,Black\r\n3,Red\r\n", true},
  };
  for (const Case& c : cases) {
    const fs::path path = fs::temp_directory_path() / ("vexilo-read-" + std::to_string(random()));
    std::ofstream(path, std::ios::binary) << c.bytes;
    const Outcome whole = Read(path.string(), {.parts = 1});
    if (c.pipe) {
#ifndef _WIN32
      fs::remove(path);
      ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
      std::thread writer([&] { std::ofstream(path, std::ios::binary) << c.bytes; });
      EXPECT_EQ(Read(path.string(), {.partBytes = 1, .parts = 8}), whole) << c.name;
      writer.join();
#endif
    } else {
      for (const ReadOptions options : {ReadOptions{1, 3}, ReadOptions{5, 8}, ReadOptions{2, 8}}) {
        EXPECT_EQ(Read(path.string(), options), whole) << c.name << ", " << options.parts;
      }
    }
    fs::remove(path);
  }
}

}  // namespace
}  // namespace vexilo::stats
