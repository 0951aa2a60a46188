#include "win32/TForm1.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

#include "export/Utf16.h"
#include "win32/Caption.h"
#include "win32/ErrorReport.h"
#include "win32/Placement.h"
#include "window/Centring.h"
#include "window/FormTable.h"
#include "window/Keyboard.h"

namespace vexilo {
namespace {

constexpr DWORD kCommandButtonStyle =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | BS_PUSHBUTTON | BS_NOTIFY;
constexpr DWORD kBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;  // segmented: no PBS_SMOOTH

HMENU IdOf(int index) {
  return reinterpret_cast<HMENU>(static_cast<INT_PTR>(index + TForm1::kFirstId));
}

bool KeyDown(int key) {
  return GetKeyState(key) < 0;
}

struct KeyName {
  WPARAM virtualKey;
  Key key;
};

// The platform's names of the keys the window answers.
constexpr std::array<KeyName, 7> kKeyNames = {{
    {VK_TAB, Key::Tab},
    {VK_RIGHT, Key::Right},
    {VK_DOWN, Key::Down},
    {VK_LEFT, Key::Left},
    {VK_UP, Key::Up},
    {VK_SPACE, Key::Space},
    {VK_RETURN, Key::Enter},
}};

Key KeyOf(WPARAM virtualKey) {
  const auto name = std::ranges::find(kKeyNames, virtualKey, &KeyName::virtualKey);
  return name == kKeyNames.end() ? Key::Other : name->key;
}

}  // namespace

TForm1::TForm1(HINSTANCE instance) : instance_(instance), board_(*this, shell_) {
  RegisterClasses(instance_);
  const SIZE outer = OuterSize();
  Create(kExStyle, kCaptionW.data(), kStyle, {CW_USEDEFAULT, CW_USEDEFAULT}, outer, nullptr,
         nullptr, instance_, "The main window could not be created");
  shell_.SetOwner(hwnd_);
  CreateControls();
  FormCreate();
}

TForm1::~TForm1() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void TForm1::RegisterClasses(HINSTANCE instance) {
  TLabel::Register(instance);
  Register(instance, LoadIconW(instance, MAKEINTRESOURCEW(kIconId)),
           reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
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
    if (labels_[i]) SetWindowPos(handles_[i], HWND_BOTTOM, 0, 0, 0, 0, kZOrderOnly);
  }
}

void TForm1::CreateControl(int index, const Control& row) {
  switch (row.kind) {
    case ControlKind::Label:
      labels_[index] = std::make_unique<TLabel>(hwnd_, row, index + kFirstId, fonts_);
      handles_[index] = labels_[index]->Handle();
      return;
    case ControlKind::ColorBtn:
      colorBtns_[index] =
          std::make_unique<TColorBtn>(hwnd_, row, index + kFirstId, fonts_.Get(row.font));
      handles_[index] = colorBtns_[index]->Handle();
      return;
    case ControlKind::ProgressBar:
      // The bar's window text is never drawn; it names the bar for screen readers.
      handles_[index] = CreateWindowExW(
          0, PROGRESS_CLASSW, ToUtf16(row.accessibleName.view()).c_str(), kBarStyle, row.left,
          row.top, row.width, row.height, hwnd_, IdOf(index), instance_, nullptr);
      if (handles_[index] == nullptr)
        throw std::runtime_error("A progress bar could not be created.");
      SendMessageW(handles_[index], PBM_SETRANGE32, 0, kBarMax);
      return;
    case ControlKind::Button:
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
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, kZOrderOnly);  // a refusal is no error
  board_.FormCreate();
}

void TForm1::Show(int showCommand) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
}

HWND TForm1::ControlWindow(ControlIndex index) const {
  return handles_[Checked(index)];
}

HWND TForm1::ControlWindow(std::string_view name) const {
  const std::optional<ControlIndex> index = FindControl(name);
  if (!index) throw std::out_of_range("The window has no control named " + std::string(name) + ".");
  return handles_[Checked(*index)];
}

TColorBtn* TForm1::ColorButton(ControlIndex index) const {
  return colorBtns_[Checked(index)].get();
}

std::size_t TForm1::Checked(ControlIndex index) const {
  if (index.value < 0 || index.value >= static_cast<int>(handles_.size())) {
    throw std::out_of_range("The window has no control " + std::to_string(index.value) + ".");
  }
  return static_cast<std::size_t>(index.value);
}

std::optional<ControlIndex> TForm1::IndexOfId(int id) const {
  const int index = id - kFirstId;
  if (index < 0 || index >= static_cast<int>(handles_.size())) return std::nullopt;
  return ControlIndex{index};
}

