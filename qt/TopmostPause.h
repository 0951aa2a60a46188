#pragma once

#include <QPointer>
#include <QWindow>

class QWidget;

namespace vexilo {

// While one of the window's own modal dialogs is open, the window gives up its place above
// other windows so that the dialog shows above it; it takes the place back afterwards.
class TopmostPause {
 public:
  explicit TopmostPause(QWidget& window);
  ~TopmostPause();
  TopmostPause(const TopmostPause&) = delete;
  TopmostPause& operator=(const TopmostPause&) = delete;

 private:
  QPointer<QWindow> window_;
  bool paused_ = false;
};

}  // namespace vexilo
