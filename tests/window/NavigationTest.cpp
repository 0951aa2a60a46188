#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window/FormTable.h"
#include "window/Navigation.h"

namespace vexilo {
namespace {

std::string NameOf(int index) {
  return std::string(FormControls()[index].name.view());
}

struct Step {
  const char* from;
  bool forward;
  FocusMove move;
  const char* to;
};

TEST(Navigation, SingleSteps) {
  const std::vector<Step> steps = {
      {"ColorBtn1", true, fmTab, "ColorBtn2"},
      {"ColorBtn37", true, fmTab, "Button1"},
      {"Button1", true, fmTab, "Button2"},
      {"Button2", true, fmTab, "DATASAVE"},
      {"DATASAVE", true, fmTab, "ColorBtn1"},
      {"ColorBtn1", false, fmTab, "DATASAVE"},
      {"Button1", false, fmTab, "ColorBtn37"},
      {"DATASAVE", false, fmTab, "Button2"},
      {"ColorBtn37", true, fmArrow, "ProgressBar1"},
      {"ProgressBar12", true, fmArrow, "Button1"},
      {"Button2", true, fmArrow, "ProgressBar13"},
      {"ProgressBar16", true, fmArrow, "DATASAVE"},
      {"DATASAVE", true, fmArrow, "ColorBtn1"},
      {"ColorBtn1", false, fmArrow, "DATASAVE"},
      {"DATASAVE", false, fmArrow, "ProgressBar16"},
      {"Button1", false, fmArrow, "ProgressBar12"},
      {"ProgressBar1", false, fmArrow, "ColorBtn37"},
      // Tab from a bar (focus put there by an arrow) goes on to the next stop.
      {"ProgressBar5", true, fmTab, "Button1"},
      {"ProgressBar14", false, fmTab, "Button2"},
  };
  for (const Step& step : steps) {
    EXPECT_EQ(NameOf(NextFocus(FindControl(step.from), step.forward, step.move)), step.to)
        << step.from << (step.forward ? " forward" : " backward")
        << (step.move == fmTab ? " by Tab" : " by arrow");
  }
}

std::vector<std::string> Walk(FocusMove move, bool forward, int steps) {
  std::vector<std::string> visited;
  int focus = FirstFocus();
  for (int i = 0; i < steps; ++i) {
    visited.push_back(NameOf(focus));
    focus = NextFocus(focus, forward, move);
  }
  visited.push_back(NameOf(focus));
  return visited;
}

TEST(Navigation, FullCyclesReturnToTheStart) {
  std::vector<std::string> tabCycle;
  for (int n = 1; n <= 37; ++n) tabCycle.push_back("ColorBtn" + std::to_string(n));
  tabCycle.insert(tabCycle.end(), {"Button1", "Button2", "DATASAVE"});

  std::vector<std::string> arrowCycle(tabCycle.begin(), tabCycle.begin() + 37);
  for (int n = 1; n <= 12; ++n) arrowCycle.push_back("ProgressBar" + std::to_string(n));
  arrowCycle.insert(arrowCycle.end(), {"Button1", "Button2"});
  for (int n = 13; n <= 16; ++n) arrowCycle.push_back("ProgressBar" + std::to_string(n));
  arrowCycle.push_back("DATASAVE");

  struct Case {
    FocusMove move;
    std::vector<std::string> cycle;
  };
  for (const Case& c : {Case{fmTab, tabCycle}, Case{fmArrow, arrowCycle}}) {
    const int size = static_cast<int>(c.cycle.size());
    std::vector<std::string> forward = c.cycle;
    forward.push_back(c.cycle.front());
    EXPECT_EQ(Walk(c.move, true, size), forward);
    std::vector<std::string> backward = {c.cycle.front()};
    backward.insert(backward.end(), c.cycle.rbegin(), c.cycle.rend());
    EXPECT_EQ(Walk(c.move, false, size), backward);
  }
}

TEST(Navigation, StartsOnTheZeroButtonAndRecoversFromAControlWithoutTabPosition) {
  EXPECT_EQ(NameOf(FirstFocus()), "ColorBtn1");
  EXPECT_EQ(NextFocus(FindControl("Label5"), true, fmTab), FirstFocus());
  EXPECT_EQ(NextFocus(-1, true, fmArrow), FirstFocus());
}

}  // namespace
}  // namespace vexilo
