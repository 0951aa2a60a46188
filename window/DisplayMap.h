#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/PocketTable.h"
#include "engine/ShareFamily.h"

namespace vexilo {

// Which labels and bar show each group's count and share. Numbers are control numbers:
// Label<countLabel>, Label<shareLabel>, ProgressBar<bar>.

inline constexpr int kSpinCountLabel = 222;
inline constexpr int kFirstStripLabel = 1;          // Label1..Label20: strip slots 1..20
inline constexpr int kFirstNumberCountLabel = 74;   // Label(74 + n): count of n
inline constexpr int kFirstNumberShareLabel = 111;  // Label(111 + n): share of n
inline constexpr int kBars = 16;

struct GroupDisplay {
  ShareFamily family;
  std::int8_t selector;
  std::int16_t countLabel;
  std::int16_t shareLabel;
  std::int8_t bar;  // 0: the group has no bar (streets)
  std::string_view name;
};

// The families in the order the window refreshes them after a spin.
inline constexpr std::array<ShareFamily, 7> kRefreshFamilies = {
    sfColumn, sfDozen, sfHalf, sfSector, sfStreet, sfParity, sfColor};

// Every group, family by family in refresh order, selectors ascending.
inline constexpr std::array<GroupDisplay, 28> kGroupDisplays = {{
    {sfColumn, 0, 170, 171, 6, "column 1"},
    {sfColumn, 1, 172, 173, 7, "column 2"},
    {sfColumn, 2, 174, 175, 8, "column 3"},
    {sfDozen, 0, 160, 161, 1, "dozen 1"},
    {sfDozen, 1, 162, 163, 2, "dozen 2"},
    {sfDozen, 2, 164, 165, 3, "dozen 3"},
    {sfHalf, 0, 166, 167, 4, "1-18"},
    {sfHalf, 1, 168, 169, 5, "19-36"},
    // The sector labels are not numbered in sector order.
    {sfSector, 1, 213, 214, 13, "sector 1"},
    {sfSector, 2, 217, 218, 14, "sector 2"},
    {sfSector, 3, 215, 216, 15, "sector 3"},
    {sfSector, 4, 219, 220, 16, "sector 4"},
    {sfStreet, 1, 189, 190, 0, "street 1"},
    {sfStreet, 2, 191, 192, 0, "street 2"},
    {sfStreet, 3, 193, 194, 0, "street 3"},
    {sfStreet, 4, 195, 196, 0, "street 4"},
    {sfStreet, 5, 197, 198, 0, "street 5"},
    {sfStreet, 6, 199, 200, 0, "street 6"},
    {sfStreet, 7, 201, 202, 0, "street 7"},
    {sfStreet, 8, 203, 204, 0, "street 8"},
    {sfStreet, 9, 205, 206, 0, "street 9"},
    {sfStreet, 10, 207, 208, 0, "street 10"},
    {sfStreet, 11, 209, 210, 0, "street 11"},
    {sfStreet, 12, 211, 212, 0, "street 12"},
    {sfParity, 0, 152, 153, 9, "even"},
    {sfParity, 1, 154, 155, 10, "odd"},
    {sfColor, 0, 156, 157, 11, "red"},
    {sfColor, 1, 158, 159, 12, "black"},
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

// The group display showing bar b (1..16).
constexpr const GroupDisplay& GroupOfBar(int bar) {
  for (const GroupDisplay& group : kGroupDisplays) {
    if (group.bar == bar) return group;
  }
  return kGroupDisplays[0];
}

}  // namespace vexilo
