#include "window/Keyboard.h"

#include <algorithm>
#include <array>

#include "window/FormTable.h"

namespace vexilo {
namespace {

using Kind = KeyAction::Kind;

struct KeyRule {
  Key key;
  Kind kind;
  FocusMove move;
  bool forward;
};

// Tab's direction turns with Shift; Enter with Shift is no click. Keys not listed are passed.
constexpr std::array<KeyRule, 6> kKeyRules = {{
    {Key::Tab, Kind::Focus, FocusMove::Tab, true},
    {Key::Right, Kind::Focus, FocusMove::Arrow, true},
    {Key::Down, Kind::Focus, FocusMove::Arrow, true},
    {Key::Left, Kind::Focus, FocusMove::Arrow, false},
    {Key::Up, Kind::Focus, FocusMove::Arrow, false},
    {Key::Enter, Kind::Click, FocusMove::Tab, true},
}};

}  // namespace

KeyAction ActionOfKey(Key key, KeyModifiers modifiers, std::optional<ControlIndex> focus) {
  if (modifiers.control || modifiers.alt || modifiers.meta) return {};
  const auto rule = std::ranges::find(kKeyRules, key, &KeyRule::key);
  if (rule == kKeyRules.end()) return {};
  if (rule->kind == Kind::Focus) {
    const bool forward = rule->key == Key::Tab && modifiers.shift ? !rule->forward : rule->forward;
    return {Kind::Focus, NextFocus(focus, forward, rule->move), rule->move, forward};
  }
  if (modifiers.shift || !focus || !IsActiveButton(*focus, focus)) return {};
  return {.kind = Kind::Click, .control = *focus};
}

bool IsActiveButton(ControlIndex control, std::optional<ControlIndex> focus) {
  if (focus != control) return false;
  const ControlKind kind = ControlAt(control).kind;
  return kind == ControlKind::ColorBtn || kind == ControlKind::Button;
}

}  // namespace vexilo
