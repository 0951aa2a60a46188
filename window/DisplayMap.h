#pragma once

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string_view>

#include "engine/PocketTable.h"
#include "engine/ShareFamily.h"
#include "window/ControlId.h"

namespace vexilo {

// Which labels and bar show each group's count and share: Label<countLabel>,
// Label<shareLabel>, ProgressBar<bar>.

inline constexpr LabelNumber kSpinCountLabel{222};
inline constexpr LabelNumber kFirstStripLabel{1};          // Label1..Label20: strip slots 1..20
inline constexpr LabelNumber kFirstNumberCountLabel{74};   // Label(74 + n): count of n
inline constexpr LabelNumber kFirstNumberShareLabel{111};  // Label(111 + n): share of n
inline constexpr int kBars = 16;

struct GroupDisplay {
  constexpr GroupDisplay(ShareFamily family, int selector, int countLabel, int shareLabel, int bar,
                         std::string_view name)
      : family(family),
        selector(selector),
        countLabel(countLabel),
        shareLabel(shareLabel),
        bar(bar),
        name(name) {}

  ShareFamily family;
  int selector;
  LabelNumber countLabel;
  LabelNumber shareLabel;
  BarNumber bar;  // 0: the group has no bar (streets)
  std::string_view name;
};

// The families in the order the window refreshes them after a spin.
inline constexpr std::array<ShareFamily, 7> kRefreshFamilies = {
    ShareFamily::Column, ShareFamily::Dozen,  ShareFamily::Half, ShareFamily::Sector,
    ShareFamily::Street, ShareFamily::Parity, ShareFamily::Color};

// Every group, family by family in refresh order, selectors ascending.
inline constexpr std::array<GroupDisplay, 28> kGroupDisplays = {{
    {ShareFamily::Column, 0, 170, 171, 6, "column 1"},
    {ShareFamily::Column, 1, 172, 173, 7, "column 2"},
    {ShareFamily::Column, 2, 174, 175, 8, "column 3"},
    {ShareFamily::Dozen, 0, 160, 161, 1, "dozen 1"},
    {ShareFamily::Dozen, 1, 162, 163, 2, "dozen 2"},
    {ShareFamily::Dozen, 2, 164, 165, 3, "dozen 3"},
    {ShareFamily::Half, 0, 166, 167, 4, "1-18"},
    {ShareFamily::Half, 1, 168, 169, 5, "19-36"},
    // The sector labels are not numbered in sector order.
    {ShareFamily::Sector, 1, 213, 214, 13, "sector 1"},
    {ShareFamily::Sector, 2, 217, 218, 14, "sector 2"},
    {ShareFamily::Sector, 3, 215, 216, 15, "sector 3"},
    {ShareFamily::Sector, 4, 219, 220, 16, "sector 4"},
    {ShareFamily::Street, 1, 189, 190, 0, "street 1"},
    {ShareFamily::Street, 2, 191, 192, 0, "street 2"},
    {ShareFamily::Street, 3, 193, 194, 0, "street 3"},
    {ShareFamily::Street, 4, 195, 196, 0, "street 4"},
    {ShareFamily::Street, 5, 197, 198, 0, "street 5"},
    {ShareFamily::Street, 6, 199, 200, 0, "street 6"},
    {ShareFamily::Street, 7, 201, 202, 0, "street 7"},
    {ShareFamily::Street, 8, 203, 204, 0, "street 8"},
    {ShareFamily::Street, 9, 205, 206, 0, "street 9"},
    {ShareFamily::Street, 10, 207, 208, 0, "street 10"},
    {ShareFamily::Street, 11, 209, 210, 0, "street 11"},
    {ShareFamily::Street, 12, 211, 212, 0, "street 12"},
    {ShareFamily::Parity, 0, 152, 153, 9, "even"},
    {ShareFamily::Parity, 1, 154, 155, 10, "odd"},
    {ShareFamily::Color, 0, 156, 157, 11, "red"},
    {ShareFamily::Color, 1, 158, 159, 12, "black"},
}};

// The groups of one family, a contiguous run of kGroupDisplays.
struct GroupRun {
  int first;
  int count;
};

constexpr GroupRun GroupsOf(ShareFamily family) {
  int first = -1;
  int count = 0;
  for (int i = 0; i < static_cast<int>(kGroupDisplays.size()); ++i) {
    if (kGroupDisplays[i].family != family) continue;
    if (first < 0) first = i;
    ++count;
  }
  return {first, count};
}

// A run of count and share labels in label order: Label<first> and Label<first + 1> for one
// group, the next two labels for the next, and so on. The zero display writes them this way.
struct LabelPairs {
  LabelNumber first;
  int pairs;
};

// The run the groups of these families fill; TilesRun checks that they fill it exactly.
constexpr LabelPairs PairsOf(std::initializer_list<ShareFamily> families) {
  LabelPairs run{LabelNumber{kGroupDisplays[0].countLabel.value}, 0};
  for (const GroupDisplay& group : kGroupDisplays) {
    if (std::ranges::find(families, group.family) == families.end()) continue;
    if (run.pairs == 0 || group.countLabel < run.first) run.first = group.countLabel;
    ++run.pairs;
  }
  return run;
}

constexpr bool TilesRun(const LabelPairs& run, std::initializer_list<ShareFamily> families) {
  for (const GroupDisplay& group : kGroupDisplays) {
    if (std::ranges::find(families, group.family) == families.end()) continue;
    const int offset = group.countLabel.value - run.first.value;
    if (offset % 2 != 0 || offset / 2 >= run.pairs || group.shareLabel != group.countLabel + 1) {
      return false;
    }
  }
  return true;
}

inline constexpr LabelPairs kSectorPairs = PairsOf({ShareFamily::Sector});  // Label213..Label220
inline constexpr LabelPairs kStreetPairs = PairsOf({ShareFamily::Street});  // Label189..Label212
// Even, odd, red, black, the dozens, the halves and the columns: Label152..Label175.
inline constexpr LabelPairs kBlockPairs =
    PairsOf({ShareFamily::Parity, ShareFamily::Color, ShareFamily::Dozen, ShareFamily::Half,
             ShareFamily::Column});
static_assert(TilesRun(kSectorPairs, {ShareFamily::Sector}));
static_assert(TilesRun(kStreetPairs, {ShareFamily::Street}));
static_assert(TilesRun(kBlockPairs, {ShareFamily::Parity, ShareFamily::Color, ShareFamily::Dozen,
                                     ShareFamily::Half, ShareFamily::Column}));

// The group display showing bar b (1..16).
constexpr const GroupDisplay& GroupOfBar(BarNumber bar) {
  for (const GroupDisplay& group : kGroupDisplays) {
    if (group.bar == bar) return group;
  }
  return kGroupDisplays[0];
}

}  // namespace vexilo
