#pragma once

#include <QFont>
#include <QString>
#include <QWidget>
#include <string_view>

#include "window/FormTable.h"

namespace vexilo {

// Static or display text: opaque, sized to exactly its text in its font (an empty text measures
// as one space), never wrapped. A right-justified label keeps its right edge when the text
// changes, a left-justified one its left edge.
class TLabel final : public QWidget {
  Q_OBJECT

 public:
  TLabel(const Control& control, QWidget* parent);

  void SetCaption(std::string_view utf8);
  const QString& Caption() const { return caption_; }
  // The background colour, kept as given (clBtnFace stays a system colour) and resolved when
  // painting.
  void SetColor(TColor color);
  TColor Color() const { return color_; }
  // A display is written by the commands (a count, a share, the spin count, a strip slot); a
  // change of its text is announced to screen readers.
  bool IsDisplay() const { return row_.display; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Fit();
  void Announce(const QString& previous);

  QFont font_;
  FontSpec spec_;
  QString caption_;
  std::string utf8_;
  TColor color_;
  Control row_;  // its row of the control table: where it stands and which edge stays put
};

}  // namespace vexilo
