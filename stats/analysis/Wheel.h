#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/PocketTable.h"

namespace vexilo::stats {

namespace detail {

// 0, then the four sector captions in order: the board's own lists, read round the wheel.
constexpr std::array<std::int8_t, kPockets> MakeWheelOrder() {
  std::array<std::int8_t, kPockets> order{};
  int at = 1;
  for (const std::string_view caption : kSectorCaptions) {
    int value = 0;
    for (const char ch : caption) {
      if (ch == ',') {
        order[at++] = static_cast<std::int8_t>(value);
        value = 0;
      } else {
        value = value * 10 + (ch - '0');
      }
    }
    order[at++] = static_cast<std::int8_t>(value);
  }
  return order;
}

constexpr std::array<std::int8_t, kPockets> InvertOrder(
    const std::array<std::int8_t, kPockets>& order) {
  std::array<std::int8_t, kPockets> place{};
  for (int i = 0; i < kPockets; ++i) place[order[i]] = static_cast<std::int8_t>(i);
  return place;
}

}  // namespace detail

// The pockets in wheel order, one direction round the wheel, starting at 0.
inline constexpr std::array<std::int8_t, kPockets> kWheelOrder = detail::MakeWheelOrder();
// The place of each number in kWheelOrder.
inline constexpr std::array<std::int8_t, kPockets> kWheelPlace = detail::InvertOrder(kWheelOrder);

// Counts by number put in wheel order: place i holds the count of kWheelOrder[i].
constexpr std::array<std::int64_t, kPockets> InWheelOrder(
    const std::array<std::int64_t, kPockets>& byNumber) {
  std::array<std::int64_t, kPockets> round{};
  for (int place = 0; place < kPockets; ++place) round[place] = byNumber[kWheelOrder[place]];
  return round;
}

// The numbers of the `length` neighbouring pockets from place `start` on, in wheel order.
inline std::vector<int> ArcPockets(int start, int length) {
  std::vector<int> pockets;
  for (int k = 0; k < length; ++k) pockets.push_back(kWheelOrder[(start + k) % kPockets]);
  return pockets;
}

// Pockets from a to b going round the wheel in kWheelOrder's direction, 0..36.
constexpr int WheelDistance(int a, int b) {
  return (kWheelPlace[b] - kWheelPlace[a] + kPockets) % kPockets;
}

}  // namespace vexilo::stats
