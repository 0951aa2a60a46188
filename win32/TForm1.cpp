#include "win32/TForm1.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

#include "export/Utf16.h"
#include "win32/Caption.h"
#include "win32/Dpi.h"
#include "win32/ErrorReport.h"
#include "win32/Placement.h"
#include "window/Centring.h"
#include "window/FormTable.h"
#include "window/Keyboard.h"
#include "window/Scale.h"

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

HMONITOR PrimaryMonitor() {
  return MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
}

Rect ToRect(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

// The board's scale on a monitor of dpi: its client area, with the frame the system draws at
// that dpi round it, fits the work area.
double BoardScale(UINT dpi, const RECT& workArea) {
  const RECT frame = FrameAt(TForm1::kStyle, TForm1::kExStyle, dpi);
  const Size room{(workArea.right - workArea.left) - (frame.right - frame.left),
                  (workArea.bottom - workArea.top) - (frame.bottom - frame.top)};
  return FittingScale(ScaleOfDpi(static_cast<int>(dpi)), room, {kClientWidth, kClientHeight});
}

}  // namespace

TForm1::TForm1(HINSTANCE instance) : instance_(instance), board_(*this, shell_) {
  RegisterClasses(instance_);
  // Made on the primary monitor at the design's size: its dpi, and so the scale, is the
  // window's own once it stands there.
  outer_ = OuterSize();
  Create(kExStyle, kCaptionW.data(), kStyle, {0, 0}, outer_, nullptr, nullptr, instance_,
         "The main window could not be created");
  shell_.SetOwner(hwnd_);
  ScaleTo(WindowDpi(hwnd_), MonitorOf(PrimaryMonitor()).rcWork);
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

// The client area is what the layout needs at the scale; the frame adds what the system's
// frame takes at the window's dpi.
SIZE TForm1::OuterSize() const {
  const Size client = ScaledClient(scale_);
  const RECT frame = FrameAt(kStyle, kExStyle, dpi_);
  return {client.width + frame.right - frame.left, client.height + frame.bottom - frame.top};
}

void TForm1::CreateControls() {
  const std::span<const Control> form = FormControls();
  handles_.assign(form.size(), nullptr);
  labels_.resize(form.size());
  colorBtns_.resize(form.size());
  for (int i = 0; i < static_cast<int>(form.size()); ++i) {
    CreateControl(i, ScaledControl(form[i], scale_));
  }
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
      colorBtns_[index] = std::make_unique<TColorBtn>(hwnd_, row, index + kFirstId,
                                                      fonts_.Get(row.font), RuleWidth(scale_));
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

// Every control of the table at the new scale, where it stands and in the font it draws with.
void TForm1::ScaleTo(UINT dpi, const RECT& workArea) {
  dpi_ = dpi;
  scale_ = BoardScale(dpi, workArea);
  const std::span<const Control> form = FormControls();
  for (int i = 0; i < static_cast<int>(handles_.size()); ++i) {
    PlaceControl(i, ScaledControl(form[i], scale_));
  }
}

void TForm1::PlaceControl(int index, const Control& row) {
  if (labels_[index]) {
    labels_[index]->Place(row);
  } else if (colorBtns_[index]) {
    colorBtns_[index]->Place(row, fonts_.Get(row.font), RuleWidth(scale_));
  } else {
    SetWindowPos(handles_[index], nullptr, row.left, row.top, row.width, row.height, kPlaceOnly);
    if (row.kind == ControlKind::Button) {
      SendMessageW(handles_[index], WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(row.font)),
                   TRUE);
    }
  }
}

// The window at the place with the client area of the scale. Where the system draws another
// frame than it gives for the window's dpi (a per-monitor window of Windows 8.1, or of 10
// before 1703, keeps the system dpi's frame), the outer size is set again by the difference.
void TForm1::PlaceWindow(POINT at) {
  outer_ = OuterSize();
  SetWindowPos(hwnd_, nullptr, at.x, at.y, outer_.cx, outer_.cy, kPlaceOnly);
  RECT client;
  GetClientRect(hwnd_, &client);
  const Size wanted = ScaledClient(scale_);
  if (client.right == wanted.width && client.bottom == wanted.height) return;
  outer_.cx += wanted.width - client.right;
  outer_.cy += wanted.height - client.bottom;
  SetWindowPos(hwnd_, nullptr, 0, 0, outer_.cx, outer_.cy, SWP_NOMOVE | kPlaceOnly);
}

void TForm1::FormCreate() {
  const MONITORINFO primary = MonitorOf(PrimaryMonitor());
  const SIZE outer = OuterSize();
  const Origin origin =
      CentredOrigin(ToRect(primary.rcMonitor), ToRect(primary.rcWork), outer.cx, outer.cy);
  PlaceWindow({origin.left, origin.top});
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
    case kWmDpiChanged:
      OnDpiChanged(wParam, *reinterpret_cast<const RECT*>(lParam));
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
  info.ptMinTrackSize = {outer_.cx, outer_.cy};
  info.ptMaxTrackSize = {outer_.cx, outer_.cy};
}

// On a monitor of other dpi the board takes the scale that fits there, at the place the system
// suggests, which keeps the window where it was on the screen, moved only as far as it must to
// stay in the work area; the tally stays as it was.
void TForm1::OnDpiChanged(WPARAM wParam, const RECT& suggested) {
  const RECT work = MonitorOf(MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST)).rcWork;
  ScaleTo(LOWORD(wParam), work);
  const SIZE outer = OuterSize();
  const Origin at = MovedInto({suggested.left, suggested.top}, ToRect(work), outer.cx, outer.cy);
  PlaceWindow({at.left, at.top});
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
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
