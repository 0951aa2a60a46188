#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "ControlId.h"
#include "FixedString.h"
#include "Font.h"
#include "engine/Color.h"

namespace vexilo {

// The main window as data: every control of the form, one row each. Front ends build their
// widgets by looping over this table; the command handlers find displays by name in it.

inline constexpr std::string_view kFormName = "Form1";
inline constexpr std::string_view kFormCaption = "Vexilo";
inline constexpr int kClientWidth = 834;
inline constexpr int kClientHeight = 711;
inline constexpr int kOuterWidth = 850;
inline constexpr int kOuterHeight = 750;
inline constexpr TColor kFormColor = clBtnFace;
inline constexpr FontKind kFormFont = FontKind::Window;
inline constexpr int kBarMax = 100;  // a bar runs from 0 to this

enum class ControlKind : std::uint8_t { Label, ColorBtn, ProgressBar, Button };

enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

// What a click on the control does.
enum class Command : std::uint8_t { None, Spin, Back, Reset, DataSave };

struct Control {
  FixedString<16> name;  // "Label17", "ColorBtn18", "ProgressBar3", "DATASAVE"
  ControlKind kind;
  std::int16_t left;
  std::int16_t top;
  std::int16_t width;  // design size; labels size themselves to their text
  std::int16_t height;
  FixedString<64> text;  // design text: caption, or "xxxx" / "xx.xx" for displays
  FontSpec font;
  TColor color;          // background colour
  TAlignment alignment;  // labels: which edge stays put when the text changes
  bool display;          // labels the commands write: read out as the value they show
  std::int8_t tabOrder;  // -1 for labels
  bool tabStop;          // buttons yes; bars hold a tab position but are no stops
  Command command;
  std::int8_t number;              // Command::Spin: the number 0..36 the button records
  FixedString<32> accessibleName;  // "count of 17", "share of black", "last result 1", ...
};

// All controls, labels first (Label1..Label223), then ColorBtn1..37, ProgressBar1..16,
// Button1, Button2, DATASAVE.
std::span<const Control> FormControls();

// The row of one control.
const Control& ControlAt(ControlIndex index);

// The named control, or nothing when the form has none of that name.
std::optional<ControlIndex> FindControl(std::string_view name);

// The control named prefix + number, e.g. ("Label", 111); throws std::out_of_range if the
// form has no such control. For tests and front ends that speak of controls by name.
ControlIndex ControlNamed(std::string_view prefix, int number);

// The row of Label<label> or ProgressBar<bar>, straight from the table's order (the commands
// reach their displays this way); throws std::out_of_range for a number the form lacks.
ControlIndex ControlOf(LabelNumber label);
ControlIndex ControlOf(BarNumber bar);

}  // namespace vexilo
