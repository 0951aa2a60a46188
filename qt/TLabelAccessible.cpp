#include "qt/TLabelAccessible.h"

#include "qt/TLabel.h"

namespace vexilo {

TLabelAccessible::TLabelAccessible(TLabel* label)
    : QAccessibleWidget(label, QAccessible::StaticText) {}

const TLabel& TLabelAccessible::Label() const {
  return *static_cast<const TLabel*>(object());
}

QString TLabelAccessible::text(QAccessible::Text kind) const {
  const TLabel& label = Label();
  switch (kind) {
    case QAccessible::Value:
      return label.Caption();
    case QAccessible::Description:
      if (!label.IsDisplay()) return QAccessibleWidget::text(kind);
      // An empty strip slot has not been filled yet.
      return label.accessibleName() + QStringLiteral(": ") +
             (label.Caption().isEmpty() ? QStringLiteral("none") : label.Caption());
    default:
      return QAccessibleWidget::text(kind);
  }
}

QAccessibleInterface* TLabelAccessible::Factory(const QString&, QObject* object) {
  auto* label = qobject_cast<TLabel*>(object);
  return label == nullptr ? nullptr : new TLabelAccessible(label);
}

}  // namespace vexilo
