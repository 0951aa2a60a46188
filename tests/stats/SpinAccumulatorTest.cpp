#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "stats/analysis/SpinAccumulator.h"
#include "stats/analysis/Wheel.h"

namespace vexilo::stats {
namespace {

SpinAccumulator Of(const std::vector<std::uint8_t>& spins) {
  SpinAccumulator a;
  a.Add(spins);
  return a;
}

TEST(Wheel, OrderAndDistances) {
  EXPECT_EQ(kWheelOrder[0], 0);
  EXPECT_EQ(kWheelOrder[1], 32);
  EXPECT_EQ(kWheelOrder[36], 26);
  struct Case {
    int from, to, distance;
  };
  for (const Case c : {Case{0, 32, 1}, Case{32, 0, 36}, Case{26, 0, 1}, Case{2, 2, 0},
                       Case{34, 6, 1}, Case{10, 5, 1}, Case{9, 22, 1}, Case{0, 26, 36}}) {
    EXPECT_EQ(WheelDistance(c.from, c.to), c.distance) << c.from << " to " << c.to;
  }
}

TEST(SpinAccumulator, ASmallRecordByHand) {
  // 1 3 5 are red, odd, 1st dozen; 0; 2 2 2 black, even, 1st dozen, column 2; 32 red, even,
  // 3rd dozen, column 2; 15 black, odd, 2nd dozen, column 3.
  const SpinAccumulator a = Of({1, 3, 5, 0, 2, 2, 2, 32, 15});
  EXPECT_EQ(a.Spins(), 9);
  EXPECT_EQ(a.Count(2), 3);
  EXPECT_EQ(a.SinceLast(2), 2);
  EXPECT_EQ(a.SinceLast(15), 0);
  EXPECT_EQ(a.SinceLast(36), 9);
  EXPECT_EQ(a.LongestAbsence(2), 4);
  EXPECT_EQ(a.LongestAbsence(1), 8);
  EXPECT_EQ(a.LongestAbsence(36), 9);
  EXPECT_EQ(a.Distances()[0], 2);  // 2 after 2, twice
  EXPECT_EQ(a.Distances()[1], 1);  // 15 after 32
  struct Case {
    StreakKind kind;
    std::int64_t longest, current;
  };
  for (const Case c : {Case{StreakKind::Red, 3, 0}, Case{StreakKind::Black, 3, 1},
                       Case{StreakKind::Even, 4, 0}, Case{StreakKind::Odd, 3, 1},
                       Case{StreakKind::Dozen, 3, 1}, Case{StreakKind::Column, 4, 1}}) {
    EXPECT_EQ(a.LongestRun(c.kind), c.longest) << Index(c.kind);
    EXPECT_EQ(a.CurrentRun(c.kind), c.current) << Index(c.kind);
  }
}

void ExpectSame(const SpinAccumulator& joined, const SpinAccumulator& whole) {
  ASSERT_EQ(joined.Spins(), whole.Spins());
  for (int n = 0; n < kPockets; ++n) {
    EXPECT_EQ(joined.Count(n), whole.Count(n)) << n;
    EXPECT_EQ(joined.SinceLast(n), whole.SinceLast(n)) << n;
    EXPECT_EQ(joined.LongestAbsence(n), whole.LongestAbsence(n)) << n;
  }
  EXPECT_EQ(joined.Distances(), whole.Distances());
  EXPECT_TRUE(std::ranges::equal(joined.Record(), whole.Record()));
  for (int k = 0; k < kStreakKinds; ++k) {
    EXPECT_EQ(joined.LongestRun(StreakKind(k)), whole.LongestRun(StreakKind(k))) << k;
    EXPECT_EQ(joined.CurrentRun(StreakKind(k)), whole.CurrentRun(StreakKind(k))) << k;
  }
}

// Four parts joined in three orders: ((1 2) 3) 4 as the reader joins files, 1 (2 (3 4)), and
// 1 ((2 3) 4), where a joined part grows on its right before it is joined again.
void ExpectEveryJoin(const std::vector<std::uint8_t>& spins, std::array<std::size_t, 3> cuts) {
  std::sort(cuts.begin(), cuts.end());
  SCOPED_TRACE(::testing::Message()
               << spins.size() << " spins, cuts " << cuts[0] << " " << cuts[1] << " " << cuts[2]);
  const SpinAccumulator whole = Of(spins);
  ASSERT_TRUE(std::ranges::equal(whole.Record(), spins));
  std::vector<SpinAccumulator> parts;
  std::size_t from = 0;
  for (const std::size_t cut : {cuts[0], cuts[1], cuts[2], spins.size()}) {
    parts.push_back(Of({spins.begin() + from, spins.begin() + cut}));
    from = cut;
  }
  SpinAccumulator left;
  for (const SpinAccumulator& part : parts) left.Append(part);
  ExpectSame(left, whole);
  SpinAccumulator right = parts[3];
  for (int i = 2; i >= 0; --i) {
    SpinAccumulator earlier = parts[i];
    earlier.Append(right);
    right = earlier;
  }
  ExpectSame(right, whole);
  SpinAccumulator middle = parts[1];
  middle.Append(parts[2]);
  middle.Append(parts[3]);
  SpinAccumulator nested = parts[0];
  nested.Append(middle);
  ExpectSame(nested, whole);
  SpinAccumulator batches;  // the reader's batches: several Adds into one
  batches.Add(std::span(spins).first(cuts[0]));
  batches.Add(std::span(spins).subspan(cuts[0], cuts[1] - cuts[0]));
  batches.Add(std::span(spins).subspan(cuts[1]));
  ExpectSame(batches, whole);
}

// Parts read apart (one file per thread) and joined in order give what one pass gives, wherever
// the cuts fall: inside runs, between a run and its continuation, in empty parts.
TEST(SpinAccumulator, PartsJoinedInOrderEqualOnePass) {
  // Runs of red (1, 3, 5), of black (2), a run across a zero; runs of one dozen (1, 2, then 13,
  // then 25) next to runs of another.
  for (const std::vector<std::uint8_t>& designed :
       {std::vector<std::uint8_t>{1, 1, 2, 2, 2, 5, 3, 0, 3, 3, 36, 36, 33},
        std::vector<std::uint8_t>{1, 1, 2, 2, 13, 13, 0, 25, 25, 1, 13, 13, 2, 25}}) {
    const std::size_t size = designed.size();
    for (std::size_t a = 0; a <= size; ++a) {
      for (std::size_t b = a; b <= size; ++b) {
        for (std::size_t c = b; c <= size; ++c) ExpectEveryJoin(designed, {a, b, c});
      }
    }
  }
  std::mt19937 random(3);
  // Few pockets give long runs and long absences; 1, 13, 25 and 2 make runs of one dozen or
  // column follow runs of another.
  const std::vector<std::vector<std::uint8_t>> pocketSets = {{0, 1}, {0, 1, 2, 13, 25}, {}};
  for (const auto& pockets : pocketSets) {
    for (const std::size_t length : {12u, 300u}) {
      std::vector<std::uint8_t> spins(length);
      for (auto& n : spins) {
        n = static_cast<std::uint8_t>(pockets.empty() ? random() % 37
                                                      : pockets[random() % pockets.size()]);
      }
      for (int trial = 0; trial < 100; ++trial) {
        ExpectEveryJoin(
            spins, {random() % (length + 1), random() % (length + 1), random() % (length + 1)});
      }
    }
  }
}

}  // namespace
}  // namespace vexilo::stats
