#include <gtest/gtest.h>

#include <tuple>

#include "window/Centring.h"

namespace vexilo {
namespace {

TEST(Centring, TheOuterWindowIsCentredAndNeverOffTheCorner) {
  struct Case {
    const char* what;
    Rect screen;
    int width;
    int height;
    Origin origin;
  };
  const Case cases[] = {
      {"the design's frame on 1280 x 1024", {0, 0, 1280, 1024}, 850, 750, {215, 137}},
      {"a thin frame with a 20-pixel title bar", {0, 0, 1280, 1024}, 836, 732, {222, 146}},
      {"no frame at all", {0, 0, 1280, 1024}, 834, 711, {223, 156}},
      {"an odd remainder is dropped", {0, 0, 1921, 1081}, 850, 750, {535, 165}},
      {"a second screen right of the first", {1280, 0, 3200, 1200}, 850, 750, {1815, 225}},
      {"a screen above and left of the origin", {-1024, -768, 0, 0}, 850, 750, {-937, -759}},
      {"a screen just the window's size", {0, 0, 850, 750}, 850, 750, {0, 0}},
      {"a screen too small keeps the corner", {0, 0, 800, 600}, 850, 750, {0, 0}},
      {"too narrow only", {0, 0, 800, 1024}, 850, 750, {0, 137}},
  };
  for (const Case& c : cases) {
    const Origin origin = CentredOrigin(c.screen, c.width, c.height);
    EXPECT_EQ(origin.left, c.origin.left) << c.what;
    EXPECT_EQ(origin.top, c.origin.top) << c.what;
  }
}

// A taskbar leaves the work area smaller than the 1920 x 1080 screen: the window centred on
// the screen, moved into the work area only where it must, its corner where nothing fits.
TEST(Centring, TheWindowMovesIntoTheWorkAreaOnlyWhereItMust) {
  const std::tuple<Rect, int, int, Origin> cases[] = {{{0, 0, 1920, 1032}, 850, 750, {535, 165}},
                                                      {{0, 0, 1920, 1032}, 1181, 1032, {369, 0}},
                                                      {{62, 40, 1920, 1080}, 1850, 1040, {62, 40}},
                                                      {{0, 0, 1920, 1032}, 2000, 1100, {0, 0}}};
  for (const auto& [work, width, height, origin] : cases) {
    EXPECT_EQ(CentredOrigin({0, 0, 1920, 1080}, work, width, height), origin) << width;
  }
}

}  // namespace
}  // namespace vexilo
