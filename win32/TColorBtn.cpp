#include "win32/TColorBtn.h"

#include <stdexcept>

#include "export/Utf16.h"
#include "win32/GdiCanvas.h"
#include "win32/Placement.h"

namespace vexilo {

TColorBtn::TColorBtn(HWND parent, const Control& row, int id, HFONT font, int ruleWidth) {
  state_.SetCaption(std::string(row.text.view()));
  state_.SetFont(row.font);
  state_.SetColor(row.color);
  state_.SetRuleWidth(ruleWidth);
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  hwnd_ = CreateWindowExW(0, L"BUTTON", ToUtf16(row.text.view()).c_str(), kStyle, row.left, row.top,
                          row.width, row.height, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (hwnd_ == nullptr) throw std::runtime_error("A number button could not be created.");
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void TColorBtn::Place(const Control& row, HFONT font, int ruleWidth) {
  state_.SetFont(row.font);
  state_.SetRuleWidth(ruleWidth);
  SetWindowPos(hwnd_, nullptr, row.left, row.top, row.width, row.height, kPlaceOnly);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  Invalidate(true);
}

void TColorBtn::Draw(const DRAWITEMSTRUCT& item, FontCache& fonts) {
  state_.SetEnabled((item.itemState & ODS_DISABLED) == 0);
  GdiCanvas canvas(item.hDC, fonts);  // saves the context's state; restores it when done
  const Rect rect{item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom};
  state_.DrawButton(canvas, rect, static_cast<std::uint8_t>(item.itemState & 0xFF));
}

void TColorBtn::Measure(MEASUREITEMSTRUCT& item) const {
  RECT client;
  GetClientRect(hwnd_, &client);
  item.itemWidth = static_cast<UINT>(client.right - client.left);
  item.itemHeight = static_cast<UINT>(client.bottom - client.top);
}

void TColorBtn::SetActive(bool active) {
  if (state_.SetActive(active))
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TColorBtn::SetCaption(std::string_view caption) {
  if (caption == state_.Caption()) return;
  state_.SetCaption(std::string(caption));
  SetWindowTextW(hwnd_, ToUtf16(caption).c_str());  // the name screen readers announce
  Invalidate(true);
}

void TColorBtn::SetColor(TColor color) {
  Invalidate(state_.SetColor(color));
}

void TColorBtn::SetBevelStyle(TColorBtnBevel style) {
  Invalidate(state_.SetBevelStyle(style));
}

void TColorBtn::SetBevelWidth(int width) {
  Invalidate(state_.SetBevelWidth(width));
}

void TColorBtn::SetCaptionSeparator(char separator) {
  Invalidate(state_.SetCaptionSeparator(separator));
}

void TColorBtn::Invalidate(bool changed) {
  if (changed) InvalidateRect(hwnd_, nullptr, FALSE);
}

}  // namespace vexilo
