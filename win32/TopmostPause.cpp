#include "win32/TopmostPause.h"

namespace vexilo {
namespace {

// SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE: the placement changes, nothing else.
constexpr UINT kPlacementOnly = 0x13;

bool IsTopmost(HWND window) {
  return window != nullptr && IsWindow(window) &&
         (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

}  // namespace

TopmostPause::TopmostPause(HWND window) : window_(window), paused_(IsTopmost(window)) {
  if (paused_) SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, kPlacementOnly);
}

TopmostPause::~TopmostPause() {
  if (paused_ && IsWindow(window_)) SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, kPlacementOnly);
}

}  // namespace vexilo
