#include "qt/QtShell.h"

#include <QLocale>
#include <QMessageBox>

#include "qt/SaveDialog.h"
#include "qt/TopmostPause.h"
#include "window/FormTable.h"

namespace vexilo {

QtShell::QtShell(QWidget& window) : window_(window) {}

std::string QtShell::DecimalSeparator() {
  const QString separator = QLocale().decimalPoint();
  return separator.isEmpty() ? std::string(".") : separator.toStdString();
}

std::optional<std::string> QtShell::AskSaveFileName(std::string_view lastName) {
  SaveDialog dialog(&window_);
  if (!lastName.empty()) dialog.selectFile(ToQString(lastName));
  const TopmostPause pause(window_);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return ToPath(dialog.selectedFiles().first());
}

void QtShell::ShowMessage(MessageKind kind, std::string_view text) {
  const QMessageBox::Icon icon = kind == MessageKind::Error     ? QMessageBox::Critical
                                 : kind == MessageKind::Warning ? QMessageBox::Warning
                                                                : QMessageBox::Information;
  QMessageBox box(
      icon, QString::fromUtf8(kFormCaption.data(), static_cast<qsizetype>(kFormCaption.size())),
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok,
      &window_);
  const TopmostPause pause(window_);
  box.exec();
}

QString QtShell::ToQString(std::string_view path) {
  return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

std::string QtShell::ToPath(const QString& name) {
  return name.toStdString();
}

}  // namespace vexilo
