#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>
#include <functional>
#include <utility>
#include <vector>

#include "FormDriver.h"

namespace vexilo::test {
namespace {

QString Name(const Control& control) {
  return QString::fromUtf8(control.accessibleName.view().data(),
                           static_cast<qsizetype>(control.accessibleName.view().size()));
}

QAccessible::Role RoleOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label:
      return QAccessible::StaticText;
    case ControlKind::ProgressBar:
      return QAccessible::ProgressBar;
    case ControlKind::ColorBtn:
    case ControlKind::Button:
      return QAccessible::Button;
  }
  return QAccessible::NoRole;
}

TEST(Accessibility, EveryControlHasItsNameAndRole) {
  FormDriver driver;
  const std::span<const Control> controls = FormControls();
  int displays = 0;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    QWidget* widget = driver.Form().Control(ControlIndex{static_cast<int>(i)});
    if (auto* label = qobject_cast<TLabel*>(widget)) displays += label->IsDisplay() ? 1 : 0;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    ASSERT_NE(accessible, nullptr) << controls[i].name.view();
    EXPECT_FALSE(Name(controls[i]).isEmpty()) << controls[i].name.view();
    EXPECT_EQ(accessible->text(QAccessible::Name), Name(controls[i])) << controls[i].name.view();
    EXPECT_EQ(accessible->role(), RoleOf(controls[i].kind)) << controls[i].name.view();
    // Reachable from the window, as a screen reader walks it.
    EXPECT_EQ(accessible->parent()->object(), &driver.Form()) << controls[i].name.view();
  }
  // The strip, the spin count, a count and a share for each number and for each of 28 groups.
  EXPECT_EQ(displays, 20 + 1 + 2 * 37 + 2 * 28);
}

// A screen reader presses a number button through its action, without mouse or keyboard.
TEST(Accessibility, ANumberButtonIsPressedThroughItsAction) {
  FormDriver driver;
  QAccessibleInterface* button = QAccessible::queryAccessibleInterface(&driver.NumberButton(17));
  ASSERT_NE(button->actionInterface(), nullptr);
  button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_TRUE(QTest::qWaitFor([&] { return driver.Text(222) == QStringLiteral("1"); }, 2000));
  EXPECT_EQ(driver.Form().Tally().History(1).number, 17);
}

// What a label reads as follows its text through presses, Back and Reset: its name, then the
// text it shows through the text interface. A bar's value follows its position.
TEST(Accessibility, DisplaysReadWhatTheyShow) {
  struct Step {
    const char* what;
    std::function<void(FormDriver&)> act;
    std::vector<std::pair<int, QString>> reads;  // label number, what is read
  };
  const std::vector<Step> steps = {
      {"at start",
       [](FormDriver&) {},
       {{222, "spin count, 0"},
        {91, "count of 17, 0"},
        {159, "share of black, 0%"},
        {1, "last result 1"},
        {31, "caption RED, RED"}}},
      {"17, 0 and 32 pressed",
       [](FormDriver& d) {
         for (const int n : {17, 0, 32}) d.Press(n);
       },
       {{222, "spin count, 3"},
        {91, "count of 17, 1"},
        {159, "share of black, 33.33%"},
        {157, "share of red, 33.33%"},
        {1, "last result 1, 32"},
        {2, "last result 2, 0"},
        {3, "last result 3, 17"},
        {4, "last result 4"}}},
      {"Back",
       [](FormDriver& d) { d.Back(); },
       {{222, "spin count, 2"},
        {159, "share of black, 50%"},
        {157, "share of red, 0%"},
        {1, "last result 1, 0"},
        {3, "last result 3"}}},
      {"Reset",
       [](FormDriver& d) { d.Reset(); },
       {{222, "spin count, 0"},
        {91, "count of 17, 0"},
        {159, "share of black, 0%"},
        {1, "last result 1"}}},
  };
  FormDriver driver;
  for (const Step& step : steps) {
    step.act(driver);
    for (const auto& [label, read] : step.reads) {
      EXPECT_EQ(ReadOut(driver.Label(label)), read) << step.what;
    }
    for (int label = 1; label <= 223; ++label) {
      TLabel& shown = driver.Label(label);
      QAccessibleTextInterface* text =
          QAccessible::queryAccessibleInterface(&shown)->textInterface();
      ASSERT_NE(text, nullptr) << "Label" << label;
      EXPECT_EQ(text->characterCount(), shown.Caption().size()) << step.what << ", Label" << label;
      EXPECT_EQ(text->text(0, -1), shown.Caption()) << step.what << ", Label" << label;
      // Read once: no description repeats the text.
      EXPECT_EQ(AccessibleText(shown, QAccessible::Description), QString())
          << step.what << ", Label" << label;
    }
    for (int bar = 1; bar <= 16; ++bar) {
      QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&driver.Bar(bar));
      ASSERT_NE(accessible->valueInterface(), nullptr);
      EXPECT_EQ(accessible->valueInterface()->currentValue().toInt(), driver.Bar(bar).value())
          << step.what << ", ProgressBar" << bar;
    }
  }
}

// The main window is a frame named by its title, and every control is one of its children.
TEST(Accessibility, TheWindowIsAFrameWithItsTitle) {
  FormDriver driver;
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&driver.Form());
  EXPECT_EQ(window->role(), QAccessible::Window);
  EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Vexilo"));
  EXPECT_EQ(window->childCount(), static_cast<int>(FormControls().size()));
}

// Where a screen reader asks for single characters, as when reading by character or under the
// pointer: the text's parts, clipped to the text, and where each character stands.
TEST(Accessibility, ALabelsTextInParts) {
  FormDriver driver;
  driver.Form().SetText(ControlOf(LabelNumber{111}), "33.33%");
  TLabel& label = driver.Label(111);
  QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(&label)->textInterface();
  const struct {
    int start;
    int end;
    const char* part;
  } parts[] = {{0, 2, "33"}, {2, 6, ".33%"}, {4, 100, "3%"}, {-5, 1, "3"}, {3, 2, ""}};
  for (const auto& p : parts) {
    EXPECT_EQ(text->text(p.start, p.end), QString::fromLatin1(p.part)) << p.start << ".." << p.end;
  }
  const QRect first = text->characterRect(0);
  const QRect last = text->characterRect(5);
  EXPECT_EQ(first.topLeft(), label.mapToGlobal(QPoint(0, 0)));
  EXPECT_EQ(last.right(), label.mapToGlobal(QPoint(label.width() - 1, 0)).x());
  EXPECT_EQ(text->offsetAtPoint(last.center()), 5);
  EXPECT_EQ(text->offsetAtPoint(first.center()), 0);
  EXPECT_TRUE(text->characterRect(6).isNull());
}

}  // namespace
}  // namespace vexilo::test
