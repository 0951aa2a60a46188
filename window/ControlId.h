#pragma once

#include <compare>

namespace vexilo {

// A number that stands for one kind of thing only: each Tag makes a type of its own, so a
// control's row in the table cannot be passed where a design label number is wanted, nor the
// other way round.
template <class Tag>
struct ControlId {
  int value = -1;

  constexpr ControlId() = default;
  constexpr explicit ControlId(int number) : value(number) {}
  constexpr auto operator<=>(const ControlId&) const = default;
  // The design numbers its displays in runs: Label(74 + n) is the count of n.
  constexpr ControlId operator+(int step) const { return ControlId(value + step); }
};

// A control's row in FormControls().
using ControlIndex = ControlId<struct ControlIndexTag>;
// The n of the design's Label<n>, 1..223.
using LabelNumber = ControlId<struct LabelNumberTag>;
// The n of the design's ProgressBar<n>, 1..16; 0 for a group without a bar.
using BarNumber = ControlId<struct BarNumberTag>;

}  // namespace vexilo
