#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/SpinTally.h"
#include "export/SpinLog.h"

namespace vexilo {
namespace {

std::string Log(const SpinTally& tally) {
  std::string out = "left over from before";
  FormatSpinLog(tally, out);
  return out;
}

void Record(SpinTally& tally, const std::vector<int>& numbers) {
  for (const int n : numbers) ASSERT_TRUE(tally.Spin(n));
}

TEST(SpinLog, SmallLogsByteForByte) {
  struct Case {
    const char* name;
    std::vector<int> spins;
    int backs;
    std::string want;
  };
  const std::vector<Case> cases = {
      {"nothing recorded", {}, 0, ""},
      {"the 27-byte example", {17, 0, 32}, 0, "17,Black\r\n0,Green\r\n32,Red\r\n"},
      {"a single zero", {0}, 0, "0,Green\r\n"},
      {"the same number twice", {36, 36}, 0, "36,Red\r\n36,Red\r\n"},
      {"a spin taken back", {10, 11, 19}, 1, "10,Black\r\n11,Black\r\n"},
      {"all taken back", {5}, 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SpinTally tally;
    Record(tally, c.spins);
    for (int i = 0; i < c.backs; ++i) tally.TakeBack();
    EXPECT_EQ(Log(tally), c.want);
  }
  SpinTally example;
  Record(example, {17, 0, 32});
  EXPECT_EQ(Log(example).size(), 27u);
  SpinTally zero;
  Record(zero, {0});
  EXPECT_EQ(Log(zero).size(), 9u);
}

TEST(SpinLog, AfterResetTheNextSpinIsTheFirstLine) {
  SpinTally tally;
  Record(tally, {1, 2, 3});
  tally.ResetTally();
  Record(tally, {4});
  EXPECT_EQ(Log(tally), "4,Black\r\n");
}

TEST(SpinLog, AFullHistory) {
  const std::set<int> red = {1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36};
  std::mt19937 random(7);
  SpinTally tally;
  std::string want;
  for (int k = 0; k < MAX_SPINS; ++k) {
    const int n = static_cast<int>(random() % 37);
    ASSERT_TRUE(tally.Spin(n));
    want += std::to_string(n) + (n == 0 ? ",Green" : red.count(n) ? ",Red" : ",Black") + "\r\n";
  }
  const std::string log = Log(tally);
  EXPECT_EQ(log.size(), want.size());
  EXPECT_TRUE(log == want)
      << "the logs first differ at byte "
      << std::mismatch(log.begin(), log.end(), want.begin(), want.end()).first - log.begin();
  EXPECT_LE(log.size(), 10u * MAX_SPINS);
}

}  // namespace
}  // namespace vexilo
