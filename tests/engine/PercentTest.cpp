#include <gtest/gtest.h>

#include <cfenv>
#include <climits>
#include <cstdint>
#include <string>

#include "engine/Percent.h"
#include "engine/SpinTally.h"

namespace vexilo {
namespace {

std::string WithSeparator(std::string text, std::string_view separator) {
  const auto dot = text.find('.');
  if (dot != std::string::npos) text.replace(dot, 1, separator);
  return text;
}

// Shares as count of spins, written with a full stop.
struct ShareCase {
  std::int32_t count;
  std::int32_t spins;
  const char* text;
  int bar;
};

constexpr ShareCase kShares[] = {
    {1, 3, "33.33", 33},   {2, 3, "66.67", 67}, {1, 1, "100", 100},          {0, 5, "0", 0},
    {1, 2, "50", 50},      {1, 8, "12.5", 12},  {3, 8, "37.5", 38},          {5, 8, "62.5", 62},
    {7, 8, "87.5", 88},    {1, 7, "14.29", 14}, {1, 6, "16.67", 17},         {1, 37, "2.7", 3},
    {1, 32, "3.12", 3},    {3, 32, "9.38", 9},  {1, 64, "1.56", 2},          {1, 160, "0.62", 1},
    {9, 800, "1.13", 1},   {1, 200, "0.5", 0},  {1, 10000, "0.01", 0},       {1, 20000, "0", 0},
    {3, 20000, "0.02", 0}, {1, 100000, "0", 0}, {99999, 100000, "100", 100},
};

TEST(Percent, ShareTextAndBarWithEachSeparator) {
  for (const std::string_view separator : {".", ",", "\xD9\xAB" /* arabic decimal */}) {
    for (const ShareCase& c : kShares) {
      SCOPED_TRACE(std::to_string(c.count) + " of " + std::to_string(c.spins));
      const std::string expected = WithSeparator(c.text, separator);
      std::string text = "stale";
      PercentText(ShareHundredths(c.count, c.spins), separator, text);
      EXPECT_EQ(text, expected);
      EXPECT_EQ(BarValue(text, separator), c.bar);
    }
  }
}

TEST(Percent, TextOfHundredths) {
  struct Case {
    int hundredths;
    const char* text;
  };
  constexpr Case kCases[] = {
      {0, "0"},     {1, "0.01"},     {5, "0.05"},    {50, "0.5"},     {99, "0.99"},   {100, "1"},
      {3300, "33"}, {3303, "33.03"}, {3330, "33.3"}, {9999, "99.99"}, {10000, "100"}, {-7, "0"},
  };
  for (const Case& c : kCases) {
    std::string text;
    PercentText(c.hundredths, ".", text);
    EXPECT_EQ(text, c.text) << c.hundredths;
    PercentText(c.hundredths, "", text);
    EXPECT_EQ(text, c.text) << c.hundredths << " with no separator given";
  }
}

TEST(Percent, BarValueRoundsHalvesToEven) {
  struct Case {
    const char* text;
    const char* separator;
    int bar;
  };
  constexpr Case kCases[] = {
      {"0", ".", 0},
      {"0.5", ".", 0},
      {"1.5", ".", 2},
      {"2.5", ".", 2},
      {"50.49", ".", 50},
      {"50.5", ".", 50},
      {"50.51", ".", 51},
      {"51.5", ".", 52},
      {"99.5", ".", 100},
      {"100", ".", 100},
      {"33.33%", ".", 33},
      {"66,67", ",", 67},
      {"12,5", ",", 12},
      {"13,5", ",", 14},
      {"0.5", "", 0},
      {"7.50", ".", 8},
      {"", ".", 0},
      {"8.500001", ".", 9},
      {"12\xD9\xAB"
       "5",
       "\xD9\xAB", 12},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(BarValue(c.text, c.separator), c.bar) << c.text << " with " << c.separator;
  }
}

TEST(Percent, ShareHundredthsHoldsItsInputsInRange) {
  struct Case {
    std::int32_t count;
    std::int32_t spins;
    int hundredths;
  };
  constexpr Case kCases[] = {
      {1, 0, 0},         {0, 0, 0},
      {5, -3, 0},        {-1, 10, 0},
      {11, 10, 10000},   {INT32_MAX, INT32_MAX, 10000},
      {1, INT32_MAX, 0}, {INT32_MAX / 2 + 1, INT32_MAX, 5000},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(ShareHundredths(c.count, c.spins), c.hundredths) << c.count << " of " << c.spins;
    EXPECT_EQ(ExtendedShareHundredths(c.count, c.spins), c.hundredths)
        << c.count << " of " << c.spins;
  }
}

// Whatever the double rounding does, the result is the exact share rounded to the nearest
// hundredth, except on an exact half, where either neighbour is possible; and the shortcut
// agrees with the step-by-step rounding everywhere.
TEST(Percent, ShareIsTheNearestHundredthOffTheHalves) {
  for (std::int64_t s = 1; s <= 2000; ++s) {
    int previous = 0;
    for (std::int64_t c = 0; c <= s; ++c) {
      const int k = ShareHundredths(static_cast<std::int32_t>(c), static_cast<std::int32_t>(s));
      const std::int64_t twice = 20000 * c;  // twice the exact share, times s
      const std::int64_t below = twice / (2 * s);
      const std::int64_t rest = twice % (2 * s);
      if (rest == s) {
        ASSERT_TRUE(k == below || k == below + 1) << c << " of " << s;
      } else {
        ASSERT_EQ(k, below + (rest > s ? 1 : 0)) << c << " of " << s;
      }
      ASSERT_GE(k, previous) << c << " of " << s;
      ASSERT_EQ(k,
                ExtendedShareHundredths(static_cast<std::int32_t>(c), static_cast<std::int32_t>(s)))
          << c << " of " << s;
      previous = k;
    }
  }
}

// Rounding mode and x87 precision as a library or driver may leave them, restored on scope exit.
class FloatingPointSetting {
 public:
  explicit FloatingPointSetting(int roundingMode) : savedMode_(std::fegetround()) {
    std::fesetround(roundingMode);
#if (defined(__i386__) || defined(__x86_64__)) && defined(__GNUC__)
    __asm__ volatile("fnstcw %0" : "=m"(savedControl_));
    const unsigned short singlePrecision = savedControl_ & ~0x300u;
    __asm__ volatile("fldcw %0" : : "m"(singlePrecision));
#endif
  }
  ~FloatingPointSetting() {
#if (defined(__i386__) || defined(__x86_64__)) && defined(__GNUC__)
    __asm__ volatile("fldcw %0" : : "m"(savedControl_));
#endif
    std::fesetround(savedMode_);
  }
  FloatingPointSetting(const FloatingPointSetting&) = delete;
  FloatingPointSetting& operator=(const FloatingPointSetting&) = delete;

