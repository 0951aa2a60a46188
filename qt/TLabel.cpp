#include "qt/TLabel.h"

#include <QAccessible>
#include <QPainter>
#include <array>
#include <utility>

#include "engine/SpinTally.h"
#include "qt/Fonts.h"
#include "qt/Palette.h"
#include "qt/QtCanvas.h"
#include "qt/TLabelAccessible.h"
#include "window/DisplayMap.h"

namespace vexilo {
namespace {

constexpr unsigned kLabelFlags = dtLeft | dtExpandTabs;

constexpr int kLastLabel = 223;

// The labels the commands write, by label number.
constexpr std::array<bool, kLastLabel + 1> MakeDisplays() {
  std::array<bool, kLastLabel + 1> displays{};
  for (int slot = 0; slot < kStripSlots; ++slot) displays[kFirstStripLabel + slot] = true;
  displays[kSpinCountLabel] = true;
  for (int n = 0; n < kPockets; ++n) {
    displays[kFirstNumberCountLabel + n] = true;
    displays[kFirstNumberShareLabel + n] = true;
  }
  for (const GroupDisplay& group : kGroupDisplays) {
    displays[group.countLabel] = true;
    displays[group.shareLabel] = true;
  }
  return displays;
}
constexpr std::array<bool, kLastLabel + 1> kDisplays = MakeDisplays();

bool IsDisplayLabel(std::string_view name) {
  constexpr std::string_view kPrefix = "Label";
  if (!name.starts_with(kPrefix) || name.size() == kPrefix.size()) return false;
  int number = 0;
  for (const char ch : name.substr(kPrefix.size())) {
    if (ch < '0' || ch > '9' || number > kLastLabel) return false;
    number = number * 10 + (ch - '0');
  }
  return number <= kLastLabel && kDisplays[static_cast<std::size_t>(number)];
}

}  // namespace

TLabel::TLabel(const Control& control, QWidget* parent)
    : QWidget(parent),
      font_(ToQFont(control.font)),
      spec_(control.font),
      color_(control.color),
      alignment_(control.alignment),
      anchorLeft_(control.left),
      anchorRight_(control.left + control.width),
      top_(control.top),
      display_(IsDisplayLabel(control.name.view())) {
  QAccessible::installFactory(&TLabelAccessible::Factory);  // once: Qt keeps no duplicates
  setObjectName(QString::fromLatin1(control.name.view().data(),
                                    static_cast<qsizetype>(control.name.view().size())));
  setAccessibleName(
      QString::fromUtf8(control.accessibleName.view().data(),
                        static_cast<qsizetype>(control.accessibleName.view().size())));
  setFocusPolicy(Qt::NoFocus);
  setFont(font_);
  utf8_ = control.text.view();
  caption_ = QString::fromUtf8(utf8_.data(), static_cast<qsizetype>(utf8_.size()));
  Fit();
}

void TLabel::SetCaption(std::string_view utf8) {
  if (utf8 == utf8_) return;
  utf8_ = utf8;
  const QString previous =
      std::exchange(caption_, QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  Fit();
  update();
  if (display_) Announce(previous);
}

// The shown text changed as a whole; a screen reader that listens updates what it reads.
void TLabel::Announce(const QString& previous) {
  if (!QAccessible::isActive()) return;  // nobody listens: no events to build
  QAccessibleTextUpdateEvent update(this, 0, previous, caption_);
  QAccessible::updateAccessibility(&update);
}

void TLabel::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  update();
}

// The box is the text's extent; the anchored edge stays where the design put it.
void TLabel::Fit() {
  const Rect box =
      QtCanvas::MeasureText(font_, utf8_.empty() ? " " : utf8_, {0, 0, 0, 0}, kLabelFlags);
  const int width = box.right;
  int left = anchorLeft_;
  if (alignment_ == taRightJustify) left = anchorRight_ - width;
  if (alignment_ == taCenter) left = (anchorLeft_ + anchorRight_ - width) / 2;
  setGeometry(left, top_, width, box.bottom);
}

void TLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QtCanvas canvas(painter, palette());
  canvas.SetQFont(font_);
  const TColor face = FromQColor(ToQColor(color_, palette()));
  canvas.FillRect({0, 0, width(), height()}, face);
  canvas.SetBkOpaque(false);
  canvas.SetTextColor(FromQColor(ToQColor(spec_.colour, palette())));
  Rect box{0, 0, width(), height()};
  canvas.DrawText(utf8_, box, kLabelFlags);
}

}  // namespace vexilo
