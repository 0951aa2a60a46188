#pragma once

#include <algorithm>

#include "window/Canvas.h"

namespace vexilo {

// Where a window's outer top-left corner goes.
struct Origin {
  int left;
  int top;

  constexpr bool operator==(const Origin&) const = default;
};

// The window opens centred on the screen with its frame: the outer corner lies
// (screen - outer size) / 2 from the screen's corner on each axis, in whole pixels, and never
// left of or above it, so that a window larger than the screen keeps its title bar in reach.
constexpr Origin CentredOrigin(const Rect& screen, int outerWidth, int outerHeight) {
  const auto offset = [](int room) { return room > 0 ? room / 2 : 0; };
  return {screen.left + offset(screen.right - screen.left - outerWidth),
          screen.top + offset(screen.bottom - screen.top - outerHeight)};
}

// The window's corner moved, if it must, into the area, as far as the window fits there: a
// window larger than the area keeps its title bar in reach.
constexpr Origin MovedInto(Origin at, const Rect& area, int outerWidth, int outerHeight) {
  const auto into = [](int corner, int low, int high, int size) {
    return std::max(low, std::min(corner, high - size));
  };
  return {into(at.left, area.left, area.right, outerWidth),
          into(at.top, area.top, area.bottom, outerHeight)};
}

// Where the screen's work area leaves out a taskbar, the window is centred on the screen and
// then moved into the work area where it must: a board scaled to fit the work area keeps its
// bottom rows above the taskbar.
constexpr Origin CentredOrigin(const Rect& screen, const Rect& workArea, int outerWidth,
                               int outerHeight) {
  return MovedInto(CentredOrigin(screen, outerWidth, outerHeight), workArea, outerWidth,
                   outerHeight);
}

}  // namespace vexilo
