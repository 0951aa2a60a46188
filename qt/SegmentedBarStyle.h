#pragma once

#include <QProxyStyle>

namespace vexilo {

// Progress bars in the classic segmented look: a sunken edge and blocks with gaps between
// them, no text. Every other element is left to the base style.
class SegmentedBarStyle final : public QProxyStyle {
  Q_OBJECT

 public:
  // Block width as a share of the inner height, and the gap between blocks, in pixels.
  static constexpr int kBlockNumerator = 2;
  static constexpr int kBlockDenominator = 3;
  static constexpr int kGap = 2;
  static constexpr int kInset = 2;  // a 1-pixel edge and a 1-pixel margin

  SegmentedBarStyle();

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
};

}  // namespace vexilo
