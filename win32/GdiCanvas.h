#pragma once

#include <windows.h>

#include "win32/FontCache.h"
#include "window/Canvas.h"

namespace vexilo {

// The colour button's drawing surface over a GDI device context. Binding saves the context's
// state and the end of the binding restores it, so a paint leaves the context as it found it.
class GdiCanvas final : public Canvas {
 public:
  GdiCanvas(HDC dc, FontCache& fonts);
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;
  ~GdiCanvas() override;

  TColor ResolveSystemColor(int index) override;
  void SetFont(const FontSpec& font) override;
  void SetTextColor(TColor color) override;
  void SetBkColor(TColor color) override;
  void SetBkOpaque(bool opaque) override;
  void FillRect(const Rect& rect, TColor color) override;
  void DrawFocusRect(const Rect& rect) override;
  void DrawText(std::string_view text, Rect& rect, unsigned flags) override;

 private:
  COLORREF Rgb(TColor color);

  HDC dc_;
  FontCache& fonts_;
  int saved_;
};

}  // namespace vexilo
