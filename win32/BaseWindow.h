#pragma once

#include <windows.h>

#include <system_error>

#include "win32/ErrorReport.h"

namespace vexilo {

// What every window class of the program shares: its registration and the window procedure
// that hands each message to T::HandleMessage. The object comes in CreateWindowExW's last
// argument and is kept in the window's user data until the window goes. No exception unwinds
// through the platform's frames: a failing handler is reported and its message answered 0.
template <class T>
class BaseWindow {
 public:
  HWND Handle() const { return hwnd_; }

  // Registers T's window class (T::kClassName) once per process, with the arrow cursor.
  static void Register(HINSTANCE instance, HICON icon = nullptr, HBRUSH background = nullptr) {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = &BaseWindow::WindowProc;
    cls.hInstance = instance;
    cls.hIcon = icon;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = background;
    cls.lpszClassName = T::kClassName;
    if (RegisterClassExW(&cls) != 0) return;
    const DWORD error = GetLastError();
    if (error == ERROR_CLASS_ALREADY_EXISTS) return;
    throw std::system_error(static_cast<int>(error), std::system_category(),
                            "A window class could not be registered");
  }

 protected:
  BaseWindow() = default;
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;
  ~BaseWindow() = default;

  HWND hwnd_ = nullptr;

  // Makes this object's window of class T::kClassName. The object goes to the window procedure
  // as lpParam, which is how WM_NCCREATE ties the window to it: every window of the program is
  // made here. A refusal throws with the system's error code, what saying which window.
  void Create(DWORD exStyle, const wchar_t* text, DWORD style, POINT at, SIZE size, HWND parent,
              HMENU menu, HINSTANCE instance, const char* what) {
    const HWND made = CreateWindowExW(exStyle, T::kClassName, text, style, at.x, at.y, size.cx,
                                      size.cy, parent, menu, instance, static_cast<T*>(this));
    if (made == nullptr) {
      throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
    }
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
      return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    LRESULT result = 0;  // what a failed handler answers
    RunGuarded(GetAncestor(hwnd, GA_ROOT),
               [&] { result = self->HandleMessage(message, wParam, lParam); });
    return result;
  }
};

}  // namespace vexilo
