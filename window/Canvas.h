#pragma once

#include <string_view>

#include "Font.h"
#include "engine/Color.h"

namespace vexilo {

// Left, top, right, bottom; right and bottom exclusive.
struct Rect {
  int left;
  int top;
  int right;
  int bottom;

  constexpr bool operator==(const Rect&) const = default;
};

// Text layout flags, with the platform's values.
inline constexpr unsigned dtLeft = 0x00;
inline constexpr unsigned dtCenter = 0x01;
inline constexpr unsigned dtRight = 0x02;
inline constexpr unsigned dtWordBreak = 0x10;
inline constexpr unsigned dtExpandTabs = 0x40;
inline constexpr unsigned dtCalcRect = 0x400;

// A drawing surface, shaped after a device context. Colours passed in are literal
// (0x00BBGGRR); ResolveSystemColor resolves the platform's system colours.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual TColor ResolveSystemColor(int index) = 0;
  // Selects face, height and weight; the font's colour is set apart with SetTextColor.
  virtual void SetFont(const FontSpec& font) = 0;
  virtual void SetTextColor(TColor color) = 0;
  virtual void SetBkColor(TColor color) = 0;
  // Opaque text fills each line's box with the background colour before drawing it.
  virtual void SetBkOpaque(bool opaque) = 0;
  // Also draws 1-pixel lines; an empty rect draws nothing.
  virtual void FillRect(const Rect& rect, TColor color) = 0;
  // The dotted 1-pixel focus outline along the inside edge of rect: every other pixel is
  // inverted against the background colour (pixel XOR background), so it shows on any face.
  virtual void DrawFocusRect(const Rect& rect) = 0;
  // Lays out and draws text in rect with the dt flags, '&' as a prefix, CR LF as a line break,
  // clipped to rect; lines start at rect.top. With dtCalcRect nothing is drawn, rect.bottom
  // becomes rect.top plus the lines' height and rect.right rect.left plus the widest line.
  virtual void DrawText(std::string_view text, Rect& rect, unsigned flags) = 0;
};

// Resolves a system colour through the canvas; literal colours come back unchanged.
TColor ResolveColor(Canvas& canvas, TColor color);

}  // namespace vexilo
