#pragma once

#include <optional>

#include "ControlId.h"
#include "Navigation.h"

namespace vexilo {

// The keys the window answers itself, whatever the toolkit calls them.
enum class Key : unsigned char { Tab, Right, Down, Left, Up, Space, Enter, Other };

// Modifier keys held down with a key.
struct KeyModifiers {
  bool shift = false;
  bool control = false;
  bool alt = false;
  bool meta = false;
};

// What the window does with a key before the focused control sees it.
struct KeyAction {
  enum class Kind : unsigned char {
    Pass,   // the focused control handles the key itself
    Focus,  // the focus moves to control
    Click,  // control, the active button, is clicked
  };
  Kind kind = Kind::Pass;
  ControlIndex control;
  FocusMove move = FocusMove::Tab;  // Focus: how it moves
  bool forward = true;              // Focus: which way

  constexpr bool operator==(const KeyAction&) const = default;
};

// The answer to key pressed while focus, if any control, has the focus. Tab and Shift+Tab move
// along the tab stops, Right and Down forward and Left and Up backward along every tab
// position, Enter clicks the active button. With Ctrl, Alt or Meta held, and for Space (the
// focused button presses itself, on the key going down, and clicks on its release), the key is
// passed on.
KeyAction ActionOfKey(Key key, KeyModifiers modifiers, std::optional<ControlIndex> focus);

// Only a button that holds the focus is the active one: a number button then shows its dark
// frame, a push button the default-button frame, and Enter clicks it. A bar with the focus
// leaves every button inactive.
bool IsActiveButton(ControlIndex control, std::optional<ControlIndex> focus);

}  // namespace vexilo