std::optional<ControlIndex> TForm1::IndexOf(HWND child) const {
  if (child == nullptr || GetParent(child) != hwnd_) return std::nullopt;
  const std::optional<ControlIndex> index = IndexOfId(GetDlgCtrlID(child));
  if (!index || handles_[Checked(*index)] != child) return std::nullopt;
  return index;
}

void TForm1::SetText(ControlIndex control, std::string_view text) {
  const std::size_t i = Checked(control);
  if (labels_[i]) {
    labels_[i]->SetText(text);
  } else if (colorBtns_[i]) {
    colorBtns_[i]->SetCaption(text);
  } else {
    SetWindowTextW(handles_[i], ToUtf16(text).c_str());
  }
}

void TForm1::SetColor(ControlIndex control, TColor color) {
  const std::size_t i = Checked(control);
  if (labels_[i]) labels_[i]->SetColor(color);
  if (colorBtns_[i]) colorBtns_[i]->SetColor(color);
}

void TForm1::SetPosition(ControlIndex control, int position) {
  SendMessageW(handles_[Checked(control)], PBM_SETPOS,
               static_cast<WPARAM>(std::clamp(position, 0, kBarMax)), 0);
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
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void TForm1::OnCommand(WPARAM wParam) {
  const std::optional<ControlIndex> index = IndexOfId(LOWORD(wParam));
  if (!index) return;
  switch (HIWORD(wParam)) {
    case BN_CLICKED:
      board_.Click(*index);
      return;
    case BN_DOUBLECLICKED:
      // A standard push button clicks on each press; of a quick double press on a colour
      // button only the first one clicks.
      if (ControlAt(*index).kind == ControlKind::Button) board_.Click(*index);
      return;
    case BN_SETFOCUS:
      FocusChanged();
      return;
    default:
      return;
  }
}

LRESULT TForm1::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_BUTTON) return FALSE;
  const std::optional<ControlIndex> index = IndexOfId(static_cast<int>(item.CtlID));
  if (!index || !colorBtns_[Checked(*index)]) return FALSE;
  colorBtns_[Checked(*index)]->Draw(item, fonts_);
  return TRUE;
}

LRESULT TForm1::OnMeasureItem(MEASUREITEMSTRUCT& item) {
  if (item.CtlType != ODT_BUTTON) return FALSE;
  const std::optional<ControlIndex> index = IndexOfId(static_cast<int>(item.CtlID));
  if (!index || !colorBtns_[Checked(*index)]) return FALSE;
  colorBtns_[Checked(*index)]->Measure(item);
  return TRUE;
}

// The focus goes back where it was when the window is activated again; the first time, to the
// first control in tab order.
void TForm1::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    const HWND focus = GetFocus();
    if (IndexOf(focus)) lastFocus_ = focus;
    return;
  }
  if (HIWORD(wParam) != 0) return;  // minimised
  OnSetFocus();
}

void TForm1::OnSetFocus() {
  SetFocus(lastFocus_ != nullptr ? lastFocus_ : handles_[Checked(FirstFocus())]);
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
  const KeyModifiers held{.shift = KeyDown(VK_SHIFT),
                          .control = KeyDown(VK_CONTROL),
                          .alt = KeyDown(VK_MENU),
                          .meta = KeyDown(VK_LWIN) || KeyDown(VK_RWIN)};
  const KeyAction action = ActionOfKey(KeyOf(message.wParam), held, IndexOf(GetFocus()));
  switch (action.kind) {
    case KeyAction::Kind::Focus:
      SetFocus(handles_[Checked(action.control)]);
      FocusChanged();
      return true;
    case KeyAction::Kind::Click:
      // Through the window procedure, like any other click.
      PostMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(action.control.value + kFirstId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(handles_[Checked(action.control)]));
      return true;
    case KeyAction::Kind::Pass:
      break;
  }
  return false;
}

// The standard push buttons show the active look as the default-button frame, the colour
// buttons as their dark frame.
void TForm1::FocusChanged() {
  const HWND focus = GetFocus();
  const std::optional<ControlIndex> focused = IndexOf(focus);
  if (focused) lastFocus_ = focus;
  for (int i = 0; i < static_cast<int>(handles_.size()); ++i) {
    const bool active = IsActiveButton(ControlIndex{i}, focused);
    if (colorBtns_[i]) colorBtns_[i]->SetActive(active);
    if (ControlAt(ControlIndex{i}).kind != ControlKind::Button) continue;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(handles_[i], GWL_STYLE));
    const DWORD type = active ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if ((style & BS_TYPEMASK) != type) {
      SendMessageW(handles_[i], BM_SETSTYLE, (style & 0xFFFF & ~BS_TYPEMASK) | type, TRUE);
    }
  }
}

}  // namespace vexilo
