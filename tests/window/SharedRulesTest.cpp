// The rules both front ends follow, each checked once here: the keys, the active button, the
// label's anchored edge and the general error report's guard.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "window/FormTable.h"
#include "window/Guard.h"
#include "window/Keyboard.h"
#include "window/LabelBox.h"

namespace vexilo {
namespace {

using Kind = KeyAction::Kind;

std::optional<ControlIndex> Named(const char* name) {
  if (name == nullptr) return std::nullopt;
  const std::optional<ControlIndex> index = FindControl(name);
  EXPECT_TRUE(index) << name;
  return index;
}

TEST(Keys, MoveTheFocusOrClickTheActiveButton) {
  constexpr KeyModifiers kNone{};
  constexpr KeyModifiers kShift{.shift = true};
  struct Case {
    Key key;
    KeyModifiers held;
    const char* focus;  // nullptr: nothing has the focus
    Kind kind;
    const char* target;
  };
  const Case cases[] = {
      {Key::Tab, kNone, "ColorBtn37", Kind::Focus, "Button1"},
      {Key::Tab, kShift, "ColorBtn1", Kind::Focus, "DATASAVE"},
      {Key::Tab, kNone, "ProgressBar5", Kind::Focus, "Button1"},
      {Key::Tab, kNone, nullptr, Kind::Focus, "ColorBtn1"},
      {Key::Right, kNone, "ColorBtn37", Kind::Focus, "ProgressBar1"},
      {Key::Down, kShift, "ColorBtn37", Kind::Focus, "ProgressBar1"},  // Shift turns Tab only
      {Key::Left, kNone, "ColorBtn1", Kind::Focus, "DATASAVE"},
      {Key::Up, kNone, "ProgressBar13", Kind::Focus, "Button2"},
      {Key::Enter, kNone, "ColorBtn18", Kind::Click, "ColorBtn18"},
      {Key::Enter, kNone, "Button1", Kind::Click, "Button1"},
      {Key::Enter, kShift, "ColorBtn18", Kind::Pass, nullptr},
      {Key::Enter, kNone, "ProgressBar3", Kind::Pass, nullptr},  // a bar is no active button
      {Key::Enter, kNone, nullptr, Kind::Pass, nullptr},
      {Key::Space, kNone, "ColorBtn18", Kind::Pass, nullptr},  // the button presses itself
      {Key::Tab, {.control = true}, "ColorBtn1", Kind::Pass, nullptr},
      {Key::Right, {.alt = true}, "ColorBtn1", Kind::Pass, nullptr},
      {Key::Enter, {.meta = true}, "ColorBtn1", Kind::Pass, nullptr},
      {Key::Other, kNone, "ColorBtn1", Kind::Pass, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.focus ? c.focus : "no focus") + ", key " +
                 std::to_string(static_cast<int>(c.key)));
    const KeyAction action = ActionOfKey(c.key, c.held, Named(c.focus));
    EXPECT_EQ(action.kind, c.kind);
    if (c.target != nullptr) {
      EXPECT_EQ(action.control, *Named(c.target));
    }
  }
}

TEST(Keys, OnlyAFocusedButtonIsActive) {
  struct Case {
    const char* control;
    const char* focus;
    bool active;
  };
  const Case cases[] = {
      {"ColorBtn18", "ColorBtn18", true}, {"Button2", "Button2", true},
      {"DATASAVE", "DATASAVE", true},     {"ColorBtn18", "ColorBtn17", false},
      {"ColorBtn1", nullptr, false},      {"ProgressBar1", "ProgressBar1", false},
      {"Label74", "Label74", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsActiveButton(*Named(c.control), Named(c.focus)), c.active)
        << c.control << " with the focus on " << (c.focus ? c.focus : "nothing");
  }
}

TEST(LabelBox, TheAnchoredEdgeStaysPut) {
  struct Case {
    const char* label;
    int textWidth;
    int left;
  };
  const Case cases[] = {
      {"Label74", 33, 31},    // a count ends at 64 however wide its text
      {"Label74", 60, 4},     // and grows to the left
      {"Label111", 44, 88},   // a share ends at 132
      {"Label1", 20, 38},     // strip slot 1 ends at 58
      {"Label15", 9, 496},    // slot 15 stands one pixel left of the run
      {"Label21", 90, 72},    // a caption keeps its left edge
      {"Label223", 10, 392},  // so does the notice
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LabelLeft(ControlAt(*Named(c.label)), c.textWidth), c.left) << c.label;
  }
  Control centred = ControlAt(*Named("Label21"));
  centred.alignment = taCenter;  // no label of the window is centred; the rule still holds
  EXPECT_EQ(LabelLeft(centred, 35), 82);
}

TEST(Guard, AFailureIsReportedWithItsTextAndTheCallerGoesOn) {
  struct Case {
    const char* what;
    void (*handler)();
    bool completed;
    std::vector<std::string> reported;
  };
  const Case cases[] = {
      {"no failure", [] {}, true, {}},
      {"a failure with a text",
       [] { throw std::runtime_error("the disk is full"); },
       false,
       {"the disk is full"}},
      {"a failure without one", [] { throw 42; }, false, {"An unknown error occurred."}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> reported;
    const bool completed =
        RunReported(c.handler, [&](std::string_view text) { reported.emplace_back(text); });
    EXPECT_EQ(completed, c.completed) << c.what;
    EXPECT_EQ(reported, c.reported) << c.what;
  }
}

}  // namespace
}  // namespace vexilo
