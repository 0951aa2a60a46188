#include "qt/TForm1.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <exception>

#include "qt/Fonts.h"
#include "qt/Palette.h"
#include "qt/QtShell.h"
#include "qt/SegmentedBarStyle.h"
#include "qt/TColorBtn.h"
#include "qt/TLabel.h"
#include "window/Centring.h"

namespace vexilo {
namespace {

QString Text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

bool IsPlainKey(const QKeyEvent& key) {
  return (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0;
}

// A screen reader sees the main window as a frame named by its title, not as an anonymous pane.
QAccessibleInterface* WindowAccessible(const QString&, QObject* object) {
  auto* form = qobject_cast<TForm1*>(object);
  return form == nullptr ? nullptr : new QAccessibleWidget(form, QAccessible::Window);
}

}  // namespace

TForm1::TForm1(const ShellFactory& makeShell)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      barStyle_(std::make_unique<SegmentedBarStyle>()) {
  QAccessible::installFactory(&WindowAccessible);  // once: Qt keeps no duplicates
  setObjectName(Text(kFormName));
  setWindowTitle(Text(kFormCaption));
  setFixedSize(kClientWidth, kClientHeight);
  QPalette face = palette();
  face.setColor(QPalette::Window, ToQColor(kFormColor, face));
  setPalette(face);
  setAutoFillBackground(true);
  setFont(ToQFont(FontOf(kFormFont)));
  Build();
  shell_ = makeShell ? makeShell(*this) : std::make_unique<QtShell>(*this);
  board_ = std::make_unique<Board>(*this, *shell_);
  focusWatch_ = connect(qApp, &QApplication::focusChanged, this, &TForm1::FocusChanged);
  Guarded([this] { FormCreate(); });
  Control(FirstFocus())->setFocus(Qt::OtherFocusReason);
}

// The children go after this class is gone: they must not call back into it on the way out.
TForm1::~TForm1() {
  disconnect(focusWatch_);
  for (QWidget* control : controls_) control->removeEventFilter(this);
  if (windowHandle() != nullptr) windowHandle()->removeEventFilter(this);
}

void TForm1::Build() {
  const std::span<const vexilo::Control> form = FormControls();
  controls_.reserve(form.size());
  labels_.assign(form.size(), nullptr);
  bars_.assign(form.size(), nullptr);
  for (std::size_t i = 0; i < form.size(); ++i) {
    QWidget* widget = Make(form[i]);
    widget->setObjectName(Text(form[i].name.view()));
    widget->setAccessibleName(Text(form[i].accessibleName.view()));
    if (form[i].kind != ckLabel)
      widget->setGeometry(form[i].left, form[i].top, form[i].width, form[i].height);
    if (form[i].tabOrder >= 0) widget->installEventFilter(this);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      const int index = static_cast<int>(i);
      connect(button, &QAbstractButton::clicked, this, [this, index] { Click(index); });
    }
    controls_.push_back(widget);
  }
}

// Labels first, so buttons and bars, made later, lie above them where they overlap.
QWidget* TForm1::Make(const vexilo::Control& control) {
  const std::size_t index = controls_.size();
  switch (control.kind) {
    case ckLabel: {
      auto* label = new TLabel(control, this);
      labels_[index] = label;
      return label;
    }
    case ckColorBtn: {
      auto* button = new TColorBtn(this);
      button->SetFontSpec(control.font);
      button->SetCaption(control.text.view());
      button->SetColor(control.color);
      colorBtns_.push_back(button);
      return button;
    }
    case ckProgressBar: {
      auto* bar = new QProgressBar(this);
      bar->setStyle(barStyle_.get());
      bar->setRange(0, 100);
      bar->setValue(0);
      bar->setTextVisible(false);
      bar->setFocusPolicy(Qt::NoFocus);  // reached by the arrow keys only
      bars_[index] = bar;
      return bar;
    }
    case ckButton: {
      auto* button = new QPushButton(Text(control.text.view()), this);
      button->setFont(ToQFont(control.font));
      button->setAutoDefault(false);
      return button;
    }
  }
  return new QWidget(this);
}

QWidget* TForm1::Control(std::string_view name) const {
  const int index = FindControl(name);
  return index < 0 ? nullptr : Control(index);
}

void TForm1::SetText(int control, std::string_view text) {
  labels_.at(static_cast<std::size_t>(control))->SetCaption(text);
}

void TForm1::SetColor(int control, TColor color) {
  labels_.at(static_cast<std::size_t>(control))->SetColor(color);
}

void TForm1::SetPosition(int control, int position) {
  bars_.at(static_cast<std::size_t>(control))->setValue(position);
}

// Placement happens at the first show; the zero display is written here, before it.
void TForm1::FormCreate() {
  board_->FormCreate();
}

void TForm1::ColorBtnClick(int number) {
  board_->SpinClick(number);
}

void TForm1::Button1Click() {
  board_->BackClick();
}

void TForm1::Button2Click() {
  board_->ResetClick();
}

void TForm1::DATASAVEClick() {
  board_->DataSaveClick();
}

void TForm1::Click(int control) {
  const vexilo::Control& row = FormControls()[static_cast<std::size_t>(control)];
  Guarded([this, &row] {
    switch (row.command) {
      case cmSpin:
        ColorBtnClick(row.number);
        break;
      case cmBack:
        Button1Click();
        break;
      case cmReset:
        Button2Click();
        break;
      case cmDataSave:
        DATASAVEClick();
        break;
      case cmNone:
        break;
    }
  });
}

// The general error report: a failure that leaves a handler is shown, and the program goes on.
template <class Handler>
void TForm1::Guarded(Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& failure) {
    shell_->ShowMessage(mkError, failure.what());
  } catch (...) {
    shell_->ShowMessage(mkError, "An unexpected failure occurred.");
  }
}

