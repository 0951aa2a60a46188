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

ControlIndex FirstFocus() {
  return ControlNamed("ColorBtn", 1);
}

ControlIndex NextFocus(std::optional<ControlIndex> current, bool forward, FocusMove move) {
  const std::span<const Control> form = FormControls();
  if (!current || current->value < 0 || current->value >= static_cast<int>(form.size()) ||
      form[current->value].tabOrder < 0) {
    return FirstFocus();
  }
  const int positions = LastTabPosition(form) + 1;
  const int start = form[current->value].tabOrder;
  for (int step = 1; step <= positions; ++step) {
    const int position = ((start + (forward ? step : -step)) % positions + positions) % positions;
    const int candidate = ControlAtTabPosition(form, position);
    if (candidate >= 0 && (move == FocusMove::Arrow || form[candidate].tabStop)) {
      return ControlIndex{candidate};
    }
  }
  return *current;
}

}  // namespace vexilo
