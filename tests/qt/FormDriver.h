#pragma once

#include <QAccessible>
#include <QImage>
#include <QProgressBar>
#include <QPushButton>
#include <QString>
#include <memory>
#include <vector>

#include "qt/TColorBtn.h"
#include "qt/TForm1.h"
#include "qt/TLabel.h"

namespace vexilo::test {

// The main window shown and active on the offscreen platform, with handles on its controls.
class FormDriver {
 public:
  explicit FormDriver(const TForm1::ShellFactory& makeShell = {});

  TForm1& Form() { return *form_; }
  TLabel& Label(int number);
  QProgressBar& Bar(int number);
  TColorBtn& NumberButton(int n);  // ColorBtn(n + 1), the button of number n
  QPushButton& Command(std::string_view name);
  QString Text(int label) { return Label(label).Caption(); }

  // Clicks through the real widgets, as the user would.
  void Press(int n);
  void Back();
  void Reset();

 private:
  std::unique_ptr<TForm1> form_;
};

// Everything a control shows: a label's text and colour, a bar's position, and what a screen
// reader reads of it.
struct Shown {
  QString name;
  QString text;
  TColor color;
  int position;
  QString accessible;
  bool operator==(const Shown&) const = default;
};
std::vector<Shown> Snapshot(TForm1& form);
// A screen reader's view of a control: its name, value and description.
QString AccessibleText(QWidget& widget, QAccessible::Text text);
// What a screen reader reads of a control: its name, then the text it shows, "count of 17, 3".
QString ReadOut(QWidget& widget);

QImage Render(QWidget& widget);
inline TColor Pixel(const QImage& image, int x, int y) {
  const QRgb rgb = image.pixel(x, y);
  return MakeColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

}  // namespace vexilo::test
