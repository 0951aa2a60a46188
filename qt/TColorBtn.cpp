#include "qt/TColorBtn.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>

#include "qt/Fonts.h"
#include "qt/QtCanvas.h"

namespace vexilo {

TColorBtn::TColorBtn(QWidget* parent) : QPushButton(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoDefault(false);
  resize(75, 25);                         // the standard push button's size
  SetFontSpec(FontOf(FontKind::Window));  // what a control takes from the window
}

void TColorBtn::SetBevelStyle(TColorBtnBevel style) {
  if (core_.SetBevelStyle(style)) update();
}

void TColorBtn::SetBevelWidth(int width) {
  if (core_.SetBevelWidth(width)) update();
}

void TColorBtn::SetCaptionSeparator(char separator) {
  if (core_.SetCaptionSeparator(separator)) update();
}

void TColorBtn::SetColor(TColor color) {
  if (core_.SetColor(color)) update();
}

void TColorBtn::SetActive(bool active) {
  if (core_.SetActive(active)) repaint();
}

void TColorBtn::SetCaption(std::string_view utf8) {
  core_.SetCaption(std::string(utf8));
  setText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  update();
}

void TColorBtn::SetFontSpec(const FontSpec& font) {
  core_.SetFont(font);
  font_ = ToQFont(font);
  setFont(font_);
  update();
}

void TColorBtn::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QtCanvas canvas(painter, palette());
  std::uint8_t state = 0;
  if (isDown()) state |= odsSelected;
  if (hasFocus()) state |= odsFocus;
  core_.DrawButton(canvas, {0, 0, width(), height()}, state);
}

bool TColorBtn::PairsWithLastPress(const QMouseEvent& event) const {
  if (!lastPress_) return false;
  const QStyleHints* hints = QGuiApplication::styleHints();
  const QPoint delta = event.globalPosition().toPoint() - lastPress_->global;
  const int distance = hints->mouseDoubleClickDistance();
  return event.timestamp() - lastPress_->timestamp <
             static_cast<quint64>(hints->mouseDoubleClickInterval()) &&
         std::abs(delta.x()) <= distance && std::abs(delta.y()) <= distance;
}

// The second press of a double press neither pushes the button nor clicks it; the press after
// that starts afresh.
void TColorBtn::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QPushButton::mousePressEvent(event);
    return;
  }
  if (PairsWithLastPress(*event)) {
    lastPress_.reset();
    event->accept();
    return;
  }
  lastPress_ = Press{event->timestamp(), event->globalPosition().toPoint()};
  QPushButton::mousePressEvent(event);
}

// Qt hands a widget the second press of its own double click as this event alone, judged by
// its window rather than by the button: the same rule decides as for any press.
void TColorBtn::mouseDoubleClickEvent(QMouseEvent* event) {
  mousePressEvent(event);
}

void TColorBtn::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const bool plain =
      (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
  if (enter && plain && Active()) {
    click();
    event->accept();
    return;
  }
  QPushButton::keyPressEvent(event);
}

void TColorBtn::changeEvent(QEvent* event) {
  QPushButton::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) {
    core_.SetEnabled(isEnabled());
    update();
  }
}

}  // namespace vexilo
