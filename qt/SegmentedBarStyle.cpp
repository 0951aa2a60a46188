#include "qt/SegmentedBarStyle.h"

#include <QPainter>
#include <QStyleOptionProgressBar>
#include <algorithm>

namespace vexilo {

SegmentedBarStyle::SegmentedBarStyle() : QProxyStyle(nullptr) {}

void SegmentedBarStyle::drawControl(ControlElement element, const QStyleOption* option,
                                    QPainter* painter, const QWidget* widget) const {
  const auto* bar = qstyleoption_cast<const QStyleOptionProgressBar*>(option);
  if (element != CE_ProgressBar || bar == nullptr) {
    QProxyStyle::drawControl(element, option, painter, widget);
    return;
  }
  const QRect r = bar->rect;
  const QPalette& palette = bar->palette;
  painter->fillRect(r, palette.color(QPalette::Button));
  // Sunken edge: shadow along the top and left, highlight along the bottom and right.
  painter->fillRect(r.left(), r.top(), r.width() - 1, 1, palette.color(QPalette::Dark));
  painter->fillRect(r.left(), r.top(), 1, r.height() - 1, palette.color(QPalette::Dark));
  painter->fillRect(r.left(), r.bottom(), r.width(), 1, palette.color(QPalette::Light));
  painter->fillRect(r.right(), r.top(), 1, r.height(), palette.color(QPalette::Light));

  const QRect inner = r.adjusted(kInset, kInset, -kInset, -kInset);
  const qint64 range = std::max<qint64>(1, qint64{bar->maximum} - bar->minimum);
  const qint64 done = std::clamp<qint64>(qint64{bar->progress} - bar->minimum, 0, range);
  const int filled = static_cast<int>(inner.width() * done / range);
  const int block = std::max(1, inner.height() * kBlockNumerator / kBlockDenominator);
  const QColor color = palette.color(QPalette::Highlight);
  for (int x = inner.left(); x < inner.left() + filled; x += block + kGap) {
    painter->fillRect(QRect(x, inner.top(), std::min(block, inner.right() + 1 - x), inner.height()),
                      color);
  }
}

}  // namespace vexilo
