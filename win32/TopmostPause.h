#pragma once

#include <windows.h>

namespace vexilo {

// While one of the window's own modal dialogs is open, the topmost window steps down so that
// it does not cover the dialog; it takes its place back when the dialog closes.
class TopmostPause {
 public:
  explicit TopmostPause(HWND window);
  TopmostPause(const TopmostPause&) = delete;
  TopmostPause& operator=(const TopmostPause&) = delete;
  ~TopmostPause();

 private:
  HWND window_;
  bool paused_;
};

}  // namespace vexilo
