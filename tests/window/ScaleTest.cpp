#include <gtest/gtest.h>

#include <tuple>

#include "window/Scale.h"

namespace vexilo {
namespace {

// (The scale's rule is held to its cases through qt/ScreenFit's test, the client area and the
// rules' width on the shipped program, tests/win32/dpi.sh.) Edges are scaled, rounded half up, and
// widths follow from them: slot 1 of the strip ends at 58 * 1.25 = 72.5, so at 73, not at 61 + 11
// from its left edge and width rounded apart.
TEST(Scale, RowsTakeScaledEdgesAndFontsAtScaleOneTheDesign) {
  struct Case {
    const char* control;
    double scale;
    std::tuple<int, int, int, int, int> box;  // left, top, width, height, font height
  };
  const Case cases[] = {
      {"Label1", 1.0, {49, 272, 9, 27, 27}},
      {"Label1", 1.25, {61, 340, 12, 34, 34}},
      {"ColorBtn18", 1.5, {456, 84, 62, 62, 32}},
      {"ProgressBar1", 1.25, {80, 220, 231, 21, 26}},
      {"DATASAVE", 1046.0 / 711, {424, 365, 178, 37, 31}},
  };
  for (const Case& c : cases) {
    const Control row = ScaledControl(ControlAt(*FindControl(c.control)), c.scale);
    EXPECT_EQ(std::tie(row.left, row.top, row.width, row.height, row.font.height), c.box)
        << c.control << " at " << c.scale;
  }
  EXPECT_EQ(Scaled(-3, 1.5), -4);
}

}  // namespace
}  // namespace vexilo
