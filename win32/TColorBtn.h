#pragma once

#include <windows.h>

#include <string_view>

#include "win32/FontCache.h"
#include "window/ColorBtn.h"
#include "window/FormTable.h"

namespace vexilo {

// The colour button as a native owner-drawn push button: the platform never paints it and
// sends its parent WM_DRAWITEM instead, which the parent hands to Draw. BS_NOTIFY makes the
// button report focus changes; a quick second press arrives as BN_DOUBLECLICKED, not as a click.
class TColorBtn {
 public:
  static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS |
                                  BS_PUSHBUTTON | BS_OWNERDRAW | BS_NOTIFY;

  // row: the button's row of the control table at the board's scale, drawn with font and
  // rules ruleWidth pixels wide.
  TColorBtn(HWND parent, const Control& row, int id, HFONT font, int ruleWidth);
  TColorBtn(const TColorBtn&) = delete;
  TColorBtn& operator=(const TColorBtn&) = delete;

  HWND Handle() const { return hwnd_; }
  const ColorBtn& State() const { return state_; }

  // Paints the button for a draw request: the item rectangle and the low byte of the state.
  void Draw(const DRAWITEMSTRUCT& item, FontCache& fonts);
  void Measure(MEASUREITEMSTRUCT& item) const;

  // Takes the row, its font and the rule width at a new scale, and repaints.
  void Place(const Control& row, HFONT font, int ruleWidth);
  // The active (default-button) look; a change repaints at once.
  void SetActive(bool active);
  // Property setters; a change schedules a repaint.
  void SetCaption(std::string_view caption);
  void SetColor(TColor color);
  void SetBevelStyle(TColorBtnBevel style);
  void SetBevelWidth(int width);
  void SetCaptionSeparator(char separator);

 private:
  void Invalidate(bool changed);

  HWND hwnd_ = nullptr;
  ColorBtn state_;
};

}  // namespace vexilo
