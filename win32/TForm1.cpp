#include "win32/TForm1.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

#include "export/Utf16.h"
#include "win32/ErrorReport.h"
#include "window/Centring.h"
#include "window/FormTable.h"

namespace vexilo {
namespace {

// SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE: only the placement in the z-order changes.
constexpr UINT kPlacementOnly = 0x13;
constexpr DWORD kCommandButtonStyle =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | BS_PUSHBUTTON | BS_NOTIFY;
constexpr DWORD kBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;  // segmented: no PBS_SMOOTH

HMENU IdOf(int index) {
  return reinterpret_cast<HMENU>(static_cast<INT_PTR>(index + TForm1::kFirstId));
}

bool KeyDown(int key) {
  return GetKeyState(key) < 0;
}

}  // namespace

TForm1::TForm1(HINSTANCE instance) : instance_(instance), board_(*this, shell_) {
  RegisterClasses(instance_);
  const SIZE outer = OuterSize();
  hwnd_ =
      CreateWindowExW(kExStyle, kClassName, ToUtf16(kFormCaption).c_str(), kStyle, CW_USEDEFAULT,
                      CW_USEDEFAULT, outer.cx, outer.cy, nullptr, nullptr, instance_, this);
  if (hwnd_ == nullptr) throw std::runtime_error("The main window could not be created.");
  shell_.SetOwner(hwnd_);
  CreateControls();
  FormCreate();
}

TForm1::~TForm1() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void TForm1::RegisterClasses(HINSTANCE instance) {
  TLabel::Register(instance);
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = &TForm1::WindowProc;
  cls.hInstance = instance;
  cls.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconId));
  cls.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  cls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  cls.lpszClassName = kClassName;
  if (RegisterClassExW(&cls) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw std::runtime_error("The main window class could not be registered.");
  }
}

// The client area is what the layout needs; the frame adds what this system's frame takes.
SIZE TForm1::OuterSize() const {
  RECT r{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
  return {r.right - r.left, r.bottom - r.top};
}

void TForm1::CreateControls() {
  const std::span<const Control> form = FormControls();
  handles_.assign(form.size(), nullptr);
  labels_.resize(form.size());
  colorBtns_.resize(form.size());
  for (int i = 0; i < static_cast<int>(form.size()); ++i) CreateControl(i, form[i]);
  // Buttons and bars lie above the labels wherever they overlap; among the labels a later one
  // lies above an earlier one, so a value stays readable where a wide caption reaches it.
  for (int i = static_cast<int>(form.size()) - 1; i >= 0; --i) {
    if (labels_[i]) SetWindowPos(handles_[i], HWND_BOTTOM, 0, 0, 0, 0, kPlacementOnly);
  }
}

void TForm1::CreateControl(int index, const Control& row) {
  switch (row.kind) {
    case ckLabel:
      labels_[index] = std::make_unique<TLabel>(hwnd_, row, index + kFirstId, fonts_.Get(row.font));
      handles_[index] = labels_[index]->Handle();
      return;
    case ckColorBtn:
      colorBtns_[index] =
          std::make_unique<TColorBtn>(hwnd_, row, index + kFirstId, fonts_.Get(row.font));
      handles_[index] = colorBtns_[index]->Handle();
      return;
    case ckProgressBar:
      // The bar's window text is never drawn; it names the bar for screen readers.
      handles_[index] = CreateWindowExW(
          0, PROGRESS_CLASSW, ToUtf16(row.accessibleName.view()).c_str(), kBarStyle, row.left,
          row.top, row.width, row.height, hwnd_, IdOf(index), instance_, nullptr);
      if (handles_[index] == nullptr)
        throw std::runtime_error("A progress bar could not be created.");
      SendMessageW(handles_[index], PBM_SETRANGE32, 0, 100);
      return;
    case ckButton:
      handles_[index] = CreateWindowExW(0, L"BUTTON", ToUtf16(row.text.view()).c_str(),
                                        kCommandButtonStyle, row.left, row.top, row.width,
                                        row.height, hwnd_, IdOf(index), instance_, nullptr);
      if (handles_[index] == nullptr) throw std::runtime_error("A button could not be created.");
      SendMessageW(handles_[index], WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(row.font)),
                   FALSE);
      return;
  }
}

