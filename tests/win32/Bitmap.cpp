#include "Bitmap.h"

#include <stdexcept>
#include <utility>

namespace vexilo::test {

Bitmap::Bitmap(int width, int height) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dc_ == nullptr || bitmap_ == nullptr) throw std::runtime_error("no DIB section");
  bits_ = static_cast<std::uint32_t*>(bits);
  old_ = SelectObject(dc_, bitmap_);
}

Bitmap::Bitmap(Bitmap&& other) noexcept
    : width_(other.width_),
      height_(other.height_),
      dc_(std::exchange(other.dc_, nullptr)),
      bitmap_(std::exchange(other.bitmap_, nullptr)),
      old_(other.old_),
      bits_(std::exchange(other.bits_, nullptr)) {}

Bitmap::~Bitmap() {
  if (dc_ == nullptr) return;
  SelectObject(dc_, old_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

Bitmap Bitmap::CaptureClient(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  Bitmap copy(client.right, client.bottom);
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  HDC source = GetDC(window);
  BitBlt(copy.Dc(), 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
  ReleaseDC(window, source);
  GdiFlush();
  return copy;
}

void Bitmap::Fill(TColor color) {
  RECT all{0, 0, width_, height_};
  SetDCBrushColor(dc_, static_cast<COLORREF>(color));
  FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  GdiFlush();
}

TColor Bitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) throw std::out_of_range("pixel outside");
  const std::uint32_t argb = bits_[static_cast<std::size_t>(y) * width_ + x];  // B, G, R, A bytes
  return MakeColor((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

std::optional<Rect> Bitmap::InkBounds(const Rect& area, TColor background) const {
  return Bounds(area, [&](TColor pixel) { return pixel != background; });
}

std::optional<Rect> Bitmap::BoundsOf(const Rect& area, TColor color) const {
  return Bounds(area, [&](TColor pixel) { return pixel == color; });
}

int Bitmap::Count(const Rect& area, TColor color) const {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += Pixel(x, y) == color ? 1 : 0;
  }
  return count;
}

}  // namespace vexilo::test
