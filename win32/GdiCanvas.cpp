#include "win32/GdiCanvas.h"

#include <array>
#include <string>

#include "export/Utf16.h"

namespace vexilo {
namespace {

// Every other pixel set, on alternate rows shifted by one: a checkerboard. Rows of a 1-bit
// bitmap are padded to 16 bits.
constexpr std::array<WORD, 8> kDots = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};

RECT ToRect(const Rect& r) {
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

GdiCanvas::GdiCanvas(HDC dc, FontCache& fonts) : dc_(dc), fonts_(fonts), saved_(SaveDC(dc)) {}

GdiCanvas::~GdiCanvas() {
  if (saved_ != 0) RestoreDC(dc_, saved_);
}

TColor GdiCanvas::SystemColour(int index) {
  return static_cast<TColor>(GetSysColor(index));
}

COLORREF GdiCanvas::Rgb(TColor color) {
  return static_cast<COLORREF>(IsSystemColour(color) ? SystemColour(SystemColourIndex(color))
                                                     : color);
}

void GdiCanvas::SetFont(const FontSpec& font) {
  SelectObject(dc_, fonts_.Get(font));
}

void GdiCanvas::SetTextColor(TColor color) {
  ::SetTextColor(dc_, Rgb(color));
}

void GdiCanvas::SetBkColor(TColor color) {
  ::SetBkColor(dc_, Rgb(color));
}

void GdiCanvas::SetBkOpaque(bool opaque) {
  SetBkMode(dc_, opaque ? OPAQUE : TRANSPARENT);
}

void GdiCanvas::FillRect(const Rect& rect, TColor color) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  const RECT r = ToRect(rect);
  SetDCBrushColor(dc_, Rgb(color));
  ::FillRect(dc_, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// A checkerboard brush inverts the outline against the background colour: its clear bits take
// the text colour, set to black so that XOR leaves those pixels alone, its set bits the
// background colour. Each pixel of the outline is inverted once, corners included.
void GdiCanvas::DrawFocusRect(const Rect& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  HBITMAP dots = CreateBitmap(8, 8, 1, 1, kDots.data());
  HBRUSH brush = CreatePatternBrush(dots);
  const COLORREF oldText = ::SetTextColor(dc_, RGB(0, 0, 0));
  HGDIOBJ oldBrush = SelectObject(dc_, brush);
  PatBlt(dc_, rect.left, rect.top, width, 1, PATINVERT);
  if (height > 1) PatBlt(dc_, rect.left, rect.bottom - 1, width, 1, PATINVERT);
  if (height > 2) {
    PatBlt(dc_, rect.left, rect.top + 1, 1, height - 2, PATINVERT);
    if (width > 1) PatBlt(dc_, rect.right - 1, rect.top + 1, 1, height - 2, PATINVERT);
  }
  SelectObject(dc_, oldBrush);
  ::SetTextColor(dc_, oldText);
  DeleteObject(brush);
  DeleteObject(dots);
}

void GdiCanvas::DrawText(std::string_view text, Rect& rect, unsigned flags) {
  const std::wstring wide = ToUtf16(text);
  RECT r = ToRect(rect);
  ::DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &r, flags);
  if ((flags & DT_CALCRECT) != 0) rect = {r.left, r.top, r.right, r.bottom};
}

}  // namespace vexilo
