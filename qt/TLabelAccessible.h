#pragma once

#include <QAccessibleWidget>

namespace vexilo {

class TLabel;

// What a screen reader learns of a label: the name the control table gives it and, through the
// text interface, the text it shows, so that a display reads as "count of 17, 3". The text
// cannot be selected or edited.
class TLabelAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit TLabelAccessible(TLabel* label);

  QString text(QAccessible::Text kind) const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  QString text(int startOffset, int endOffset) const override;
  int characterCount() const override;
  QRect characterRect(int offset) const override;
  int offsetAtPoint(const QPoint& point) const override;
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  int selectionCount() const override { return 0; }
  void selection(int, int* startOffset, int* endOffset) const override;
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int* startOffset, int* endOffset) const override;

  // Installed with QAccessible::installFactory; answers for labels only.
  static QAccessibleInterface* Factory(const QString& className, QObject* object);

 private:
  const TLabel& Label() const;
};

}  // namespace vexilo
