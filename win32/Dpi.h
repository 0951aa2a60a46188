#pragma once

#include <windows.h>

namespace vexilo {

// The window went to a monitor of other dots per inch, or the user changed them: the new dpi
// in the low word of wParam, the rectangle the system suggests in lParam. (The platform headers
// name it only for programs built for Windows 7 and later.)
inline constexpr UINT kWmDpiChanged = 0x02E0;

// The dots per inch of the monitor the window is on, where the system can say (Windows 10
// from 1607 on); on older systems their one dpi.
UINT WindowDpi(HWND window);

// What a frame of the style adds round a client area at dpi: left and top are negative.
RECT FrameAt(DWORD style, DWORD exStyle, UINT dpi);

// The monitor's whole screen and its work area, the screen less the taskbar.
MONITORINFO MonitorOf(HMONITOR monitor);

}  // namespace vexilo
