// Focus and keys in the real window: the first focus, Tab and the arrow keys, the active look,
// and the keys that click.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "FormDriver.h"
#include "window/FormTable.h"

namespace vexilo::test {
namespace {

bool IsActive(FormDriver& driver, std::string_view name) {
  const TColorBtn* button = driver.Form().ColorButton(*FindControl(name));
  return button != nullptr && button->State().Active();
}

int ActiveCount(FormDriver& driver) {
  int active = 0;
  for (int n = 1; n <= 37; ++n) active += IsActive(driver, "ColorBtn" + std::to_string(n)) ? 1 : 0;
  return active;
}

void FocusOn(FormDriver& driver, std::string_view name) {
  SetFocus(driver.Window(name));
  driver.Pump();
  ASSERT_EQ(driver.Focused(), name);
}

TEST(Win32Keyboard, FirstActivationFocusesTheZeroButtonWithTheActiveLook) {
  FormDriver driver;
  EXPECT_EQ(driver.Focused(), "ColorBtn1");
  EXPECT_TRUE(IsActive(driver, "ColorBtn1"));
  EXPECT_EQ(ActiveCount(driver), 1);
  const Bitmap shot = driver.Capture();
  EXPECT_EQ(shot.Pixel(16, 8), MakeColor(0, 63, 0)) << "the dark frame of a lime button";
  EXPECT_EQ(shot.Pixel(64, 104), MakeColor(255, 128, 128)) << "number 1 has no frame";
}

struct Walk {
  std::string_view from;
  UINT key;
  bool shift;
  std::string_view to;
};

class Win32FocusWalk : public ::testing::TestWithParam<Walk> {};

TEST_P(Win32FocusWalk, MovesAlongTheTabOrder) {
  const Walk& w = GetParam();
  FormDriver driver;
  FocusOn(driver, w.from);
  driver.PressKey(w.key, w.shift);
  EXPECT_EQ(driver.Focused(), w.to);
}

INSTANTIATE_TEST_SUITE_P(Keys, Win32FocusWalk,
                         ::testing::Values(Walk{"ColorBtn1", VK_TAB, false, "ColorBtn2"},
                                           Walk{"ColorBtn37", VK_TAB, false, "Button1"},
                                           Walk{"Button1", VK_TAB, false, "Button2"},
                                           Walk{"Button2", VK_TAB, false, "DATASAVE"},
                                           Walk{"DATASAVE", VK_TAB, false, "ColorBtn1"},
                                           Walk{"ColorBtn1", VK_TAB, true, "DATASAVE"},
                                           Walk{"Button1", VK_TAB, true, "ColorBtn37"},
                                           Walk{"ColorBtn37", VK_RIGHT, false, "ProgressBar1"},
                                           Walk{"ColorBtn37", VK_DOWN, false, "ProgressBar1"},
                                           Walk{"ColorBtn1", VK_LEFT, false, "DATASAVE"},
                                           Walk{"ColorBtn5", VK_UP, false, "ColorBtn4"},
                                           Walk{"ProgressBar12", VK_RIGHT, false, "Button1"},
                                           Walk{"Button2", VK_RIGHT, false, "ProgressBar13"},
                                           Walk{"ProgressBar13", VK_LEFT, false, "Button2"},
                                           Walk{"ProgressBar16", VK_DOWN, false, "DATASAVE"},
                                           Walk{"ProgressBar5", VK_TAB, false, "Button1"}),
                         [](const auto& info) {
                           const Walk& w = info.param;
                           const char* key = w.key == VK_TAB     ? (w.shift ? "ShiftTab" : "Tab")
                                             : w.key == VK_RIGHT ? "Right"
                                             : w.key == VK_LEFT  ? "Left"
                                             : w.key == VK_UP    ? "Up"
                                                                 : "Down";
                           return std::string(w.from) + key;
                         });

TEST(Win32Keyboard, TabCyclesTheFortyButtonsAndArrowsAlsoTheBars) {
  const struct {
    UINT key;
    std::size_t stops;
  } cases[] = {{VK_TAB, 40}, {VK_RIGHT, 56}};
  for (const auto& c : cases) {
    FormDriver driver;
    std::set<std::string> seen;
    for (std::size_t i = 0; i < c.stops; ++i) {
      driver.PressKey(c.key);
      seen.insert(driver.Focused());
    }
    EXPECT_EQ(seen.size(), c.stops);
    EXPECT_EQ(driver.Focused(), "ColorBtn1") << "back where it began";
  }
}

TEST(Win32Keyboard, TheActiveLookFollowsTheFocusAndLeavesForABar) {
  FormDriver driver;
  driver.PressKey(VK_TAB);
  EXPECT_TRUE(IsActive(driver, "ColorBtn2"));
  EXPECT_FALSE(IsActive(driver, "ColorBtn1"));
  FocusOn(driver, "ColorBtn37");
  EXPECT_TRUE(IsActive(driver, "ColorBtn37"));
  driver.PressKey(VK_RIGHT);
  EXPECT_EQ(driver.Focused(), "ProgressBar1");
  EXPECT_EQ(ActiveCount(driver), 0);
  const Bitmap shot = driver.Capture();
  EXPECT_EQ(shot.Pixel(592, 104), MakeColor(255, 128, 128)) << "36 shows no frame any more";

  driver.Click("ColorBtn6");  // a press moves the focus to the button
  EXPECT_EQ(driver.Focused(), "ColorBtn6");
  EXPECT_TRUE(IsActive(driver, "ColorBtn6"));
  driver.Click("Button2");
  EXPECT_EQ(ActiveCount(driver), 0);
  EXPECT_EQ(GetWindowLongPtrW(driver.Window("Button2"), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

TEST(Win32Keyboard, EnterAndSpaceClickTheActiveButton) {
  const struct {
    std::string_view focus;
    UINT key;
    bool shift;
    std::string_view spinCount;
  } cases[] = {{"ColorBtn18", VK_RETURN, false, "1"},
               {"ColorBtn18", VK_RETURN, true, "0"},  // Shift+Enter is no click
               {"ColorBtn18", VK_SPACE, false, "1"},
               {"ProgressBar3", VK_RETURN, false, "0"},
               {"Button1", VK_RETURN, false, "0"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.focus) + " key " + std::to_string(c.key));
    FormDriver driver;
    if (c.focus == "Button1") driver.Spin({3});
    FocusOn(driver, c.focus);
    driver.PressKey(c.key, c.shift);
    EXPECT_EQ(driver.Text("Label222"), c.spinCount);
  }
}

}  // namespace
}  // namespace vexilo::test
