#pragma once

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

}  // namespace vexilo
