#include "window/Navigation.h"

#include <algorithm>
#include <span>

#include "window/FormTable.h"

namespace vexilo {
namespace {

// The control holding tab position `position`, or -1. A key press is rare enough to scan.
int ControlAtTabPosition(std::span<const Control> form, int position) {
  for (int i = 0; i < static_cast<int>(form.size()); ++i) {
    if (form[i].tabOrder == position) return i;
  }
  return -1;
}

int LastTabPosition(std::span<const Control> form) {
  int last = -1;
  for (const Control& control : form) last = std::max<int>(last, control.tabOrder);
  return last;
}

}  // namespace

int FirstFocus() {
  return FindControl("ColorBtn1");
}

int NextFocus(int current, bool forward, FocusMove move) {
  const std::span<const Control> form = FormControls();
  if (current < 0 || current >= static_cast<int>(form.size()) || form[current].tabOrder < 0) {
    return FirstFocus();
  }
  const int positions = LastTabPosition(form) + 1;
  const int start = form[current].tabOrder;
  for (int step = 1; step <= positions; ++step) {
    const int position = ((start + (forward ? step : -step)) % positions + positions) % positions;
    const int candidate = ControlAtTabPosition(form, position);
    if (candidate >= 0 && (move == FocusMove::Arrow || form[candidate].tabStop)) return candidate;
  }
  return current;
}

}  // namespace vexilo
