#pragma once

#include <QFileDialog>

namespace vexilo {

// The spin log's save dialog: Qt's own dialog (so that the prompts below always run), every
// file listed, "CSV" appended to a name typed without an extension. Before it accepts a name it
// makes sure the folder exists, refuses a read-only file or a folder that cannot be written,
// and asks before replacing an existing file or creating a new one.
class SaveDialog final : public QFileDialog {
  Q_OBJECT

 public:
  explicit SaveDialog(QWidget* parent);

  void accept() override;

 private:
  void Refuse(const QString& text);
  bool Confirm(const QString& text);
};

}  // namespace vexilo
