#include "bench/qt/BareForm.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "qt/Fonts.h"
#include "qt/Palette.h"
#include "window/FormTable.h"

namespace vexilo {
namespace {

QString Text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// What a label shows at start-up: a count "0", a share "0%", everything else its design text.
QString StartText(const Control& control) {
  if (control.text == "xxxx") return QStringLiteral("0");
  if (control.text == "xx.xx") return QStringLiteral("0%");
  return Text(control.text.view());
}

void Paint(QWidget& widget, QPalette::ColorRole role, TColor background, TColor text) {
  QPalette palette = widget.palette();
  palette.setColor(role, ToQColor(background, palette));
  palette.setColor(role == QPalette::Button ? QPalette::ButtonText : QPalette::WindowText,
                   ToQColor(text, palette));
  widget.setPalette(palette);
}

}  // namespace

BareForm::BareForm() {
  setWindowTitle(Text(kFormCaption));
  setFixedSize(kClientWidth, kClientHeight);
  setFont(ToQFont(FontOf(kFormFont)));
  labels_.assign(FormControls().size(), nullptr);
  for (std::size_t i = 0; i < FormControls().size(); ++i) Add(i);
}

void BareForm::Add(std::size_t index) {
  const Control& control = FormControls()[index];
  QWidget* widget = nullptr;
  switch (control.kind) {
    case ControlKind::Label: {
      auto* label = new QLabel(StartText(control), this);
      label->setAlignment(control.alignment == taRightJustify ? Qt::AlignRight : Qt::AlignLeft);
      // A stock label is clear: only one on a colour of its own fills its box.
      label->setAutoFillBackground(control.color != kFormColor);
      Paint(*label, QPalette::Window, control.color, control.font.color);
      labels_[index] = label;
      widget = label;
      break;
    }
    case ControlKind::ColorBtn:
    case ControlKind::Button: {
      auto* button = new QPushButton(Text(control.text.view()), this);
      Paint(*button, QPalette::Button, control.color, control.font.color);
      widget = button;
      break;
    }
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(this);
      bar->setRange(0, 100);
      bar->setTextVisible(false);
      widget = bar;
      break;
    }
  }
  widget->setFont(ToQFont(control.font));
  widget->setGeometry(control.left, control.top, control.width, control.height);
}

QLabel& BareForm::Label(int number) const {
  return *labels_.at(static_cast<std::size_t>(ControlOf(LabelNumber{number}).value));
}

}  // namespace vexilo