void TForm1::FormCreate() {
  RECT r;
  GetWindowRect(hwnd_, &r);
  const Origin origin =
      CentredOrigin({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
                    r.right - r.left, r.bottom - r.top);
  SetWindowPos(hwnd_, nullptr, origin.left, origin.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, kPlacementOnly);  // a refusal is no error
  board_.FormCreate();
}

void TForm1::Show(int showCommand) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
}

HWND TForm1::ControlWindow(int index) const {
  CheckIndex(index);
  return handles_[index];
}

HWND TForm1::ControlWindow(std::string_view name) const {
  const int index = FindControl(name);
  if (index < 0)
    throw std::out_of_range("The window has no control named " + std::string(name) + ".");
  return handles_[index];
}

TColorBtn* TForm1::ColorButton(int index) const {
  CheckIndex(index);
  return colorBtns_[index].get();
}

void TForm1::CheckIndex(int index) const {
  if (index < 0 || index >= static_cast<int>(handles_.size())) {
    throw std::out_of_range("The window has no control " + std::to_string(index) + ".");
  }
}

int TForm1::IndexOf(HWND child) const {
  if (child == nullptr || GetParent(child) != hwnd_) return -1;
  const int index = GetDlgCtrlID(child) - kFirstId;
  return index >= 0 && index < static_cast<int>(handles_.size()) && handles_[index] == child ? index
                                                                                             : -1;
}

void TForm1::SetText(int control, std::string_view text) {
  CheckIndex(control);
  if (labels_[control]) {
    labels_[control]->SetText(text);
  } else if (colorBtns_[control]) {
    colorBtns_[control]->SetCaption(text);
  } else {
    SetWindowTextW(handles_[control], ToUtf16(text).c_str());
  }
}

void TForm1::SetColor(int control, TColor color) {
  CheckIndex(control);
  if (labels_[control]) labels_[control]->SetColor(color);
  if (colorBtns_[control]) colorBtns_[control]->SetColor(color);
}

void TForm1::SetPosition(int control, int position) {
  CheckIndex(control);
  SendMessageW(handles_[control], PBM_SETPOS, static_cast<WPARAM>(std::clamp(position, 0, 100)), 0);
}

LRESULT CALLBACK TForm1::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<TForm1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TForm1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  LRESULT result = 0;  // what a failed handler answers
  RunGuarded(hwnd, [&] { result = self->HandleMessage(message, wParam, lParam); });
  return result;
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(wParam);
      return 0;
    case WM_DRAWITEM:
      return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_MEASUREITEM:
      return OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_ACTIVATE:
      OnActivate(wParam);
      return 0;
    case WM_SETFOCUS:
      OnSetFocus();
      return 0;
    case WM_SETTINGCHANGE:
      OnSettingChange(lParam);
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_NCDESTROY: {
      const HWND hwnd = std::exchange(hwnd_, nullptr);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void TForm1::OnCommand(WPARAM wParam) {
  const int index = LOWORD(wParam) - kFirstId;
  if (index < 0 || index >= static_cast<int>(handles_.size())) return;
  switch (HIWORD(wParam)) {
    case BN_CLICKED:
      Click(index);
      return;
    case BN_DOUBLECLICKED:
      // A standard push button clicks on each press; of a quick double press on a colour
      // button only the first one clicks.
      if (FormControls()[index].kind == ckButton) Click(index);
      return;
    case BN_SETFOCUS:
      FocusChanged();
      return;
    default:
      return;
  }
}

void TForm1::Click(int index) {
  const Control& row = FormControls()[index];
  switch (row.command) {
    case cmSpin:
      board_.SpinClick(row.number);
      return;
    case cmBack:
      board_.BackClick();
      return;
    case cmReset:
      board_.ResetClick();
      return;
    case cmDataSave:
      board_.DataSaveClick();
      return;
    case cmNone:
      return;
  }
}

LRESULT TForm1::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_BUTTON) return FALSE;
  const int index = static_cast<int>(item.CtlID) - kFirstId;
  if (index < 0 || index >= static_cast<int>(handles_.size()) || !colorBtns_[index]) return FALSE;
  colorBtns_[index]->Draw(item, fonts_);
  return TRUE;
}

