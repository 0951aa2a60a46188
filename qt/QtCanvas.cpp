#include "qt/QtCanvas.h"

#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <vector>

#include "qt/Fonts.h"
#include "qt/Palette.h"

namespace vexilo {
namespace {

QColor Literal(TColor color) {
  return {RedOf(color), GreenOf(color), BlueOf(color)};
}

QRect ToQRect(const Rect& r) {
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// One laid-out line: its text range in the prefix-free string, where it starts, how wide it is.
struct Line {
  int start;
  int length;
  int x;
  int width;
};

// Text with the '&' prefixes taken out ("&&" stays one ampersand) and hard breaks as U+2028.
struct Prepared {
  QString text;
  std::vector<int> underlined;  // positions of the characters a prefix marks
};

Prepared Prepare(std::string_view utf8) {
  const QString source = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  Prepared prepared;
  prepared.text.reserve(source.size());
  for (qsizetype i = 0; i < source.size(); ++i) {
    QChar ch = source[i];
    if (ch == u'&' && i + 1 < source.size()) {
      ch = source[++i];
      if (ch != u'&') prepared.underlined.push_back(static_cast<int>(prepared.text.size()));
    }
    if (ch == u'\r' && i + 1 < source.size() && source[i + 1] == u'\n') ++i;
    if (ch == u'\r' || ch == u'\n') ch = QChar::LineSeparator;
    prepared.text += ch;
  }
  return prepared;
}

// One line without prefixes or tabs that cannot wrap, the case of every label and number
// button: drawn and measured without a layout. Word breaking needs a space to break at.
bool IsOneLine(std::string_view text, unsigned flags) {
  const bool wraps = (flags & dtWordBreak) != 0;
  return std::ranges::none_of(text, [wraps](char ch) {
    return ch == '&' || ch == '\t' || ch == '\r' || ch == '\n' || (wraps && ch == ' ');
  });
}

// Lays the text out as the platform's DrawText does: lines of the font's height from the top,
// each placed by the alignment flags inside the rectangle's width.
class Layout {
 public:
  Layout(const QFont& font, const Prepared& prepared, int width, unsigned flags)
      : layout_(prepared.text, font), metrics_(font) {
    QTextOption option;
    option.setWrapMode((flags & dtWordBreak) != 0 ? QTextOption::WordWrap : QTextOption::NoWrap);
    option.setTabStopDistance(8.0 * metrics_.averageCharWidth());
    layout_.setTextOption(option);
    layout_.setCacheEnabled(true);
    QList<QTextLayout::FormatRange> underlines;
    for (const int position : prepared.underlined) {
      QTextCharFormat format;
      format.setFontUnderline(true);
      underlines.append({position, 1, format});
    }
    layout_.setFormats(underlines);
    layout_.beginLayout();
    const double wrapWidth = (flags & dtWordBreak) != 0 ? std::max(width, 0) : 1e6;
    for (QTextLine line = layout_.createLine(); line.isValid(); line = layout_.createLine()) {
      line.setLineWidth(wrapWidth);
      const int lineWidth = static_cast<int>(std::ceil(line.naturalTextWidth()));
      int x = 0;
      if ((flags & dtCenter) != 0)
        x = (width - lineWidth) / 2;
      else if ((flags & dtRight) != 0)
        x = width - lineWidth;
      line.setPosition(QPointF(x, metrics_.height() * static_cast<int>(lines_.size())));
      lines_.push_back({line.textStart(), line.textLength(), x, lineWidth});
    }
    layout_.endLayout();
  }

  int Height() const {
    return metrics_.height() * static_cast<int>(std::max<std::size_t>(lines_.size(), 1));
  }
  int Width() const {
    int widest = 0;
    for (const Line& line : lines_) widest = std::max(widest, line.width);
    return widest;
  }
  const std::vector<Line>& Lines() const { return lines_; }
  QTextLayout& Text() { return layout_; }
  int LineHeight() const { return metrics_.height(); }

 private:
  QTextLayout layout_;
  QFontMetrics metrics_;
  std::vector<Line> lines_;
};

}  // namespace

QtCanvas::QtCanvas(QPainter& painter, const QPalette& palette)
    : painter_(painter), palette_(palette) {}

TColor QtCanvas::ResolveSystemColor(int index) {
  return FromQColor(SystemQColor(palette_, index));
}

void QtCanvas::SetFont(const FontSpec& font) {
  SetQFont(ToQFont(font));
}

void QtCanvas::SetQFont(const QFont& font) {
  font_ = font;
}

void QtCanvas::SetTextColor(TColor color) {
  text_ = Literal(color);
}

void QtCanvas::SetBkColor(TColor color) {
  background_ = Literal(color);
}

void QtCanvas::SetBkOpaque(bool opaque) {
  opaque_ = opaque;
}

void QtCanvas::FillRect(const Rect& rect, TColor color) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  painter_.fillRect(ToQRect(rect), Literal(color));
}

void QtCanvas::DrawFocusRect(const Rect& rect) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  // Every other pixel of the outline, each visited once, inverted against the background.
  painter_.save();
  painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  const auto dot = [this](int x, int y) {
    if ((x + y) % 2 == 0) painter_.fillRect(x, y, 1, 1, background_);
  };
  for (int x = rect.left; x < rect.right; ++x) {
    dot(x, rect.top);
    if (rect.bottom - 1 > rect.top) dot(x, rect.bottom - 1);
  }
  for (int y = rect.top + 1; y < rect.bottom - 1; ++y) {
    dot(rect.left, y);
    if (rect.right - 1 > rect.left) dot(rect.right - 1, y);
  }
  painter_.restore();
}

