#pragma once

#include <optional>

#include "ControlId.h"

namespace vexilo {

// Keyboard focus order over FormControls() indices, by tab position. Tab and Shift+Tab visit
// only tab stops (the 37 number buttons, Back, Reset, DataSave); the arrow keys walk the same
// order but also stop at the bars. Both wrap at the ends.
enum class FocusMove : unsigned char { Tab, Arrow };

// The control that gets the focus when the window first becomes active (ColorBtn1).
ControlIndex FirstFocus();
// The next control after current (forward) or before it (backward); the first control when
// nothing, or a control without a tab position, has the focus.
ControlIndex NextFocus(std::optional<ControlIndex> current, bool forward, FocusMove move);

}  // namespace vexilo
