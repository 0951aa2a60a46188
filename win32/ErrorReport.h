#pragma once

#include <windows.h>

#include <string_view>

#include "window/Guard.h"

namespace vexilo {

// The general error report: a message box owned by the window, with the failure's text and the
// error icon. The window steps down from topmost while the box is open.
void ReportError(HWND owner, std::string_view text) noexcept;

// Runs a handler; a C++ exception escaping it goes to the error report and the caller goes on.
// Nothing may unwind through the platform's frames, so every window procedure runs its handlers
// through this.
template <class Handler>
bool RunGuarded(HWND owner, Handler&& handler) noexcept {
  return RunReported(handler, [owner](std::string_view text) { ReportError(owner, text); });
}

}  // namespace vexilo
