#pragma once

#include <algorithm>

#include "window/FormTable.h"

namespace vexilo {

// The design's pixels are pixels of a 96-dpi screen.
inline constexpr int kDesignDpi = 96;

struct Size {
  int width;
  int height;

  constexpr bool operator==(const Size&) const = default;
};

// The scale of a screen of so many dots per inch: 1.25 at 120, 2 at 192.
constexpr double ScaleOfDpi(int dpi) {
  return static_cast<double>(dpi) / kDesignDpi;
}

// The scale the board is drawn at: the screen's own (its dpi / 96, or the desktop's device
// pixel ratio), lowered just enough for window, the size that grows with the scale, to fit
// available, the room it may take, and never below 1: a board smaller than its design would
// squeeze its texts below the heights they are drawn at.
constexpr double FittingScale(double screenScale, Size available, Size window) {
  if (window.width <= 0 || window.height <= 0) return screenScale;
  const double fit = std::min(static_cast<double>(available.width) / window.width,
                              static_cast<double>(available.height) / window.height);
  return std::max(1.0, std::min(screenScale, fit));
}

// A design length at the scale, rounded half up: the one rounding every scaled length of the
// board goes through, so that at scale 1 each is its design value.
constexpr int Scaled(int length, double scale) {
  const double exact = length * scale + 0.5;
  const int truncated = static_cast<int>(exact);
  return truncated > exact ? truncated - 1 : truncated;  // floor, for a negative length too
}

// The width of a line the design draws 1 pixel wide: round(scale).
constexpr int RuleWidth(double scale) {
  return Scaled(1, scale);
}

// The client area at the scale.
constexpr Size ScaledClient(double scale) {
  return {Scaled(kClientWidth, scale), Scaled(kClientHeight, scale)};
}

// A control's row at the scale. Its edges are scaled, not its width and height, so that
// controls that meet in the design still meet; its font's height is scaled with it.
constexpr Control ScaledControl(const Control& row, double scale) {
  Control scaled = row;
  const auto edge = [scale](int design) {
    return static_cast<std::int16_t>(Scaled(design, scale));
  };
  scaled.left = edge(row.left);
  scaled.top = edge(row.top);
  scaled.width = static_cast<std::int16_t>(edge(row.left + row.width) - scaled.left);
  scaled.height = static_cast<std::int16_t>(edge(row.top + row.height) - scaled.top);
  scaled.font.height = Scaled(row.font.height, scale);
  return scaled;
}

}  // namespace vexilo
