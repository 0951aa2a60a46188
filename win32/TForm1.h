#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "win32/BaseWindow.h"
#include "win32/FontCache.h"
#include "win32/TColorBtn.h"
#include "win32/TLabel.h"
#include "win32/Win32Shell.h"
#include "window/Board.h"
#include "window/View.h"

namespace vexilo {

// The main window: builds one native control per row of the control table, maps clicks onto
// the Board's commands and the Board's display writes onto the controls. One window procedure
// hands each message to one method.
class TForm1 final : public View, public BaseWindow<TForm1> {
 public:
  static constexpr const wchar_t* kClassName = L"TForm1";
  // A single fixed border, a caption with system menu and minimise box, nothing to resize with.
  static constexpr DWORD kStyle =
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  static constexpr DWORD kExStyle = 0;
  // Control ids are the control's index in the table plus this.
  static constexpr int kFirstId = 100;
  // The application icon's resource id.
  static constexpr int kIconId = 1;

  // Creates the window and its controls at the primary monitor's scale, then runs FormCreate:
  // centred on the primary screen, topmost, zero display. The window is not shown yet.
  explicit TForm1(HINSTANCE instance);
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;
  ~TForm1() override;

  // The native control of a table row, or of a name ("Label222", "ColorBtn18").
  HWND ControlWindow(ControlIndex index) const;
  HWND ControlWindow(std::string_view name) const;
  TColorBtn* ColorButton(ControlIndex index) const;
  // The scale the board is drawn at (window/Scale.h), from its monitor's dpi.
  double Scale() const { return scale_; }

  void Show(int showCommand);
  // The keys the window handles itself before the focused control sees them: Tab and
  // Shift+Tab, the arrow keys, and Enter. True when the message was used.
  bool PreTranslateMessage(const MSG& message);

  void SetText(ControlIndex control, std::string_view text) override;
  void SetColor(ControlIndex control, TColor color) override;
  void SetPosition(ControlIndex control, int position) override;

 private:
  friend class BaseWindow<TForm1>;

  static void RegisterClasses(HINSTANCE instance);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void FormCreate();
  void CreateControls();
  void CreateControl(int index, const Control& row);
  // Takes the scale for a monitor of dpi with this work area, and moves every control to it.
  void ScaleTo(UINT dpi, const RECT& workArea);
  void PlaceControl(int index, const Control& row);
  void OnDpiChanged(WPARAM wParam, const RECT& suggested);
  void PlaceWindow(POINT at);
  void OnCommand(WPARAM wParam);
  LRESULT OnDrawItem(const DRAWITEMSTRUCT& item);
  LRESULT OnMeasureItem(MEASUREITEMSTRUCT& item);
  void OnActivate(WPARAM wParam);
  void OnSetFocus();
  void OnSettingChange(LPARAM lParam);
  void OnGetMinMaxInfo(MINMAXINFO& info) const;
  void OnDestroy();

  void FocusChanged();
  std::optional<ControlIndex> IndexOf(HWND child) const;
  // The control with this control id, if it is one of the window's.
  std::optional<ControlIndex> IndexOfId(int id) const;
  // A vector position of the index, which must be one of the window's.
  std::size_t Checked(ControlIndex index) const;
  SIZE OuterSize() const;

  HINSTANCE instance_;
  FontCache fonts_;
  Win32Shell shell_;
  Board board_;
  std::vector<HWND> handles_;
  std::vector<std::unique_ptr<TLabel>> labels_;
  std::vector<std::unique_ptr<TColorBtn>> colorBtns_;
  HWND lastFocus_ = nullptr;
  UINT dpi_ = 96;  // the design's, until the window knows its monitor's
  double scale_ = 1.0;
  SIZE outer_{};  // the window's size with its frame, the only one it may take
};

}  // namespace vexilo
