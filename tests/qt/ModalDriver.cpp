#include "ModalDriver.h"

#include <QApplication>
#include <QDialog>

namespace vexilo::test {

ModalDriver::ModalDriver() {
  timer_.setInterval(5);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
  timer_.start();
}

ModalDriver::~ModalDriver() {
  timer_.stop();
}

void ModalDriver::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal != nullptr && modal == last_ && since_.elapsed() > kPatienceMs) {
    ++unexpected_;  // a step that failed half-way left its dialog open
    since_.restart();
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    return;
  }
  if (modal == nullptr || modal == last_ || !modal->isVisible()) {
    candidate_ = nullptr;
    return;
  }
  // A dialog under one that is closing shows as the active modal for a moment before its own
  // command goes on: act only on one that stays active from one poll to the next.
  if (modal != candidate_) {
    candidate_ = modal;
    return;
  }
  candidate_ = nullptr;
  since_.restart();
  last_ = modal;
  ++seen_;
  if (steps_.empty() || !modal->inherits(steps_.front().type->className())) {
    ++unexpected_;  // closed, so that a wrong turn fails the test instead of hanging it
    qWarning("unexpected modal %s: %s", modal->metaObject()->className(),
             qPrintable(modal->windowTitle()));
    QTimer::singleShot(0, modal, [modal] {
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
    return;
  }
  Step run = std::move(steps_.front().run);
  steps_.pop_front();
  // Outside this timer's slot: a step may open a nested dialog, and the timer must go on.
  QTimer::singleShot(0, modal, [run, modal] { run(modal); });
}

}  // namespace vexilo::test
