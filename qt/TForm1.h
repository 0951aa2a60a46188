#pragma once

#include <QMargins>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "window/Board.h"
#include "window/FormTable.h"
#include "window/Navigation.h"
#include "window/Shell.h"
#include "window/View.h"

class QProgressBar;
class QPushButton;

namespace vexilo {

class SegmentedBarStyle;
class TColorBtn;
class TLabel;

// The one main window: every control built from the control table, the displays written by the
// Board through the View, the keyboard walk of the table's tab order, the window's placement.
class TForm1 final : public QWidget, public View {
  Q_OBJECT

 public:
  // Makes the desktop shell the commands use; the default is the real QtShell.
  using ShellFactory = std::function<std::unique_ptr<Shell>(QWidget& window)>;

  explicit TForm1(const ShellFactory& makeShell = {});
  ~TForm1() override;

  void SetText(ControlIndex control, std::string_view text) override;
  void SetColor(ControlIndex control, TColor color) override;
  void SetPosition(ControlIndex control, int position) override;

  // The handlers, named after the design. ColorBtn1Click .. ColorBtn37Click share one body.
  void FormCreate();
  void ColorBtnClick(int number);
  void Button1Click();
  void Button2Click();
  void DATASAVEClick();

  QWidget* Control(ControlIndex index) const {
    return controls_[static_cast<std::size_t>(index.value)];
  }
  QWidget* Control(std::string_view name) const;
  const SpinTally& Tally() const { return board_->Tally(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Build();
  QWidget* Make(const vexilo::Control& control);
  void Click(ControlIndex control);
  template <class Handler>
  void Guarded(Handler&& handler);
  std::optional<ControlIndex> IndexOf(const QWidget* widget) const;
  void FocusChanged(QWidget* old, QWidget* now);
  void MoveFocus(bool forward, FocusMove move);
  void CentreOnPrimaryScreen();
  void WatchFrame(const QEvent& event);

  std::unique_ptr<SegmentedBarStyle> barStyle_;
  std::vector<QWidget*> controls_;   // by control index
  std::vector<TLabel*> labels_;      // by control index, null for other kinds
  std::vector<QProgressBar*> bars_;  // by control index, null for other kinds
  std::vector<std::pair<ControlIndex, TColorBtn*>> colorBtns_;  // the 37 number buttons
  std::unique_ptr<Shell> shell_;
  std::unique_ptr<Board> board_;
  QMetaObject::Connection focusWatch_;
  QMargins centredFrame_;  // the window frame the last centring counted
  bool shown_ = false;
};

}  // namespace vexilo
