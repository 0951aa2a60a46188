#include "qt/QtShell.h"

#include <QFile>
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

std::optional<std::filesystem::path> QtShell::AskSaveFileName(
    const std::filesystem::path& lastName) {
  SaveDialog dialog(&window_);
  if (!lastName.empty()) dialog.selectFile(ToQString(lastName));
  const TopmostPause pause(window_);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return ToPath(dialog.selectedFiles().first());
}

void QtShell::ShowMessage(MessageKind kind, std::string_view text) {
  const QMessageBox::Icon icon = kind == mkError     ? QMessageBox::Critical
                                 : kind == mkWarning ? QMessageBox::Warning
                                                     : QMessageBox::Information;
  QMessageBox box(
      icon, QString::fromUtf8(kFormCaption.data(), static_cast<qsizetype>(kFormCaption.size())),
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok,
      &window_);
  const TopmostPause pause(window_);
  box.exec();
}

QString QtShell::ToQString(const std::filesystem::path& path) {
  return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

std::filesystem::path QtShell::ToPath(const QString& name) {
  return std::filesystem::path(QFile::encodeName(name).toStdString());
}

}  // namespace vexilo
