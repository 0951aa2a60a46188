#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

namespace vexilo::test {

// Answers the modal dialogs a command opens, one scripted step per dialog, in order. Each step
// waits for a new modal widget of its type and runs from the event loop of that dialog.
class ModalDriver {
 public:
  using Step = std::function<void(QWidget*)>;

  ModalDriver();
  ~ModalDriver();

  template <class Dialog>
  void Expect(std::function<void(Dialog*)> step) {
    steps_.push_back(
        {&Dialog::staticMetaObject, [step](QWidget* w) { step(qobject_cast<Dialog*>(w)); }});
  }
  bool Done() const { return steps_.empty(); }
  int Seen() const { return seen_; }
  int Unexpected() const { return unexpected_; }

 private:
  struct Entry {
    const QMetaObject* type;
    Step run;
  };
  void Poll();

  static constexpr int kPatienceMs = 10000;

  QTimer timer_;
  QElapsedTimer since_;
  std::deque<Entry> steps_;
  QPointer<QWidget> last_;
  QPointer<QWidget> candidate_;
  int seen_ = 0;
  int unexpected_ = 0;
};

}  // namespace vexilo::test
