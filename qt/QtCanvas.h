#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

#include "window/Canvas.h"

namespace vexilo {

// The canvas over a QPainter: what the shared painting code draws with on Qt. Colours are
// literal by the time they arrive; system colours resolve against the widget's palette.
class QtCanvas final : public Canvas {
 public:
  QtCanvas(QPainter& painter, const QPalette& palette);

  TColor ResolveSystemColor(int index) override;
  void SetFont(const FontSpec& font) override;
  void SetTextColor(TColor color) override;
  void SetBkColor(TColor color) override;
  void SetBkOpaque(bool opaque) override;
  void FillRect(const Rect& rect, TColor color) override;
  void DrawFocusRect(const Rect& rect) override;
  void DrawText(std::string_view text, Rect& rect, unsigned flags) override;

  // The same layout without a painter: how large text is in font with the dt flags.
  static Rect MeasureText(const QFont& font, std::string_view text, Rect rect, unsigned flags);
  void SetQFont(const QFont& font);

 private:
  QPainter& painter_;
  const QPalette& palette_;
  QFont font_;
  QColor text_{Qt::black};
  QColor background_{Qt::white};
  bool opaque_ = true;
};

}  // namespace vexilo
