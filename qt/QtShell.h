#pragma once

#include <QString>
#include <filesystem>

#include "window/View.h"

class QWidget;

namespace vexilo {

// The desktop as the commands see it on Qt: the locale's decimal separator, the save dialog
// and message boxes, each modal to the window, which gives up its topmost place meanwhile.
class QtShell : public Shell {
 public:
  explicit QtShell(QWidget& window);

  // The separator of the default locale, read on every call: the system's regional settings
  // unless the program set another default.
  std::string DecimalSeparator() override;
  std::optional<std::filesystem::path> AskSaveFileName(
      const std::filesystem::path& lastName) override;
  void ShowMessage(MessageKind kind, std::string_view text) override;

  static QString ToQString(const std::filesystem::path& path);
  static std::filesystem::path ToPath(const QString& name);

 protected:
  QWidget& Window() const { return window_; }

 private:
  QWidget& window_;
};

}  // namespace vexilo
