#include "win32/TopmostPause.h"

#include "win32/Placement.h"

namespace vexilo {
namespace {

bool IsTopmost(HWND window) {
  return window != nullptr && IsWindow(window) &&
         (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

}  // namespace

TopmostPause::TopmostPause(HWND window) : window_(window), paused_(IsTopmost(window)) {
  if (paused_) SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, kZOrderOnly);
}

TopmostPause::~TopmostPause() {
  if (paused_ && IsWindow(window_)) SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, kZOrderOnly);
}

}  // namespace vexilo
