#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "win32/BaseWindow.h"
#include "win32/FontCache.h"
#include "window/FormTable.h"

namespace vexilo {

// A static text that is exactly as large as its text in its font (an empty text measures as
// one space), keeps its anchored edge when the text changes (the right edge when right-
// justified, else the left), and paints its whole box in its colour first. The window's text
// is the label's text, so GetWindowTextW reads it back.
class TLabel final : public BaseWindow<TLabel> {
 public:
  static constexpr const wchar_t* kClassName = L"TLabel";

  // row: the label's row of the control table at the board's scale.
  TLabel(HWND parent, const Control& row, int id, FontCache& fonts);

  // Takes the row at a new scale: the font of its height, the box re-sized about its edge.
  void Place(const Control& row);
  void SetText(std::string_view text);
  void SetColor(TColor color);
  TColor Color() const { return color_; }

 private:
  friend class BaseWindow<TLabel>;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc);
  void FitToText();

  FontCache& fonts_;
  HFONT font_;
  TColor color_;
  TColor textColor_;
  Control row_;  // its scaled row: where it stands, its font and which edge stays put
  std::wstring text_;
};

}  // namespace vexilo