 private:
  int savedMode_;
  unsigned short savedControl_ = 0;
};

TEST(Percent, ShareDoesNotDependOnTheFloatingPointSettings) {
  int modes[] = {FE_TONEAREST,
#ifdef FE_UPWARD
                 FE_UPWARD,
#endif
#ifdef FE_DOWNWARD
                 FE_DOWNWARD,
#endif
#ifdef FE_TOWARDZERO
                 FE_TOWARDZERO
#endif
  };
  for (const int mode : modes) {
    std::string firstMismatch;
    {
      const FloatingPointSetting setting(mode);
      for (std::int32_t s = 1; s <= 1500 && firstMismatch.empty(); ++s) {
        for (std::int32_t c = 0; c <= s; ++c) {
          if (ShareHundredths(c, s) != ExtendedShareHundredths(c, s)) {
            firstMismatch = std::to_string(c) + " of " + std::to_string(s);
            break;
          }
        }
      }
    }
    EXPECT_EQ(firstMismatch, "") << "rounding mode " << mode;
  }
}

TEST(FormatPercent, LeavesTheTextWhenThereIsNoSpin) {
  SpinTally tally(10);
  for (int f = 0; f < kFamilies; ++f) {
    for (int selector = -1; selector <= kPockets; ++selector) {
      std::string text = "as passed";
      EXPECT_FALSE(FormatPercent(tally, static_cast<ShareFamily>(f), selector, text, "."));
      EXPECT_EQ(text, "as passed");
    }
  }
}

TEST(FormatPercent, SelectorsAtAndBeyondEachEnd) {
  SpinTally tally(10);
  for (const int n : {1, 2, 3}) ASSERT_TRUE(tally.Spin(n));
  struct Case {
    ShareFamily family;
    int selector;
    bool formats;
  };
  constexpr Case kCases[] = {
      {ShareFamily::Number, -1, false}, {ShareFamily::Number, 0, true},
      {ShareFamily::Number, 36, true},  {ShareFamily::Number, 37, false},
      {ShareFamily::Color, -1, false},  {ShareFamily::Color, 1, true},
      {ShareFamily::Color, 2, false},   {ShareFamily::Parity, 2, false},
      {ShareFamily::Half, 2, false},    {ShareFamily::Column, 2, true},
      {ShareFamily::Column, 3, false},  {ShareFamily::Dozen, 3, false},
      {ShareFamily::Street, 0, false},  {ShareFamily::Street, 1, true},
      {ShareFamily::Street, 12, true},  {ShareFamily::Street, 13, false},
      {ShareFamily::Sector, 0, false},  {ShareFamily::Sector, 4, true},
      {ShareFamily::Sector, 5, false},
  };
  for (const Case& c : kCases) {
    std::string text = "as passed";
    EXPECT_EQ(FormatPercent(tally, c.family, c.selector, text, "."), c.formats)
        << static_cast<int>(c.family) << "/" << c.selector;
    if (!c.formats) {
      EXPECT_EQ(text, "as passed") << static_cast<int>(c.family) << "/" << c.selector;
    }
  }
}

TEST(FormatPercent, EachSelectorReadsItsOwnCount) {
  SpinTally tally(10);
  // 19: red, odd, high, column 1, dozen 2, street 7, sector 1. 20 and 2: black, even, column 2,
  // sector 3 and 1.
  for (const int n : {19, 20, 2}) ASSERT_TRUE(tally.Spin(n));
  struct Case {
    ShareFamily family;
    int selector;
    const char* text;
  };
  constexpr Case kCases[] = {
      {ShareFamily::Color, 0, "33.33"},  {ShareFamily::Color, 1, "66.67"},
      {ShareFamily::Parity, 0, "66.67"}, {ShareFamily::Parity, 1, "33.33"},
      {ShareFamily::Half, 0, "33.33"},   {ShareFamily::Half, 1, "66.67"},
      {ShareFamily::Column, 0, "33.33"}, {ShareFamily::Column, 1, "66.67"},
      {ShareFamily::Column, 2, "0"},     {ShareFamily::Dozen, 0, "33.33"},
      {ShareFamily::Dozen, 1, "66.67"},  {ShareFamily::Dozen, 2, "0"},
      {ShareFamily::Street, 1, "33.33"}, {ShareFamily::Street, 7, "66.67"},
      {ShareFamily::Sector, 1, "66.67"}, {ShareFamily::Sector, 3, "33.33"},
      {ShareFamily::Number, 0, "0"},     {ShareFamily::Number, 19, "33.33"},
  };
  for (const Case& c : kCases) {
    std::string text;
    ASSERT_TRUE(FormatPercent(tally, c.family, c.selector, text, "."));
    EXPECT_EQ(text, c.text) << static_cast<int>(c.family) << "/" << c.selector;
  }
}

TEST(FormatPercent, SharesOfAFamilyNeedNotAddUpToAHundred) {
  SpinTally tally(10);
  for (const int n : {1, 2, 3}) ASSERT_TRUE(tally.Spin(n));
  for (int column = 0; column < 3; ++column) {
    std::string text;
    ASSERT_TRUE(FormatPercent(tally, ShareFamily::Column, column, text, ","));
    EXPECT_EQ(text, "33,33") << column;
  }
}

}  // namespace
}  // namespace vexilo