Rect QtCanvas::MeasureText(const QFont& font, std::string_view text, Rect rect, unsigned flags) {
  const QFontMetrics metrics(font);
  if (IsOneLine(text, flags)) {
    const QString plain = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    rect.right = rect.left + metrics.horizontalAdvance(plain);
    rect.bottom = rect.top + metrics.height();
    return rect;
  }
  const Prepared prepared = Prepare(text);
  const Layout layout(font, prepared, rect.right - rect.left, flags);
  rect.right = rect.left + layout.Width();
  rect.bottom = rect.top + layout.Height();
  return rect;
}

void QtCanvas::DrawText(std::string_view text, Rect& rect, unsigned flags) {
  if ((flags & dtCalcRect) != 0) {
    rect = MeasureText(font_, text, rect, flags);
    return;
  }
  const int width = rect.right - rect.left;
  painter_.save();
  painter_.setClipRect(ToQRect(rect), Qt::IntersectClip);
  painter_.setFont(font_);
  painter_.setPen(text_);
  if (IsOneLine(text, flags)) {
    const QString plain = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QFontMetrics metrics(font_);
    const int lineWidth = metrics.horizontalAdvance(plain);
    int x = rect.left;
    if ((flags & dtCenter) != 0)
      x += (width - lineWidth) / 2;
    else if ((flags & dtRight) != 0)
      x += width - lineWidth;
    if (opaque_) painter_.fillRect(QRect(x, rect.top, lineWidth, metrics.height()), background_);
    painter_.drawText(QPoint(x, rect.top + metrics.ascent()), plain);
  } else {
    const Prepared prepared = Prepare(text);
    Layout layout(font_, prepared, width, flags);
    for (std::size_t i = 0; i < layout.Lines().size(); ++i) {
      const Line& line = layout.Lines()[i];
      const int top = rect.top + layout.LineHeight() * static_cast<int>(i);
      if (opaque_) {
        painter_.fillRect(QRect(rect.left + line.x, top, line.width, layout.LineHeight()),
                          background_);
      }
    }
    layout.Text().draw(&painter_, QPointF(rect.left, rect.top));
  }
  painter_.restore();
}

}  // namespace vexilo