LRESULT TForm1::OnMeasureItem(MEASUREITEMSTRUCT& item) {
  if (item.CtlType != ODT_BUTTON) return FALSE;
  const int index = static_cast<int>(item.CtlID) - kFirstId;
  if (index < 0 || index >= static_cast<int>(handles_.size()) || !colorBtns_[index]) return FALSE;
  colorBtns_[index]->Measure(item);
  return TRUE;
}

// The focus goes back where it was when the window is activated again; the first time, to the
// first control in tab order.
void TForm1::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    const HWND focus = GetFocus();
    if (IndexOf(focus) >= 0) lastFocus_ = focus;
    return;
  }
  if (HIWORD(wParam) != 0) return;  // minimised
  OnSetFocus();
}

void TForm1::OnSetFocus() {
  SetFocus(lastFocus_ != nullptr ? lastFocus_ : handles_[FirstFocus()]);
  FocusChanged();
}

void TForm1::OnSettingChange(LPARAM lParam) {
  const auto* area = reinterpret_cast<const wchar_t*>(lParam);
  if (area != nullptr && lstrcmpiW(area, L"intl") == 0) shell_.ReadDecimalSeparator();
}

void TForm1::OnGetMinMaxInfo(MINMAXINFO& info) const {
  const SIZE outer = OuterSize();
  info.ptMinTrackSize = {outer.cx, outer.cy};
  info.ptMaxTrackSize = {outer.cx, outer.cy};
}

void TForm1::OnDestroy() {
  PostQuitMessage(0);
}

bool TForm1::PreTranslateMessage(const MSG& message) {
  if (message.message != WM_KEYDOWN || hwnd_ == nullptr) return false;
  if (message.hwnd != hwnd_ && GetParent(message.hwnd) != hwnd_) return false;
  const bool shift = KeyDown(VK_SHIFT);
  const bool control = KeyDown(VK_CONTROL);
  const bool alt = KeyDown(VK_MENU);
  switch (message.wParam) {
    case VK_TAB:
      if (control || alt) return false;
      MoveFocus(!shift, fmTab);
      return true;
    case VK_RIGHT:
    case VK_DOWN:
      MoveFocus(true, fmArrow);
      return true;
    case VK_LEFT:
    case VK_UP:
      MoveFocus(false, fmArrow);
      return true;
    case VK_RETURN:
      if (shift || control || alt) return false;
      ClickFocused();
      return true;
    default:
      return false;
  }
}

void TForm1::MoveFocus(bool forward, FocusMove move) {
  const int current = IndexOf(GetFocus());
  const int next = current < 0 ? FirstFocus() : NextFocus(current, forward, move);
  SetFocus(handles_[next]);
  FocusChanged();
}

// Enter clicks the active button: the focused colour button or push button. With a bar
// focused there is none. The click goes through the window procedure like any other.
void TForm1::ClickFocused() {
  const int index = IndexOf(GetFocus());
  if (index < 0) return;
  const bool active = colorBtns_[index] ? colorBtns_[index]->State().Active()
                                        : FormControls()[index].kind == ckButton;
  if (!active) return;
  PostMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(index + kFirstId, BN_CLICKED),
               reinterpret_cast<LPARAM>(handles_[index]));
}

// The button that has the focus is the active one; every other is not. The standard push
// buttons show it as the default-button frame, the colour buttons as their dark frame.
void TForm1::FocusChanged() {
  const HWND focus = GetFocus();
  if (IndexOf(focus) >= 0) lastFocus_ = focus;
  const std::span<const Control> form = FormControls();
  for (int i = 0; i < static_cast<int>(form.size()); ++i) {
    const bool active = handles_[i] == focus;
    if (colorBtns_[i]) colorBtns_[i]->SetActive(active);
    if (form[i].kind != ckButton) continue;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(handles_[i], GWL_STYLE));
    const DWORD type = active ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if ((style & BS_TYPEMASK) != type) {
      SendMessageW(handles_[i], BM_SETSTYLE, (style & 0xFFFF & ~BS_TYPEMASK) | type, TRUE);
    }
  }
}

}  // namespace vexilo
