#include "qt/SaveDialog.h"

#include <QFileInfo>
#include <QMessageBox>

namespace vexilo {
namespace {

// Read-only as the user sees it: not writable for us, or without any write permission at all
// (which an administrator could still override, but the file is marked read-only all the same).
bool MarkedReadOnly(const QFileInfo& info) {
  constexpr QFileDevice::Permissions kWrite =
      QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
  return !info.isWritable() || (info.permissions() & kWrite) == 0;
}

}  // namespace

SaveDialog::SaveDialog(QWidget* parent) : QFileDialog(parent) {
  setObjectName(QStringLiteral("datasaving"));
  setOption(QFileDialog::DontUseNativeDialog);
  setOption(QFileDialog::DontConfirmOverwrite);  // asked below, after the suffix is added
  setAcceptMode(QFileDialog::AcceptSave);
  setFileMode(QFileDialog::AnyFile);
  setDefaultSuffix(QStringLiteral("CSV"));
  setSizeGripEnabled(true);
}

void SaveDialog::accept() {
  const QStringList files = selectedFiles();
  if (files.isEmpty()) return;
  const QFileInfo file(files.first());
  if (file.isDir()) {  // the dialog opens the folder
    QFileDialog::accept();
    return;
  }
  const QFileInfo folder(file.absolutePath());
  const QString name = QDir::toNativeSeparators(file.absoluteFilePath());
  if (!folder.isDir()) {
    Refuse(tr("The folder of %1 does not exist.\nCheck the path and try again.").arg(name));
    return;
  }
  if ((file.exists() && MarkedReadOnly(file)) || MarkedReadOnly(folder)) {
    Refuse(tr("%1 is read-only or in a folder that cannot be written.\nChoose another name.")
               .arg(name));
    return;
  }
  const QString question = file.exists()
                               ? tr("%1 already exists.\nDo you want to replace it?").arg(name)
                               : tr("%1 does not exist.\nDo you want to create it?").arg(name);
  if (Confirm(question)) QFileDialog::accept();
}

void SaveDialog::Refuse(const QString& text) {
  QMessageBox::warning(this, windowTitle(), text);
}

bool SaveDialog::Confirm(const QString& text) {
  return QMessageBox::question(this, windowTitle(), text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace vexilo
