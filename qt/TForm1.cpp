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
#include <array>

#include "qt/Fonts.h"
#include "qt/Palette.h"
#include "qt/QtShell.h"
#include "qt/SegmentedBarStyle.h"
#include "qt/TColorBtn.h"
#include "qt/TLabel.h"
#include "window/Centring.h"
#include "window/Guard.h"
#include "window/Keyboard.h"

namespace vexilo {
namespace {

QString Text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

struct KeyName {
  int qt;
  Key key;
};

// Qt's names of the keys the window answers; Backtab is Tab with Shift.
constexpr std::array<KeyName, 9> kKeyNames = {{
    {Qt::Key_Tab, Key::Tab},
    {Qt::Key_Backtab, Key::Tab},
    {Qt::Key_Right, Key::Right},
    {Qt::Key_Down, Key::Down},
    {Qt::Key_Left, Key::Left},
    {Qt::Key_Up, Key::Up},
    {Qt::Key_Space, Key::Space},
    {Qt::Key_Return, Key::Enter},
    {Qt::Key_Enter, Key::Enter},
}};

Key KeyOf(const QKeyEvent& event) {
  const auto name = std::ranges::find(kKeyNames, event.key(), &KeyName::qt);
  return name == kKeyNames.end() ? Key::Other : name->key;
}

KeyModifiers ModifiersOf(const QKeyEvent& event) {
  const Qt::KeyboardModifiers held = event.modifiers();
  return {.shift = held.testFlag(Qt::ShiftModifier) || event.key() == Qt::Key_Backtab,
          .control = held.testFlag(Qt::ControlModifier),
          .alt = held.testFlag(Qt::AltModifier),
          .meta = held.testFlag(Qt::MetaModifier)};
}

Qt::FocusReason ReasonOf(const KeyAction& action) {
  if (action.move != FocusMove::Tab) return Qt::OtherFocusReason;
  return action.forward ? Qt::TabFocusReason : Qt::BacktabFocusReason;
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
    if (form[i].kind != ControlKind::Label)
      widget->setGeometry(form[i].left, form[i].top, form[i].width, form[i].height);
    if (form[i].tabOrder >= 0) widget->installEventFilter(this);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      const ControlIndex index{static_cast<int>(i)};
      connect(button, &QAbstractButton::clicked, this, [this, index] { Click(index); });
    }
    controls_.push_back(widget);
  }
}

// Labels first, so buttons and bars, made later, lie above them where they overlap.
QWidget* TForm1::Make(const vexilo::Control& control) {
  const std::size_t index = controls_.size();
  switch (control.kind) {
    case ControlKind::Label: {
      auto* label = new TLabel(control, this);
      labels_[index] = label;
      return label;
    }
    case ControlKind::ColorBtn: {
      auto* button = new TColorBtn(this);
      button->SetFontSpec(control.font);
      button->SetCaption(control.text.view());
      button->SetColor(control.color);
      colorBtns_.emplace_back(ControlIndex{static_cast<int>(index)}, button);
      return button;
    }
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(this);
      bar->setStyle(barStyle_.get());
      bar->setRange(0, kBarMax);
      bar->setValue(0);
      bar->setTextVisible(false);
      bar->setFocusPolicy(Qt::NoFocus);  // reached by the arrow keys only
      bars_[index] = bar;
      return bar;
    }
    case ControlKind::Button: {
      auto* button = new QPushButton(Text(control.text.view()), this);
      button->setFont(ToQFont(control.font));
      button->setAutoDefault(false);
      return button;
    }
  }
  return new QWidget(this);
}

QWidget* TForm1::Control(std::string_view name) const {
  const std::optional<ControlIndex> index = FindControl(name);
  return index ? Control(*index) : nullptr;
}

void TForm1::SetText(ControlIndex control, std::string_view text) {
  labels_.at(static_cast<std::size_t>(control.value))->SetCaption(text);
}

void TForm1::SetColor(ControlIndex control, TColor color) {
  labels_.at(static_cast<std::size_t>(control.value))->SetColor(color);
}

void TForm1::SetPosition(ControlIndex control, int position) {
  bars_.at(static_cast<std::size_t>(control.value))->setValue(position);
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

void TForm1::Click(ControlIndex control) {
  Guarded([this, control] { board_->Click(control); });
}

// The general error report: a failure that leaves a handler is shown, and the program goes on.
template <class Handler>
void TForm1::Guarded(Handler&& handler) {
  RunReported(handler,
              [this](std::string_view text) { shell_->ShowMessage(MessageKind::Error, text); });
}

std::optional<ControlIndex> TForm1::IndexOf(const QWidget* widget) const {
  const auto found = std::ranges::find(controls_, widget);
  if (found == controls_.end()) return std::nullopt;
  return ControlIndex{static_cast<int>(found - controls_.begin())};
}

// Leaving the application changes nothing; within the window the focus decides which button
// is the active one.
void TForm1::FocusChanged(QWidget*, QWidget* now) {
  if (now == nullptr || now->window() != this) return;
  const std::optional<ControlIndex> focus = IndexOf(now);
  for (const auto& [index, button] : colorBtns_) button->SetActive(IsActiveButton(index, focus));
}

void TForm1::MoveFocus(bool forward, FocusMove move) {
  const ControlIndex next = NextFocus(IndexOf(focusWidget()), forward, move);
  Control(next)->setFocus(ReasonOf({KeyAction::Kind::Focus, next, move, forward}));
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == windowHandle()) {
    WatchFrame(*event);
    return false;
  }
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
    for (const auto& [index, button] : colorBtns_) {
      if (button != watched) button->ForgetPress();  // a double press stays on one button
    }
  }
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  const auto& key = static_cast<const QKeyEvent&>(*event);
  const KeyAction action = ActionOfKey(KeyOf(key), ModifiersOf(key), IndexOf(focusWidget()));
  switch (action.kind) {
    case KeyAction::Kind::Focus:
      Control(action.control)->setFocus(ReasonOf(action));
      return true;
    case KeyAction::Kind::Click:
      static_cast<QAbstractButton*>(Control(action.control))->click();
      return true;
    case KeyAction::Kind::Pass:
      break;
  }
  return false;
}

bool TForm1::focusNextPrevChild(bool next) {
  MoveFocus(next, FocusMove::Tab);
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
