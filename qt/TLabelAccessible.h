#pragma once

#include <QAccessibleWidget>

namespace vexilo {

class TLabel;

// What a screen reader learns of a label: the name the control table gives it, the text it shows
// as its value and, for a display, the line to read out, "count of 17: 3" or "spin count: 37".
class TLabelAccessible final : public QAccessibleWidget {
 public:
  explicit TLabelAccessible(TLabel* label);

  QString text(QAccessible::Text kind) const override;

  // Installed with QAccessible::installFactory; answers for labels only.
  static QAccessibleInterface* Factory(const QString& className, QObject* object);

 private:
  const TLabel& Label() const;
};

}  // namespace vexilo
