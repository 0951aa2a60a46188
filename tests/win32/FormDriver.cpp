#include "FormDriver.h"

#include <commctrl.h>

#include <stdexcept>

#include "export/Utf16.h"
#include "window/FormTable.h"

namespace vexilo::test {
namespace {

void InitControls() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
}

// Holds modifier keys down in this thread's keyboard state for one key press.
class HeldKeys {
 public:
  HeldKeys(bool shift, bool control) {
    GetKeyboardState(saved_);
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = control ? 0x80 : 0;
    state[VK_MENU] = 0;
    SetKeyboardState(state);
  }
  HeldKeys(const HeldKeys&) = delete;
  HeldKeys& operator=(const HeldKeys&) = delete;
  ~HeldKeys() { SetKeyboardState(saved_); }

 private:
  BYTE saved_[256];
};

}  // namespace

FormDriver::FormDriver() {
  InitControls();
  form_ = std::make_unique<TForm1>(GetModuleHandleW(nullptr));
  form_->Show(SW_SHOWNORMAL);
  SetForegroundWindow(form_->Handle());
  Pump();
}

void FormDriver::Pump() {
  MSG message;
  for (int round = 0; round < 3; ++round) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;
      if (form_->PreTranslateMessage(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
}

std::string FormDriver::Text(std::string_view name) const {
  const HWND control = Window(name);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return ToUtf8(text);
}

int FormDriver::BarPosition(std::string_view name) const {
  return static_cast<int>(SendMessageW(Window(name), PBM_GETPOS, 0, 0));
}

RECT FormDriver::Box(std::string_view name) const {
  RECT box;
  GetWindowRect(Window(name), &box);
  MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&box), 2);
  return box;
}

std::string FormDriver::Focused() const {
  const HWND focus = GetFocus();
  for (const Control& row : FormControls()) {
    if (form_->ControlWindow(row.name.view()) == focus) return std::string(row.name.view());
  }
  return {};
}

void FormDriver::Click(std::string_view name) {
  SendMessageW(Window(name), BM_CLICK, 0, 0);
  Pump();
}

void FormDriver::Spin(std::initializer_list<int> numbers) {
  for (const int n : numbers) Click("ColorBtn" + std::to_string(n + 1));
}

void FormDriver::SpinMany(int count, int number) {
  const HWND button = Window("ColorBtn" + std::to_string(number + 1));
  for (int i = 0; i < count; ++i) SendMessageW(button, BM_CLICK, 0, 0);
  Pump();
}

void FormDriver::PressKey(UINT key, bool shift, bool control) {
  const HeldKeys held(shift, control);
  const HWND target = GetFocus() != nullptr ? GetFocus() : Window();
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, 0xC0000001);
  Pump();
}

Bitmap FormDriver::Capture() {
  Pump();
  return Bitmap::CaptureClient(Window());
}

}  // namespace vexilo::test
