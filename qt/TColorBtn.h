#pragma once

#include <QFont>
#include <QPoint>
#include <QPushButton>
#include <optional>
#include <string_view>

#include "window/ColorBtn.h"

namespace vexilo {

// A push button that paints itself completely through the shared colour-button painting:
// any colour, a bevel, the active frame and a focus outline, a centred word-wrapped caption.
// It clicks like a push button, except that the second press of a quick double press on the
// same button raises no click.
class TColorBtn final : public QPushButton {
  Q_OBJECT

 public:
  explicit TColorBtn(QWidget* parent = nullptr);

  TColorBtnBevel BevelStyle() const { return core_.BevelStyle(); }
  void SetBevelStyle(TColorBtnBevel style);
  int BevelWidth() const { return core_.BevelWidth(); }
  void SetBevelWidth(int width);
  char CaptionSeparator() const { return core_.CaptionSeparator(); }
  void SetCaptionSeparator(char separator);
  TColor Color() const { return core_.Color(); }
  void SetColor(TColor color);
  // The default-button look: set from the window's focus changes, repainted at once.
  bool Active() const { return core_.Active(); }
  void SetActive(bool active);
  void SetCaption(std::string_view utf8);
  void SetFontSpec(const FontSpec& font);
  // A press elsewhere in between: the next press here is a first one.
  void ForgetPress() { lastPress_.reset(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // A press on this button that a second one may pair with into a double press.
  struct Press {
    quint64 timestamp;
    QPoint global;
  };
  bool PairsWithLastPress(const QMouseEvent& event) const;

  ColorBtn core_;
  QFont font_;
  std::optional<Press> lastPress_;
};

}  // namespace vexilo
