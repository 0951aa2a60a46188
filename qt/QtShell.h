#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "window/Shell.h"

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
  std::optional<std::string> AskSaveFileName(std::string_view lastName) override;
  void ShowMessage(MessageKind kind, std::string_view text) override;

  // File names between Qt and the core, which keeps them as UTF-8 text.
  static QString ToQString(std::string_view path);
  static std::string ToPath(const QString& name);

 protected:
  QWidget& Window() const { return window_; }

 private:
  QWidget& window_;
};

}  // namespace vexilo
