#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

#include "engine/Color.h"
#include "engine/PocketTable.h"
#include "engine/ShareFamily.h"

namespace vexilo {
namespace {

constexpr std::array kRedNumbers = {1,  3,  5,  7,  9,  12, 14, 16, 18,
                                    19, 21, 23, 25, 27, 30, 32, 34, 36};

std::vector<int> ParseCaption(std::string_view caption) {
  std::vector<int> numbers;
  std::string item;
  for (const char ch : std::string(caption) + ",") {
    if (ch == ',') {
      numbers.push_back(std::stoi(item));
      item.clear();
    } else {
      item += ch;
    }
  }
  return numbers;
}

TEST(PocketTable, ZeroIsGreenWithItsOwnParityAndNoGroup) {
  const Pocket& zero = PocketOf(0);
  EXPECT_EQ(zero.color, ColourCode::Green);
  EXPECT_EQ(zero.parity, ParityCode::Zero);
  EXPECT_EQ(zero.dozen, 0);
  EXPECT_EQ(zero.half, 0);
  EXPECT_EQ(zero.column, 0);
  EXPECT_EQ(zero.street, 0);
  EXPECT_EQ(zero.sector, 0);
  for (int f = static_cast<int>(ShareFamily::Color); f < kFamilies; ++f) {
    EXPECT_EQ(GroupSelector(0, static_cast<ShareFamily>(f)), -1) << "family " << f;
  }
}

TEST(PocketTable, EveryRowFollowsTheRedListAndTheArithmeticRules) {
  for (int n = 1; n <= 36; ++n) {
    SCOPED_TRACE(n);
    const Pocket& p = PocketOf(n);
    const bool red = std::find(kRedNumbers.begin(), kRedNumbers.end(), n) != kRedNumbers.end();
    EXPECT_EQ(p.color, red ? ColourCode::Red : ColourCode::Black);
    EXPECT_EQ(p.parity, n % 2 == 0 ? ParityCode::Even : ParityCode::Odd);
    EXPECT_EQ(p.dozen, n <= 12 ? 1 : n <= 24 ? 2 : 3);
    EXPECT_EQ(p.half, n <= 18 ? 1 : 2);
    EXPECT_EQ(p.column, n % 3 == 0 ? 3 : n % 3);
    EXPECT_EQ(p.street, (n + 2) / 3);
    EXPECT_GE(p.sector, 1);
    EXPECT_LE(p.sector, 4);
  }
}

TEST(PocketTable, RowsWhereColorDoesNotFollowParity) {
  struct Row {
    int number;
    ColourCode color;
    ParityCode parity;
  };
  constexpr Row kRows[] = {
      {10, ColourCode::Black, ParityCode::Even}, {11, ColourCode::Black, ParityCode::Odd},
      {28, ColourCode::Black, ParityCode::Even}, {29, ColourCode::Black, ParityCode::Odd},
      {18, ColourCode::Red, ParityCode::Even},   {19, ColourCode::Red, ParityCode::Odd},
  };
  for (const Row& row : kRows) {
    EXPECT_EQ(PocketOf(row.number).color, row.color) << row.number;
    EXPECT_EQ(PocketOf(row.number).parity, row.parity) << row.number;
  }
}

TEST(PocketTable, SectorsAreTheCaptionListsNineEachCoveringTheWheelOnce) {
  std::set<int> seen;
  for (int s = 0; s < kSectors; ++s) {
    const std::vector<int> numbers = ParseCaption(kSectorCaptions[s]);
    EXPECT_EQ(numbers.size(), 9u) << kSectorCaptions[s];
    for (const int n : numbers) {
      EXPECT_EQ(PocketOf(n).sector, s + 1) << n;
      EXPECT_TRUE(seen.insert(n).second) << n << " appears twice";
    }
  }
  EXPECT_EQ(seen.size(), 36u);
  EXPECT_EQ(seen.count(0), 0u);
  // The wheel's neighbours of zero open the first caption and close the last.
  EXPECT_EQ(ParseCaption(kSectorCaptions.front()).front(), 32);
  EXPECT_EQ(ParseCaption(kSectorCaptions.back()).back(), 26);
}

TEST(PocketTable, GroupSizes) {
  struct Family {
    ShareFamily family;
    int members;
  };
  constexpr Family kFamiliesToCount[] = {
      {ShareFamily::Color, 18},  {ShareFamily::Parity, 18}, {ShareFamily::Half, 18},
      {ShareFamily::Column, 12}, {ShareFamily::Dozen, 12},  {ShareFamily::Street, 3},
      {ShareFamily::Sector, 9},
  };
  for (const auto& [family, members] : kFamiliesToCount) {
    const SelectorRange range = SelectorsOf(family);
    for (int selector = range.first; selector <= range.last; ++selector) {
      int count = 0;
      for (int n = 0; n < kPockets; ++n) count += GroupSelector(n, family) == selector ? 1 : 0;
      EXPECT_EQ(count, members) << "family " << static_cast<int>(family) << " selector " << selector;
    }
  }
}

TEST(RecentSlotColour, MapsEachCodeAndKeepsTheColorForOthers) {
  struct Case {
    ColourCode code;
    std::optional<TColor> color;
  };
  const Case kCases[] = {
      {ColourCode{0}, 255},          {ColourCode{1}, 0},
      {ColourCode{2}, 65280},        {ColourCode{3}, static_cast<TColor>(0x8000000Fu)},
      {ColourCode{4}, std::nullopt}, {ColourCode{-1}, std::nullopt},
  };
  for (const Case& c : kCases) EXPECT_EQ(RecentSlotColour(c.code), c.color) << static_cast<int>(c.code);
}

}  // namespace
}  // namespace vexilo
