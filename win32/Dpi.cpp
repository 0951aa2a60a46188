#include "win32/Dpi.h"

#include "window/Scale.h"

namespace vexilo {
namespace {

// The per-monitor calls are looked up at run time: Windows 7 and 8 lack them, and a program
// that imported them would not start there.
using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

template <class Call>
Call User32Call(const char* name) {
  const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
  return reinterpret_cast<Call>(reinterpret_cast<void*>(found));
}

}  // namespace

UINT WindowDpi(HWND window) {
  static const auto forWindow = User32Call<GetDpiForWindowCall>("GetDpiForWindow");
  if (forWindow != nullptr) {
    const UINT dpi = forWindow(window);
    if (dpi != 0) return dpi;
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : static_cast<UINT>(kDesignDpi);
}

RECT FrameAt(DWORD style, DWORD exStyle, UINT dpi) {
  static const auto forDpi = User32Call<AdjustWindowRectExForDpiCall>("AdjustWindowRectExForDpi");
  RECT frame{0, 0, 0, 0};
  if (forDpi == nullptr || !forDpi(&frame, style, FALSE, exStyle, dpi)) {
    frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);  // the system dpi's frame
  }
  return frame;
}

MONITORINFO MonitorOf(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) {
    info.rcMonitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  }
  return info;
}

}  // namespace vexilo
