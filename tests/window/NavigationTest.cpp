#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window/FormTable.h"
#include "window/Navigation.h"

namespace vexilo {
namespace {

std::string NameOf(ControlIndex index) {
  return std::string(ControlAt(index).name.view());
}

struct Step {
  const char* from;
  bool forward;
  FocusMove move;
  const char* to;
};

TEST(Navigation, SingleSteps) {
  const std::vector<Step> steps = {
      {"ColorBtn1", true, FocusMove::Tab, "ColorBtn2"},
      {"ColorBtn37", true, FocusMove::Tab, "Button1"},
      {"Button1", true, FocusMove::Tab, "Button2"},
      {"Button2", true, FocusMove::Tab, "DATASAVE"},
      {"DATASAVE", true, FocusMove::Tab, "ColorBtn1"},
      {"ColorBtn1", false, FocusMove::Tab, "DATASAVE"},
      {"Button1", false, FocusMove::Tab, "ColorBtn37"},
      {"DATASAVE", false, FocusMove::Tab, "Button2"},
      {"ColorBtn37", true, FocusMove::Arrow, "ProgressBar1"},
      {"ProgressBar12", true, FocusMove::Arrow, "Button1"},
      {"Button2", true, FocusMove::Arrow, "ProgressBar13"},
      {"ProgressBar16", true, FocusMove::Arrow, "DATASAVE"},
      {"DATASAVE", true, FocusMove::Arrow, "ColorBtn1"},
      {"ColorBtn1", false, FocusMove::Arrow, "DATASAVE"},
      {"DATASAVE", false, FocusMove::Arrow, "ProgressBar16"},
      {"Button1", false, FocusMove::Arrow, "ProgressBar12"},
      {"ProgressBar1", false, FocusMove::Arrow, "ColorBtn37"},
      // Tab from a bar (focus put there by an arrow) goes on to the next stop.
      {"ProgressBar5", true, FocusMove::Tab, "Button1"},
      {"ProgressBar14", false, FocusMove::Tab, "Button2"},
  };
  for (const Step& step : steps) {
    EXPECT_EQ(NameOf(NextFocus(FindControl(step.from), step.forward, step.move)), step.to)
        << step.from << (step.forward ? " forward" : " backward")
        << (step.move == FocusMove::Tab ? " by Tab" : " by arrow");
  }
}

std::vector<std::string> Walk(FocusMove move, bool forward, int steps) {
  std::vector<std::string> visited;
  ControlIndex focus = FirstFocus();
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
  for (const Case& c : {Case{FocusMove::Tab, tabCycle}, Case{FocusMove::Arrow, arrowCycle}}) {
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
  EXPECT_EQ(NextFocus(FindControl("Label5"), true, FocusMove::Tab), FirstFocus());
  EXPECT_EQ(NextFocus(std::nullopt, true, FocusMove::Arrow), FirstFocus());
}

}  // namespace
}  // namespace vexilo
