#include "qt/TLabel.h"

#include <QAccessible>
#include <QPainter>
#include <utility>

#include "qt/Fonts.h"
#include "qt/Palette.h"
#include "qt/QtCanvas.h"
#include "qt/TLabelAccessible.h"
#include "window/LabelBox.h"

namespace vexilo {
namespace {

constexpr unsigned kLabelFlags = dtLeft | dtExpandTabs;

}  // namespace

TLabel::TLabel(const Control& control, QWidget* parent)
    : QWidget(parent),
      font_(ToQFont(control.font)),
      spec_(control.font),
      color_(control.color),
      row_(control) {
  QAccessible::installFactory(&TLabelAccessible::Factory);  // once: Qt keeps no duplicates
  setObjectName(QString::fromLatin1(control.name.view().data(),
                                    static_cast<qsizetype>(control.name.view().size())));
  setAccessibleName(
      QString::fromUtf8(control.accessibleName.view().data(),
                        static_cast<qsizetype>(control.accessibleName.view().size())));
  setFocusPolicy(Qt::NoFocus);
  setFont(font_);
  utf8_ = control.text.view();
  caption_ = QString::fromUtf8(utf8_.data(), static_cast<qsizetype>(utf8_.size()));
  Fit();
}

void TLabel::SetCaption(std::string_view utf8) {
  if (utf8 == utf8_) return;
  utf8_ = utf8;
  const QString previous =
      std::exchange(caption_, QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  Fit();
  update();
  if (row_.display) Announce(previous);
}

// The shown text changed as a whole; a screen reader that listens updates what it reads.
void TLabel::Announce(const QString& previous) {
  if (!QAccessible::isActive()) return;  // nobody listens: no events to build
  QAccessibleTextUpdateEvent update(this, 0, previous, caption_);
  QAccessible::updateAccessibility(&update);
}

void TLabel::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  update();
}

// The box is the text's extent; the anchored edge stays where the design put it.
void TLabel::Fit() {
  const Rect box =
      QtCanvas::MeasureText(font_, utf8_.empty() ? " " : utf8_, {0, 0, 0, 0}, kLabelFlags);
  setGeometry(LabelLeft(row_, box.right), row_.top, box.right, box.bottom);
}

void TLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QtCanvas canvas(painter, palette());
  canvas.SetQFont(font_);
  const TColor face = FromQColor(ToQColor(color_, palette()));
  canvas.FillRect({0, 0, width(), height()}, face);
  canvas.SetBkOpaque(false);
  canvas.SetTextColor(FromQColor(ToQColor(spec_.color, palette())));
  Rect box{0, 0, width(), height()};
  canvas.DrawText(utf8_, box, kLabelFlags);
}

}  // namespace vexilo