// Only the number button that holds the focus within the window looks active; a bar or a
// standard button with the focus leaves none active. Leaving the application changes nothing.
void TForm1::FocusChanged(QWidget*, QWidget* now) {
  if (now == nullptr || now->window() != this) return;
  for (TColorBtn* button : colorBtns_) button->SetActive(button == now);
}

void TForm1::MoveFocus(bool forward, FocusMove move) {
  const auto found = std::ranges::find(controls_, focusWidget());
  const int current = found == controls_.end() ? -1 : static_cast<int>(found - controls_.begin());
  const int next = current < 0 ? FirstFocus() : NextFocus(current, forward, move);
  Control(next)->setFocus(move == fmTab ? (forward ? Qt::TabFocusReason : Qt::BacktabFocusReason)
                                        : Qt::OtherFocusReason);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == windowHandle()) {
    WatchFrame(*event);
    return false;
  }
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
    for (TColorBtn* button : colorBtns_) {
      if (button != watched) button->ForgetPress();  // a double press stays on one button
    }
  }
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  if (!IsPlainKey(*key)) return false;
  switch (key->key()) {
    case Qt::Key_Tab:
      MoveFocus(!(key->modifiers() & Qt::ShiftModifier), fmTab);
      return true;
    case Qt::Key_Backtab:
      MoveFocus(false, fmTab);
      return true;
    case Qt::Key_Right:
    case Qt::Key_Down:
      MoveFocus(true, fmArrow);
      return true;
    case Qt::Key_Left:
    case Qt::Key_Up:
      MoveFocus(false, fmArrow);
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      // A standard button with the focus is the active one: Enter clicks it.
      auto* button = qobject_cast<QPushButton*>(watched);
      if (button != nullptr && qobject_cast<TColorBtn*>(watched) == nullptr &&
          !(key->modifiers() & Qt::ShiftModifier)) {
        button->click();
        return true;
      }
      return false;
    }
    default:
      return false;
  }
}

bool TForm1::focusNextPrevChild(bool next) {
  MoveFocus(next, fmTab);
  return true;
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (std::exchange(shown_, true)) return;
  windowHandle()->installEventFilter(this);
  CentreOnPrimaryScreen();
  // Without a window manager nobody else gives the new window the focus; once it is mapped,
  // it asks for it itself.
  QTimer::singleShot(0, this, [this] { activateWindow(); });
}

// A window manager frames the window once it is mapped, after the first placement. When the frame
// turns out other than the one the window was centred with, it is centred again: the window
// hears of its frame when the manager moves it into it, before it is first exposed. After that
// the window stays where the user puts it.
void TForm1::WatchFrame(const QEvent& event) {
  if (event.type() != QEvent::Move && event.type() != QEvent::Expose) return;
  if (windowHandle()->frameMargins() == centredFrame_) return;
  CentreOnPrimaryScreen();
  windowHandle()->removeEventFilter(this);
}

// Centred on the primary screen with its frame, as far as the frame is known yet.
void TForm1::CentreOnPrimaryScreen() {
  QWindow* window = windowHandle();
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (window == nullptr || screen == nullptr) return;
  centredFrame_ = window->frameMargins();
  const QRect area = screen->geometry();
  const QSize outer = size().grownBy(centredFrame_);
  const Origin origin =
      CentredOrigin({area.left(), area.top(), area.right() + 1, area.bottom() + 1}, outer.width(),
                    outer.height());
  window->setFramePosition({origin.left, origin.top});
}

}  // namespace vexilo
