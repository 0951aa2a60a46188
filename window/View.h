#pragma once

#include <string_view>

#include "ControlId.h"
#include "engine/Color.h"

namespace vexilo {

// The displays of the window, keyed by the control's index in FormControls(). A front end maps
// each call onto its widget; the command handlers never see a toolkit type.
class View {
 public:
  virtual ~View() = default;
  // A label's text; the label re-sizes about its anchored edge and repaints.
  virtual void SetText(ControlIndex control, std::string_view text) = 0;
  // A label's background colour (may be a system colour such as clBtnFace).
  virtual void SetColor(ControlIndex control, TColor color) = 0;
  // A bar's position, 0..100.
  virtual void SetPosition(ControlIndex control, int position) = 0;
};

}  // namespace vexilo
