#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleHints>
#include <QTest>
#include <QWindow>

#include "FormDriver.h"

// Sends one mouse event with a timestamp of our choosing, as the window system would.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button,
                                      QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);
QT_END_NAMESPACE

namespace vexilo::test {
namespace {

QString FocusName() {
  QWidget* focus = QApplication::focusWidget();
  return focus == nullptr ? QString() : focus->objectName();
}

void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
}

TEST(Keyboard, FirstFocusIsZeroWithTheActiveLook) {
  FormDriver driver;
  EXPECT_EQ(FocusName(), QStringLiteral("ColorBtn1"));
  TColorBtn& zero = driver.NumberButton(0);
  EXPECT_TRUE(zero.Active());
  const QImage image = Render(zero);
  EXPECT_EQ(Pixel(image, 0, 0), MakeColor(0, 63, 0));  // the active frame on lime
  EXPECT_EQ(Pixel(image, 3, 3), clBlack);              // the focus outline
  for (int n = 1; n <= 36; ++n) EXPECT_FALSE(driver.NumberButton(n).Active()) << n;
}

TEST(Keyboard, MovesFromControlToControl) {
  struct Case {
    const char* from;
    int key;
    Qt::KeyboardModifiers modifiers;
    const char* to;
  };
  const Case cases[] = {
      {"ColorBtn1", Qt::Key_Tab, Qt::NoModifier, "ColorBtn2"},
      {"ColorBtn37", Qt::Key_Tab, Qt::NoModifier, "Button1"},
      {"Button1", Qt::Key_Tab, Qt::NoModifier, "Button2"},
      {"Button2", Qt::Key_Tab, Qt::NoModifier, "DATASAVE"},
      {"DATASAVE", Qt::Key_Tab, Qt::NoModifier, "ColorBtn1"},
      {"ColorBtn1", Qt::Key_Tab, Qt::ShiftModifier, "DATASAVE"},
      {"ColorBtn1", Qt::Key_Backtab, Qt::ShiftModifier, "DATASAVE"},
      {"Button1", Qt::Key_Backtab, Qt::ShiftModifier, "ColorBtn37"},
      {"ColorBtn37", Qt::Key_Right, Qt::NoModifier, "ProgressBar1"},
      {"ColorBtn37", Qt::Key_Down, Qt::NoModifier, "ProgressBar1"},
      {"ProgressBar12", Qt::Key_Right, Qt::NoModifier, "Button1"},
      {"Button2", Qt::Key_Right, Qt::NoModifier, "ProgressBar13"},
      {"ProgressBar16", Qt::Key_Down, Qt::NoModifier, "DATASAVE"},
      {"DATASAVE", Qt::Key_Right, Qt::NoModifier, "ColorBtn1"},
      {"ColorBtn1", Qt::Key_Left, Qt::NoModifier, "DATASAVE"},
      {"ColorBtn1", Qt::Key_Up, Qt::NoModifier, "DATASAVE"},
      {"DATASAVE", Qt::Key_Left, Qt::NoModifier, "ProgressBar16"},
      {"ProgressBar1", Qt::Key_Up, Qt::NoModifier, "ColorBtn37"},
      {"ColorBtn18", Qt::Key_Left, Qt::NoModifier, "ColorBtn17"},
  };
  FormDriver driver;
  for (const Case& c : cases) {
    driver.Form().Control(c.from)->setFocus();
    ASSERT_EQ(FocusName().toStdString(), c.from);
    Key(c.key, c.modifiers);
    EXPECT_EQ(FocusName().toStdString(), c.to) << c.from << " key " << c.key;
  }
}

TEST(Keyboard, TabCyclesFortyStopsAndArrowsFiftySix) {
  FormDriver driver;
  struct Case {
    int key;
    int stops;
  };
  for (const Case c : {Case{Qt::Key_Tab, 40}, Case{Qt::Key_Right, 56}}) {
    driver.NumberButton(0).setFocus();
    QStringList visited;
    do {
      visited << FocusName();
      Key(c.key);
    } while (FocusName() != QStringLiteral("ColorBtn1") && visited.size() < 100);
    EXPECT_EQ(visited.size(), c.stops) << c.key;
    EXPECT_EQ(visited.filter(QStringLiteral("ProgressBar")).size(), c.key == Qt::Key_Tab ? 0 : 16);
  }
}

TEST(Keyboard, OnlyTheFocusedNumberButtonLooksActive) {
  FormDriver driver;
  Key(Qt::Key_Tab);
  EXPECT_FALSE(driver.NumberButton(0).Active());
  EXPECT_TRUE(driver.NumberButton(1).Active());
  driver.NumberButton(36).setFocus();
  Key(Qt::Key_Right);  // to a bar: no button is active
  ASSERT_EQ(FocusName(), QStringLiteral("ProgressBar1"));
  for (int n = 0; n <= 36; ++n) EXPECT_FALSE(driver.NumberButton(n).Active()) << n;
  EXPECT_EQ(Pixel(Render(driver.NumberButton(36)), 0, 0), MakeColor(255, 128, 128));
  driver.Command("Button1").setFocus();
  for (int n = 0; n <= 36; ++n) EXPECT_FALSE(driver.NumberButton(n).Active()) << n;
}

TEST(Keyboard, SpaceAndEnterClick) {
  FormDriver driver;
  Key(Qt::Key_Space);  // ColorBtn1 has the focus
  EXPECT_EQ(driver.Text(74), QStringLiteral("1"));
  Key(Qt::Key_Return);
  Key(Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(driver.Text(74), QStringLiteral("3"));
  Key(Qt::Key_Return, Qt::ShiftModifier);  // Enter with Shift is no click
  EXPECT_EQ(driver.Text(74), QStringLiteral("3"));
  driver.Command("Button1").setFocus();
  Key(Qt::Key_Return);  // Back
  EXPECT_EQ(driver.Text(222), QStringLiteral("2"));
}

TEST(Keyboard, PressingAButtonMovesTheFocusToIt) {
  FormDriver driver;
  driver.Press(17);
  EXPECT_EQ(FocusName(), QStringLiteral("ColorBtn18"));
  EXPECT_TRUE(driver.NumberButton(17).Active());
}

// A second press on the same button within the double-click time and distance clicks nothing;
// farther apart in time or place, or on another button, it clicks. A press one interval after
// the first is no longer within it; one at exactly the distance still is.
TEST(DoublePress, OnlyTheFirstOfAQuickPairClicks) {
  struct Case {
    const char* what;
    int delay;  // ms between the presses
    int dy;     // pixels the second press lies below the first
    int clicks;
    int afterThird;  // a third press at the first place, just after the second
  };
  const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
  const int distance = QGuiApplication::styleHints()->mouseDoubleClickDistance();
  const Case cases[] = {
      {"quick pair", interval / 4, 0, 1, 2},
      {"1 ms inside the interval", interval - 1, 0, 1, 2},
      {"at the interval", interval, 0, 2, 2},
      {"slow pair", interval + 50, 0, 2, 2},
      {"quick pair, moved the whole distance", interval / 4, distance, 1, 2},
      {"quick but 1 pixel too far", interval / 4, distance + 1, 2, 3},
      {"quick but far apart", interval / 4, distance + 20, 2, 3},
  };
  static int clock = 1'000'000;
  for (const Case& c : cases) {
    FormDriver driver;
    QWindow* window = driver.Form().windowHandle();
    const QPoint first = driver.NumberButton(0).geometry().topLeft() + QPoint(20, 30);
    const auto press = [&](QPoint at, int time) {
      const QPointF global = window->mapToGlobal(at);
      qt_handleMouseEvent(window, at, global, Qt::LeftButton, Qt::LeftButton,
                          QEvent::MouseButtonPress, Qt::NoModifier, time);
      qt_handleMouseEvent(window, at, global, Qt::NoButton, Qt::LeftButton,
                          QEvent::MouseButtonRelease, Qt::NoModifier, time + 1);
    };
    clock += 10'000;
    press(first, clock);
    press(first + QPoint(0, c.dy), clock + c.delay);
    EXPECT_EQ(driver.Text(222), QString::number(c.clicks)) << c.what;
    // The press after a swallowed one starts afresh.
    press(first, clock + c.delay + 2);
    EXPECT_EQ(driver.Text(222), QString::number(c.afterThird)) << c.what;
  }
}

TEST(DoublePress, AQuickPressOnAnotherButtonClicks) {
  FormDriver driver;
  QWindow* window = driver.Form().windowHandle();
  static int clock = 5'000'000;
  const auto press = [&](int n, int time) {
    const QPoint at = driver.NumberButton(n).geometry().center();
    const QPointF global = window->mapToGlobal(at);
    qt_handleMouseEvent(window, at, global, Qt::LeftButton, Qt::LeftButton,
                        QEvent::MouseButtonPress, Qt::NoModifier, time);
    qt_handleMouseEvent(window, at, global, Qt::NoButton, Qt::LeftButton,
                        QEvent::MouseButtonRelease, Qt::NoModifier, time + 1);
  };
  press(1, clock);
  press(4, clock + 50);
  EXPECT_EQ(driver.Text(222), QStringLiteral("2"));
  press(1, clock + 100);  // the press on 4 came between
  EXPECT_EQ(driver.Text(222), QStringLiteral("3"));
}

}  // namespace
}  // namespace vexilo::test
