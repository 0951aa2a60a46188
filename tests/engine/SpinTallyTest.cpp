#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/SpinTally.h"

namespace vexilo {
namespace {

// Everything a reader of the tally can see, for before/after comparisons.
struct Snapshot {
  int spinCount;
  std::vector<int> counts;
  std::vector<std::pair<int, ColourCode>> history;
  std::vector<std::pair<std::string, ColourCode>> strip;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const SpinTally& tally) {
  Snapshot s{tally.SpinCount(), {}, {}, {}};
  for (int f = 0; f < kFamilies; ++f) {
    const SelectorRange range = SelectorsOf(static_cast<ShareFamily>(f));
    for (int sel = range.first; sel <= range.last; ++sel) {
      s.counts.push_back(tally.Count(static_cast<ShareFamily>(f), sel));
    }
  }
  for (int k = 1; k <= tally.SpinCount(); ++k) {
    s.history.emplace_back(tally.History(k).number, tally.History(k).color);
  }
  for (int k = 1; k <= kStripSlots; ++k) {
    s.strip.emplace_back(std::string(tally.SlotText(k)), tally.SlotColor(k));
  }
  return s;
}

void SpinAll(SpinTally& tally, const std::vector<int>& numbers) {
  for (const int n : numbers) ASSERT_TRUE(tally.Spin(n)) << n;
}

struct Share {
  ShareFamily family;
  int selector;
};

// Every count is 0 except the listed ones, which are `value`.
void ExpectOnlyCounts(const SpinTally& tally, const std::vector<Share>& raised, int value) {
  for (int f = 0; f < kFamilies; ++f) {
    const auto family = static_cast<ShareFamily>(f);
    const SelectorRange range = SelectorsOf(family);
    for (int sel = range.first; sel <= range.last; ++sel) {
      bool isRaised = false;
      for (const Share& r : raised) isRaised |= r.family == family && r.selector == sel;
      EXPECT_EQ(tally.Count(family, sel), isRaised ? value : 0)
          << "family " << f << " selector " << sel;
    }
  }
}

TEST(SpinTally, RecordingRaisesTheNumberAndItsSevenGroups) {
  SpinTally tally(50);
  ASSERT_TRUE(tally.RecordSpin(17));
  EXPECT_EQ(tally.SpinCount(), 1);
  EXPECT_EQ(tally.History(1).number, 17);
  EXPECT_EQ(tally.History(1).color, ColourCode::Black);
  ExpectOnlyCounts(tally,
                   {{ShareFamily::Number, 17},
                    {ShareFamily::Color, 1},
                    {ShareFamily::Parity, 1},
                    {ShareFamily::Dozen, 1},
                    {ShareFamily::Half, 0},
                    {ShareFamily::Column, 1},
                    {ShareFamily::Street, 6},
                    {ShareFamily::Sector, 1}},
                   1);
  EXPECT_EQ(tally.SlotText(1), "") << "RecordSpin alone leaves the strip";
}

TEST(SpinTally, ZeroRaisesOnlyItsOwnCount) {
  SpinTally tally(50);
  ASSERT_TRUE(tally.RecordSpin(0));
  EXPECT_EQ(tally.SpinCount(), 1);
  EXPECT_EQ(tally.History(1).number, 0);
  EXPECT_EQ(tally.History(1).color, ColourCode::Green);
  ExpectOnlyCounts(tally, {{ShareFamily::Number, 0}}, 1);
}

TEST(SpinTally, ThreeSpinsOf36AndOneTakeBack) {
  SpinTally tally(50);
  SpinAll(tally, {36, 36, 36});
  const std::vector<Share> groups = {{ShareFamily::Number, 36}, {ShareFamily::Color, 0},
                                     {ShareFamily::Parity, 0},  {ShareFamily::Dozen, 2},
                                     {ShareFamily::Half, 1},    {ShareFamily::Column, 2},
                                     {ShareFamily::Street, 12}, {ShareFamily::Sector, 2}};
  EXPECT_EQ(tally.SpinCount(), 3);
  ExpectOnlyCounts(tally, groups, 3);
  ASSERT_TRUE(tally.TakeBack());
  EXPECT_EQ(tally.SpinCount(), 2);
  ExpectOnlyCounts(tally, groups, 2);
}

TEST(SpinTally, RecordThenTakeBackRestoresEverything) {
  // Before counts on either side of a full strip.
  for (const int before : {0, 1, 19, 20, 21, 40}) {
    SpinTally tally(50);
    for (int i = 0; i < before; ++i) ASSERT_TRUE(tally.Spin((i * 11 + 5) % kPockets));
    const Snapshot was = Take(tally);
    for (int n = 0; n < kPockets; ++n) {
      ASSERT_TRUE(tally.Spin(n));
      ASSERT_TRUE(tally.TakeBack());
      ASSERT_EQ(Take(tally), was) << before << " spins before, then " << n;
    }
  }
}

TEST(SpinTally, TakeBackAtZeroChangesNothing) {
  SpinTally tally(50);
  SpinAll(tally, {3, 4});
  tally.ResetTally();
  const Snapshot was = Take(tally);
  EXPECT_FALSE(tally.TakeBack());
  EXPECT_EQ(Take(tally), was);
}

TEST(SpinTally, AfterResetTheNextSpinIsEntryOne) {
  SpinTally tally(50);
  SpinAll(tally, {1, 2, 3, 4, 5});
  tally.ResetTally();
  EXPECT_EQ(tally.SpinCount(), 0);
  ExpectOnlyCounts(tally, {}, 0);
  ASSERT_TRUE(tally.Spin(9));
  EXPECT_EQ(tally.SpinCount(), 1);
  EXPECT_EQ(tally.History(1).number, 9);
  EXPECT_EQ(tally.History(1).color, ColourCode::Red);
}

TEST(SpinTally, AFullHistoryRefusesWithNothingChanged) {
  SpinTally tally(3);
  SpinAll(tally, {7, 8, 9});
  ASSERT_TRUE(tally.IsFull());
  const Snapshot was = Take(tally);
  EXPECT_FALSE(tally.RecordSpin(1));
  EXPECT_FALSE(tally.Spin(0));
  EXPECT_EQ(Take(tally), was);
  ASSERT_TRUE(tally.TakeBack());
  EXPECT_TRUE(tally.Spin(1));
  EXPECT_EQ(tally.History(3).number, 1);
}

TEST(SpinTally, InputsOutsideTheirRangeChangeNothing) {
  SpinTally tally(50);
  SpinAll(tally, {12, 0, 30});
  const Snapshot was = Take(tally);
  EXPECT_FALSE(tally.RecordSpin(-1));
  EXPECT_FALSE(tally.RecordSpin(37));
  tally.UndoSpin(12);  // not the last spin
  tally.ClearRecentSlot(0);
  tally.ClearRecentSlot(21);
  tally.RebuildRecentStrip(99);  // capped at the spin count
  EXPECT_EQ(Take(tally), was);

  struct Read {
    ShareFamily family;
    int selector;
  };
  for (const Read r : {Read{ShareFamily::Number, -1}, Read{ShareFamily::Number, 37},
                       Read{ShareFamily::Color, 2}, Read{ShareFamily::Street, 0},
                       Read{ShareFamily::Street, 13}, Read{ShareFamily::Sector, 5}}) {
    EXPECT_EQ(tally.Count(r.family, r.selector), 0) << static_cast<int>(r.family) << "/" << r.selector;
  }
  for (const int k : {0, 4, -1}) {
    EXPECT_EQ(tally.History(k).color, ColourCode::None) << k;
  }
  EXPECT_EQ(tally.SlotText(21), "");
  EXPECT_EQ(tally.SlotColor(0), ColourCode::None);
}

TEST(SpinTally, UndoLeavesTheCountToTheCaller) {
  SpinTally tally(50);
  SpinAll(tally, {5, 17});
  tally.UndoSpin(17);
  EXPECT_EQ(tally.SpinCount(), 2);
  EXPECT_EQ(tally.NumberCount(17), 0);
  EXPECT_EQ(tally.Count(ShareFamily::Color, 1), 0);
  EXPECT_EQ(tally.History(2).number, 0);
  EXPECT_EQ(tally.History(2).color, ColourCode::None);
}

// The strip as the numbers it shows, newest first; every other slot must be empty.
void ExpectStrip(const SpinTally& tally, const std::vector<int>& newestFirst) {
  for (int k = 1; k <= kStripSlots; ++k) {
    SCOPED_TRACE("slot " + std::to_string(k));
    if (k <= static_cast<int>(newestFirst.size())) {
      const int n = newestFirst[k - 1];
      EXPECT_EQ(tally.SlotText(k), std::to_string(n));
      EXPECT_EQ(tally.SlotColor(k), PocketOf(n).color);
    } else {
      EXPECT_EQ(tally.SlotText(k), "");
      EXPECT_EQ(tally.SlotColor(k), ColourCode::None);
    }
  }
}

// from, from + step, ... up to and including to.
std::vector<int> Spins(int from, int to) {
  std::vector<int> v;
  const int step = from <= to ? 1 : -1;
  for (int i = from; i != to + step; i += step) v.push_back(i);
  return v;
}

TEST(RecentStrip, FollowsSpinsTakeBacksAndReset) {
  struct Case {
    const char* name;
    std::vector<int> spins;
    int takeBacks;
    bool reset;
    std::vector<int> strip;
  };
  const Case kCases[] = {
      {"three spins", {5, 17, 0}, 0, false, {0, 17, 5}},
      {"25 spins", Spins(1, 25), 0, false, Spins(25, 6)},
      {"21 spins, one back", Spins(1, 21), 1, false, Spins(20, 1)},
      {"3 spins, one back", {1, 2, 3}, 1, false, {2, 1}},
      {"1 spin, back", {33}, 1, false, {}},
      {"back with none", {}, 1, false, {}},
      {"back past zero", {4, 8}, 5, false, {}},
      {"reset after 30", Spins(1, 30), 0, true, {}},
      {"36 spins, ten back", Spins(1, 36), 10, false, Spins(26, 7)},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    SpinTally tally(50);
    SpinAll(tally, c.spins);
    for (int i = 0; i < c.takeBacks; ++i) tally.TakeBack();
    if (c.reset) tally.ResetTally();
    ExpectStrip(tally, c.strip);
  }
}

TEST(RecentStrip, ColorsOfGreenBlackAndRedSpins) {
  SpinTally tally(50);
  SpinAll(tally, {5, 17, 0});
  EXPECT_EQ(tally.SlotColor(1), ColourCode::Green);
  EXPECT_EQ(tally.SlotColor(2), ColourCode::Black);
  EXPECT_EQ(tally.SlotColor(3), ColourCode::Red);
  EXPECT_EQ(tally.SlotColor(4), ColourCode::None);
}

TEST(RecentStrip, RebuildLeavesTheSlotsBeyondItsCount) {
  SpinTally tally(50);
  SpinAll(tally, {10, 20, 30, 31, 32});
  tally.RebuildRecentStrip(2);
  ExpectStrip(tally, {20, 10, 30, 20, 10});
  tally.RebuildRecentStrip(0);
  ExpectStrip(tally, {20, 10, 30, 20, 10});
  tally.ClearRecentSlot(5);
  ExpectStrip(tally, {20, 10, 30, 20});
}

TEST(SpinTally, HundredThousandSpinsAreKeptInOrder) {
  SpinTally tally;
  ASSERT_EQ(tally.Capacity(), MAX_SPINS);
  std::mt19937 random(20240611);
  std::vector<int> spins(MAX_SPINS);
  for (int& n : spins) n = static_cast<int>(random() % kPockets);
  for (const int n : spins) ASSERT_TRUE(tally.RecordSpin(n));
  tally.RebuildRecentStrip(tally.SpinCount());
  EXPECT_EQ(tally.SpinCount(), MAX_SPINS);
  EXPECT_FALSE(tally.RecordSpin(0));
  EXPECT_EQ(tally.SpinCount(), MAX_SPINS);
  for (int k = 1; k <= MAX_SPINS; ++k) {
    ASSERT_EQ(tally.History(k).number, spins[k - 1]) << "entry " << k;
    ASSERT_EQ(tally.History(k).color, PocketOf(spins[k - 1]).color) << "entry " << k;
  }
  EXPECT_EQ(tally.SlotText(1), std::to_string(spins.back()));
}

}  // namespace
}  // namespace vexilo
