#pragma once

#include <QWidget>
#include <vector>

class QLabel;

namespace vexilo {

// The yardstick of Vexilo's figures: a window of Qt's stock widgets, as many of each kind as
// Vexilo's window has, where its control table puts them, with the same texts, fonts and colours
// as at start-up, and no logic behind them.
class BareForm final : public QWidget {
 public:
  BareForm();

  // The stock label standing for Label<number>.
  QLabel& Label(int number) const;

 private:
  void Add(std::size_t index);

  std::vector<QLabel*> labels_;  // by control index, null for other kinds
};

}  // namespace vexilo
