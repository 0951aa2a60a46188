#include "qt/TForm1.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <exception>

#include "qt/Fonts.h"
#include "qt/Palette.h"
#include "qt/QtShell.h"
#include "qt/SegmentedBarStyle.h"
#include "qt/TColorBtn.h"
#include "qt/TLabel.h"

namespace vexilo {
namespace {

QString Text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

bool IsPlainKey(const QKeyEvent& key) {
  return (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0;
}

}  // namespace

TForm1::TForm1(const ShellFactory& makeShell)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      barStyle_(std::make_unique<SegmentedBarStyle>()) {
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
      colorBtns_.push_back(button);
      return button;
    }
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(this);
      bar->setStyle(barStyle_.get());
      bar->setRange(0, 100);
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
  const vexilo::Control& row = ControlAt(control);
  Guarded([this, &row] {
    switch (row.command) {
      case Command::Spin:
        ColorBtnClick(row.number);
        break;
      case Command::Back:
        Button1Click();
        break;
      case Command::Reset:
        Button2Click();
        break;
      case Command::DataSave:
        DATASAVEClick();
        break;
      case Command::None:
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
    shell_->ShowMessage(MessageKind::Error, failure.what());
  } catch (...) {
    shell_->ShowMessage(MessageKind::Error, "An unexpected failure occurred.");
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
  std::optional<ControlIndex> current;
  if (found != controls_.end()) current = ControlIndex{static_cast<int>(found - controls_.begin())};
  const ControlIndex next = NextFocus(current, forward, move);
  Control(next)->setFocus(move == FocusMove::Tab
                              ? (forward ? Qt::TabFocusReason : Qt::BacktabFocusReason)
                              : Qt::OtherFocusReason);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
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
      MoveFocus(!(key->modifiers() & Qt::ShiftModifier), FocusMove::Tab);
      return true;
    case Qt::Key_Backtab:
      MoveFocus(false, FocusMove::Tab);
      return true;
    case Qt::Key_Right:
    case Qt::Key_Down:
      MoveFocus(true, FocusMove::Arrow);
      return true;
    case Qt::Key_Left:
    case Qt::Key_Up:
      MoveFocus(false, FocusMove::Arrow);
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
  MoveFocus(next, FocusMove::Tab);
  return true;
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (std::exchange(shown_, true)) return;
  CentreOnPrimaryScreen();
  // Without a window manager nobody else gives the new window the focus; once it is mapped,
  // it asks for it itself.
  QTimer::singleShot(0, this, [this] { activateWindow(); });
}

// Centred on the primary screen, frame included, never above or left of its corner.
void TForm1::CentreOnPrimaryScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  const QSize outer = frameGeometry().size();
  move(area.left() + std::max(0, (area.width() - outer.width()) / 2),
       area.top() + std::max(0, (area.height() - outer.height()) / 2));
}

}  // namespace vexilo
