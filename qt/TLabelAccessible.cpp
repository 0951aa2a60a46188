#include "qt/TLabelAccessible.h"

#include <QFontMetrics>
#include <algorithm>

#include "qt/TLabel.h"

namespace vexilo {

TLabelAccessible::TLabelAccessible(TLabel* label)
    : QAccessibleWidget(label, QAccessible::StaticText) {}

const TLabel& TLabelAccessible::Label() const {
  return *static_cast<const TLabel*>(object());
}

QString TLabelAccessible::text(QAccessible::Text kind) const {
  return kind == QAccessible::Value ? Label().Caption() : QAccessibleWidget::text(kind);
}

void* TLabelAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

QString TLabelAccessible::text(int startOffset, int endOffset) const {
  const QString& caption = Label().Caption();
  const int start = std::clamp(startOffset, 0, static_cast<int>(caption.size()));
  const int end = endOffset < 0 ? static_cast<int>(caption.size())
                                : std::clamp(endOffset, start, static_cast<int>(caption.size()));
  return caption.mid(start, end - start);
}

int TLabelAccessible::characterCount() const {
  return static_cast<int>(Label().Caption().size());
}

// The text is drawn from the label's left edge in the label's font, one line.
QRect TLabelAccessible::characterRect(int offset) const {
  const QString& caption = Label().Caption();
  if (offset < 0 || offset >= caption.size()) return {};
  const QFontMetrics metrics(Label().font());
  const int left = metrics.horizontalAdvance(caption.left(offset));
  const int width = metrics.horizontalAdvance(caption.mid(offset, 1));
  return {Label().mapToGlobal(QPoint(left, 0)), QSize(width, Label().height())};
}

int TLabelAccessible::offsetAtPoint(const QPoint& point) const {
  for (int offset = 0; offset < characterCount(); ++offset) {
    if (characterRect(offset).contains(point)) return offset;
  }
  return -1;
}

void TLabelAccessible::selection(int, int* startOffset, int* endOffset) const {
  *startOffset = 0;
  *endOffset = 0;
}

// One run of plain text: no attributes anywhere.
QString TLabelAccessible::attributes(int, int* startOffset, int* endOffset) const {
  *startOffset = 0;
  *endOffset = characterCount();
  return {};
}

QAccessibleInterface* TLabelAccessible::Factory(const QString&, QObject* object) {
  auto* label = qobject_cast<TLabel*>(object);
  return label == nullptr ? nullptr : new TLabelAccessible(label);
}

}  // namespace vexilo
