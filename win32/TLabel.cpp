#include "win32/TLabel.h"

#include <stdexcept>

#include "export/Utf16.h"

namespace vexilo {
namespace {

// No word wrap, tabs expanded, '&' an accelerator prefix: measured and drawn alike.
constexpr UINT kTextFlags = DT_LEFT | DT_EXPANDTABS | DT_NOCLIP;

COLORREF Rgb(TColor color) {
  return IsSystemColour(color) ? GetSysColor(SystemColourIndex(color))
                               : static_cast<COLORREF>(color);
}

int AnchorOf(const Control& row) {
  switch (row.alignment) {
    case taRightJustify:
      return row.left + row.width;
    case taCenter:
      return row.left + row.width / 2;
    case taLeftJustify:
      break;
  }
  return row.left;
}

}  // namespace

void TLabel::Register(HINSTANCE instance) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = &TLabel::WindowProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  cls.lpszClassName = kClassName;
  if (RegisterClassExW(&cls) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw std::runtime_error("The label window class could not be registered.");
  }
}

TLabel::TLabel(HWND parent, const Control& row, int id, HFONT font)
    : font_(font),
      color_(row.color),
      textColour_(row.font.colour),
      alignment_(row.alignment),
      anchor_(AnchorOf(row)),
      top_(row.top),
      text_(ToUtf16(row.text.view())) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  hwnd_ = CreateWindowExW(0, kClassName, text_.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                          row.left, row.top, row.width, row.height, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
  if (hwnd_ == nullptr) throw std::runtime_error("A label could not be created.");
  FitToText();
}

LRESULT CALLBACK TLabel::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<TLabel*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TLabel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
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
  HGDIOBJ oldFont = SelectObject(dc, font_);
  SetTextColor(dc, Rgb(textColour_));
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &box, kTextFlags);
  SelectObject(dc, oldFont);
}

void TLabel::FitToText() {
  HDC dc = GetDC(hwnd_);
  HGDIOBJ oldFont = SelectObject(dc, font_);
  const std::wstring_view measured = text_.empty() ? std::wstring_view(L" ") : text_;
  RECT extent{0, 0, 0, 0};
  DrawTextW(dc, measured.data(), static_cast<int>(measured.size()), &extent,
            kTextFlags | DT_CALCRECT);
  SelectObject(dc, oldFont);
  ReleaseDC(hwnd_, dc);
  const int width = extent.right - extent.left;
  const int height = extent.bottom - extent.top;
  int left = anchor_;
  if (alignment_ == taRightJustify) left = anchor_ - width;
  if (alignment_ == taCenter) left = anchor_ - width / 2;
  SetWindowPos(hwnd_, nullptr, left, top_, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
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
