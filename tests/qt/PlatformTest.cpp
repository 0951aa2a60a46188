#include <gtest/gtest.h>

#include "qt/Platform.h"

namespace vexilo::test {
namespace {

// X11 first wherever an X server is there, unless the user chose; Qt's own choice elsewhere.
TEST(Platform, X11FirstBesideWaylandUnlessTheUserChose) {
  struct Case {
    DisplayEnvironment environment;
    std::string_view platforms;
  };
  const Case cases[] = {
      {{"", ":0"}, "xcb;wayland"},  // XWayland beside Wayland, or X11 alone
      {{"", ""}, ""},               // Wayland alone, or no display at all
      {{"wayland", ":0"}, ""},      // the user's own choice
      {{"offscreen", ""}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PreferredPlatforms(c.environment), c.platforms)
        << c.environment.qtPlatform << '|' << c.environment.x11Display;
  }
}

}  // namespace
}  // namespace vexilo::test
