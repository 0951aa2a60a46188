#include "qt/TopmostPause.h"

#include <QWidget>

namespace vexilo {

// The flags go to the native window directly: changing the widget's flags would re-create
// and hide it.
TopmostPause::TopmostPause(QWidget& window) : window_(window.windowHandle()) {
  if (window_ != nullptr && window_->flags().testFlag(Qt::WindowStaysOnTopHint)) {
    window_->setFlags(window_->flags() & ~Qt::WindowStaysOnTopHint);
    paused_ = true;
  }
}

TopmostPause::~TopmostPause() {
  if (paused_ && window_ != nullptr) window_->setFlags(window_->flags() | Qt::WindowStaysOnTopHint);
}

}  // namespace vexilo
