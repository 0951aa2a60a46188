#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/Color.h"

namespace vexilo {

// The displays of the window, keyed by the control's index in FormControls(). A front end maps
// each call onto its widget; the command handlers never see a toolkit type.
class View {
 public:
  virtual ~View() = default;
  // A label's text; the label re-sizes about its anchored edge and repaints.
  virtual void SetText(int control, std::string_view text) = 0;
  // A label's background colour (may be a system colour such as clBtnFace).
  virtual void SetColor(int control, TColor color) = 0;
  // A bar's position, 0..100.
  virtual void SetPosition(int control, int position) = 0;
};

enum class MessageKind : unsigned char { Error, Warning, Information };

// What the commands ask of the desktop: the regional decimal separator, the save dialog, and
// message boxes. Dialogs are modal.
class Shell {
 public:
  virtual ~Shell() = default;
  // The decimal separator of the user's regional settings now, "." when they give none.
  virtual std::string DecimalSeparator() = 0;
  // The save dialog, offering lastName; the confirmed full path, or nothing on cancel. The
  // dialog appends ".CSV" to a name typed without an extension and asks before replacing an
  // existing file or creating a new one. Both names are UTF-8 text; lastName may be empty.
  virtual std::optional<std::string> AskSaveFileName(std::string_view lastName) = 0;
  virtual void ShowMessage(MessageKind kind, std::string_view text) = 0;
};

}  // namespace vexilo
