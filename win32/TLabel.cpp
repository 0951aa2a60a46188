#include "win32/TLabel.h"

#include "export/Utf16.h"
#include "win32/Placement.h"
#include "win32/TextLine.h"
#include "window/LabelBox.h"

namespace vexilo {
namespace {

// No word wrap, tabs expanded, '&' an accelerator prefix: measured and drawn alike.
constexpr UINT kTextFlags = DT_LEFT | DT_EXPANDTABS | DT_NOCLIP;

COLORREF Rgb(TColor color) {
  return IsSystemColor(color) ? GetSysColor(SystemColorIndex(color)) : static_cast<COLORREF>(color);
}

}  // namespace

TLabel::TLabel(HWND parent, const Control& row, int id, FontCache& fonts)
    : fonts_(fonts),
      font_(fonts.Get(row.font)),
      color_(row.color),
      textColor_(row.font.color),
      row_(row),
      text_(ToUtf16(row.text.view())) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  Create(0, text_.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, {row.left, row.top},
         {row.width, row.height}, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
         instance, "A label could not be created");
  FitToText();
}

LRESULT TLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      Paint(BeginPaint(hwnd_, &ps));
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills the whole box
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // never clicked: the mouse goes to what lies below
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
      const auto* text = reinterpret_cast<const wchar_t*>(lParam);
      text_ = text != nullptr ? text : L"";
      FitToText();
      InvalidateRect(hwnd_, nullptr, FALSE);
      return result;
    }
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void TLabel::Paint(HDC dc) {
  RECT box;
  GetClientRect(hwnd_, &box);
  SetDCBrushColor(dc, Rgb(color_));
  FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  SetTextColor(dc, Rgb(textColor_));
  SetBkMode(dc, TRANSPARENT);
  TextLine(dc, fonts_, row_.font, text_, kTextFlags).Draw(box);
}

void TLabel::FitToText() {
  HDC dc = GetDC(hwnd_);
  const std::wstring_view measured = text_.empty() ? std::wstring_view(L" ") : text_;
  const SIZE extent = TextLine(dc, fonts_, row_.font, measured, kTextFlags).Extent();
  ReleaseDC(hwnd_, dc);
  SetWindowPos(hwnd_, nullptr, LabelLeft(row_, extent.cx), row_.top, extent.cx, extent.cy,
               kPlaceOnly);
}

void TLabel::Place(const Control& row) {
  row_ = row;
  font_ = fonts_.Get(row_.font);
  FitToText();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void TLabel::SetText(std::string_view text) {
  const std::wstring wide = ToUtf16(text);
  if (wide != text_) SetWindowTextW(hwnd_, wide.c_str());  // WM_SETTEXT re-sizes and repaints
}

void TLabel::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

}  // namespace vexilo
