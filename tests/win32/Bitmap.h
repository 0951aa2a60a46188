#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>

#include "engine/Color.h"
#include "window/Canvas.h"

namespace vexilo::test {

// A top-down 32-bit DIB selected into a memory DC: something to paint on and read pixels from.
class Bitmap {
 public:
  Bitmap(int width, int height);
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  Bitmap(Bitmap&& other) noexcept;
  ~Bitmap();

  // The client area of a window as it is painted now, children included.
  static Bitmap CaptureClient(HWND window);

  HDC Dc() const { return dc_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void Fill(TColor color);
  // 0x00BBGGRR, like a literal TColor.
  TColor Pixel(int x, int y) const;
  // The smallest box holding every pixel of area that is not background; none if all are.
  std::optional<Rect> InkBounds(const Rect& area, TColor background) const;
  // The smallest box holding every pixel of area that is exactly colour.
  std::optional<Rect> BoundsOf(const Rect& area, TColor color) const;
  int Count(const Rect& area, TColor color) const;

 private:
  template <class Wanted>
  std::optional<Rect> Bounds(const Rect& area, Wanted wanted) const {
    std::optional<Rect> box;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        if (!wanted(Pixel(x, y))) continue;
        if (!box) box = Rect{x, y, x + 1, y + 1};
        box->left = std::min(box->left, x);
        box->top = std::min(box->top, y);
        box->right = std::max(box->right, x + 1);
        box->bottom = std::max(box->bottom, y + 1);
      }
    }
    return box;
  }

  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

}  // namespace vexilo::test
