#include "FormDriver.h"

#include <QApplication>
#include <QTest>

#include "qt/Palette.h"

namespace vexilo::test {

FormDriver::FormDriver(const TForm1::ShellFactory& makeShell)
    : form_(std::make_unique<TForm1>(makeShell)) {
  form_->show();
  form_->activateWindow();
  if (!QTest::qWaitForWindowActive(form_.get())) qWarning("the window did not become active");
}

TLabel& FormDriver::Label(int number) {
  return *static_cast<TLabel*>(form_->Control(ControlOf(LabelNumber{number})));
}

QProgressBar& FormDriver::Bar(int number) {
  return *static_cast<QProgressBar*>(form_->Control(ControlOf(BarNumber{number})));
}

TColorBtn& FormDriver::NumberButton(int n) {
  return *static_cast<TColorBtn*>(form_->Control(ControlNamed("ColorBtn", n + 1)));
}

QPushButton& FormDriver::Command(std::string_view name) {
  return *static_cast<QPushButton*>(form_->Control(name));
}

void FormDriver::Press(int n) {
  QTest::mouseClick(&NumberButton(n), Qt::LeftButton);
}
void FormDriver::Back() {
  QTest::mouseClick(&Command("Button1"), Qt::LeftButton);
}
void FormDriver::Reset() {
  QTest::mouseClick(&Command("Button2"), Qt::LeftButton);
}

std::vector<Shown> Snapshot(TForm1& form) {
  std::vector<Shown> shown;
  const std::span<const Control> controls = FormControls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    QWidget* widget = form.Control(ControlIndex{static_cast<int>(i)});
    Shown entry{widget->objectName(), {}, 0, -1, ReadOut(*widget)};
    if (auto* label = qobject_cast<TLabel*>(widget)) {
      entry.text = label->Caption();
      entry.color = label->Color();
    } else if (auto* bar = qobject_cast<QProgressBar*>(widget)) {
      entry.position = bar->value();
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      entry.text = button->text();
    }
    shown.push_back(entry);
  }
  return shown;
}

QString AccessibleText(QWidget& widget, QAccessible::Text text) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&widget);
  return accessible == nullptr ? QStringLiteral("<not accessible>") : accessible->text(text);
}

QString ReadOut(QWidget& widget) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&widget);
  if (accessible == nullptr) return QStringLiteral("<not accessible>");
  const QString name = accessible->text(QAccessible::Name);
  const QAccessibleTextInterface* text = accessible->textInterface();
  const QString shown = text == nullptr ? QString() : text->text(0, text->characterCount());
  return shown.isEmpty() ? name : name + QStringLiteral(", ") + shown;
}

QImage Render(QWidget& widget) {
  return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace vexilo::test
