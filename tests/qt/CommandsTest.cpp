#include <gtest/gtest.h>

#include <QLocale>
#include <QMessageBox>
#include <QWindow>
#include <random>
#include <set>
#include <stdexcept>

#include "FormDriver.h"
#include "ModalDriver.h"
#include "engine/PocketTable.h"
#include "qt/QtShell.h"

namespace vexilo::test {
namespace {

// The labels of the groups, by role: counts and shares of the 28 groups.
std::set<int> GroupCountLabels() {
  std::set<int> labels;
  for (int l = 152; l <= 174; l += 2) labels.insert(l);
  for (int l = 189; l <= 211; l += 2) labels.insert(l);
  for (int l = 213; l <= 219; l += 2) labels.insert(l);
  return labels;
}
std::set<int> GroupShareLabels() {
  std::set<int> labels;
  for (const int count : GroupCountLabels()) labels.insert(count + 1);
  return labels;
}

TColor PocketColor(int n) {
  if (n == 0) return clLime;
  return PocketOf(n).color == ColourCode::Red ? clRed : clBlack;
}

void ExpectStrip(FormDriver& driver, const std::vector<int>& newestFirst) {
  for (int k = 1; k <= 20; ++k) {
    const bool filled = k <= static_cast<int>(newestFirst.size());
    const int n = filled ? newestFirst[k - 1] : -1;
    EXPECT_EQ(driver.Text(k), filled ? QString::number(n) : QString()) << "Label" << k;
    EXPECT_EQ(driver.Label(k).Color(), filled ? PocketColor(n) : clBtnFace) << "Label" << k;
  }
}

TEST(Spins, FirstSpinSeventeen) {
  FormDriver driver;
  driver.Press(17);
  EXPECT_EQ(driver.Text(222), QStringLiteral("1"));
  EXPECT_EQ(driver.Text(91), QStringLiteral("1"));
  for (int n = 0; n <= 36; ++n) {
    EXPECT_EQ(driver.Text(111 + n), n == 17 ? QStringLiteral("100%") : QStringLiteral("0%")) << n;
  }
  const std::set<int> counted = {172, 162, 166, 213, 199, 154, 158};
  for (const int label : GroupCountLabels()) {
    EXPECT_EQ(driver.Text(label), counted.contains(label) ? "1" : "0") << label;
    EXPECT_EQ(driver.Text(label + 1), counted.contains(label) ? "100%" : "0%") << label + 1;
  }
  const std::set<int> full = {7, 2, 4, 13, 10, 12};
  for (int bar = 1; bar <= 16; ++bar)
    EXPECT_EQ(driver.Bar(bar).value(), full.contains(bar) ? 100 : 0) << bar;
  ExpectStrip(driver, {17});
}

TEST(Spins, FirstSpinZeroTouchesNoGroup) {
  FormDriver driver;
  driver.Press(0);
  EXPECT_EQ(driver.Text(222), QStringLiteral("1"));
  EXPECT_EQ(driver.Text(74), QStringLiteral("1"));
  EXPECT_EQ(driver.Text(111), QStringLiteral("100%"));
  for (const int label : GroupCountLabels())
    EXPECT_EQ(driver.Text(label), QStringLiteral("0")) << label;
  for (const int label : GroupShareLabels())
    EXPECT_EQ(driver.Text(label), QStringLiteral("0%")) << label;
  for (int bar = 1; bar <= 16; ++bar) EXPECT_EQ(driver.Bar(bar).value(), 0) << bar;
  ExpectStrip(driver, {0});
}

TEST(Spins, OneRedInThree) {
  FormDriver driver;
  for (const int n : {1, 2, 0}) driver.Press(n);
  EXPECT_EQ(driver.Text(157), QStringLiteral("33.33%"));
  EXPECT_EQ(driver.Bar(11).value(), 33);
  EXPECT_EQ(driver.Text(159), QStringLiteral("33.33%"));
  for (const int label : GroupShareLabels())
    EXPECT_TRUE(driver.Text(label).endsWith(u'%')) << label;
}

TEST(Spins, TheTwentyFirstPushesTheOldestOut) {
  FormDriver driver;
  std::vector<int> pressed;
  for (int i = 0; i < 21; ++i) {
    pressed.push_back((i * 7 + 3) % 37);
    driver.Press(pressed.back());
  }
  const std::vector<int> shown(pressed.rbegin(), pressed.rbegin() + 20);
  ExpectStrip(driver, shown);
}

TEST(Spins, SameNumberTwice) {
  FormDriver driver;
  driver.Press(5);
  driver.Press(5);
  EXPECT_EQ(driver.Text(79), QStringLiteral("2"));
  EXPECT_EQ(driver.Text(116), QStringLiteral("100%"));
  EXPECT_EQ(driver.Text(172), QStringLiteral("2"));  // column 2
  driver.Press(6);
  EXPECT_EQ(driver.Text(116), QStringLiteral("66.67%"));
  EXPECT_EQ(driver.Text(173), QStringLiteral("66.67%"));
  EXPECT_EQ(driver.Bar(7).value(), 67);
}

TEST(Back, AtStartNothingChanges) {
  FormDriver driver;
  const std::vector<Shown> before = Snapshot(driver.Form());
  driver.Back();
  EXPECT_EQ(Snapshot(driver.Form()), before);
}

TEST(Back, OneSpinThenBackIsTheZeroDisplay) {
  FormDriver fresh;
  FormDriver driver;
  driver.Press(36);
  driver.Back();
  EXPECT_EQ(Snapshot(driver.Form()), Snapshot(fresh.Form()));
}

TEST(Back, SevenTwelveSeven) {
  FormDriver driver;
  for (const int n : {7, 12, 7}) driver.Press(n);
  driver.Back();
  EXPECT_EQ(driver.Text(81), QStringLiteral("1"));
  EXPECT_EQ(driver.Text(86), QStringLiteral("1"));
  EXPECT_EQ(driver.Text(222), QStringLiteral("2"));
  EXPECT_EQ(driver.Text(118), QStringLiteral("50%"));
  EXPECT_EQ(driver.Text(123), QStringLiteral("50%"));
  EXPECT_EQ(driver.Text(157), QStringLiteral("100%"));
  ExpectStrip(driver, {12, 7});
}

TEST(Back, StripRefillsAndEmpties) {
  struct Case {
    int spins;
  };
  for (const Case c : {Case{21}, Case{20}, Case{3}}) {
    FormDriver driver;
    std::vector<int> pressed;
    for (int i = 0; i < c.spins; ++i) {
      pressed.push_back((i * 11 + 5) % 37);
      driver.Press(pressed.back());
    }
    driver.Back();
    pressed.pop_back();
    const std::size_t shown = std::min<std::size_t>(pressed.size(), 20);
    ExpectStrip(driver,
                std::vector<int>(pressed.rbegin(), pressed.rbegin() + static_cast<long>(shown)));
  }
}

TEST(Back, ZeroTakenBack) {
  FormDriver driver;
  driver.Press(5);
  driver.Press(0);
  driver.Back();
  EXPECT_EQ(driver.Text(74), QStringLiteral("0"));
  EXPECT_EQ(driver.Text(111), QStringLiteral("0%"));
  EXPECT_EQ(driver.Text(116), QStringLiteral("100%"));
  EXPECT_EQ(driver.Text(156), QStringLiteral("1"));
  EXPECT_EQ(driver.Text(157), QStringLiteral("100%"));
}

TEST(Back, AsManyAsSpinsThenNothing) {
  FormDriver fresh;
  FormDriver driver;
  for (const int n : {3, 14, 0, 29}) driver.Press(n);
  for (int left = 3; left >= 0; --left) {
    driver.Back();
    EXPECT_EQ(driver.Text(222), QString::number(left));
  }
  driver.Back();
  EXPECT_EQ(Snapshot(driver.Form()), Snapshot(fresh.Form()));
}

// After any run of presses, Backs and Resets, the window shows what a fresh window shows after
// the remaining spins alone.
TEST(Back, WindowEqualsAReplayOfTheRemainingSpins) {
  for (const unsigned seed : {1u, 2u, 3u, 4u, 5u}) {
    std::mt19937 random(seed);
    FormDriver driver;
    for (int step = 0; step < 120; ++step) {
      const unsigned roll = random() % 100;
      if (roll < 65)
        driver.Press(static_cast<int>(random() % 37));
      else if (roll < 97)
        driver.Back();
      else
        driver.Reset();
    }
    FormDriver replay;
    const SpinTally& tally = driver.Form().Tally();
    for (int k = 1; k <= tally.SpinCount(); ++k) replay.Press(tally.History(k).number);
    EXPECT_EQ(Snapshot(driver.Form()), Snapshot(replay.Form())) << "seed " << seed;
  }
}

TEST(Reset, AfterSpinsTheWindowIsAsAtStart) {
  FormDriver fresh;
  FormDriver driver;
  for (int i = 0; i < 25; ++i) driver.Press(i % 37);
  driver.Reset();
  EXPECT_EQ(Snapshot(driver.Form()), Snapshot(fresh.Form()));
  EXPECT_EQ(driver.Form().Tally().SpinCount(), 0);
  driver.Press(9);
  EXPECT_EQ(driver.Form().Tally().History(1).number, 9);
}

// The default locale is the user's regional settings unless set; a test sets it to follow a
// change made while the program runs.
class LocaleScope {
 public:
  explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
  ~LocaleScope() { QLocale::setDefault(saved_); }

 private:
  QLocale saved_;
};

TEST(Separator, RegionalCommaAndAChangeWhileRunning) {
  FormDriver driver;
  {
    const LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    for (const int n : {1, 2, 0}) driver.Press(n);
    EXPECT_EQ(driver.Text(157), QStringLiteral("33,33%"));
    EXPECT_EQ(driver.Bar(11).value(), 33);
  }
  {
    const LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const int n : {2, 4, 6}) driver.Press(n);
    EXPECT_EQ(driver.Text(157), QStringLiteral("16.67%"));
    EXPECT_EQ(driver.Bar(11).value(), 17);
  }
}

// A failure inside a handler reaches the general error report and the program goes on.
class FailingShell final : public QtShell {
 public:
  using QtShell::QtShell;
  std::string DecimalSeparator() override {
    if (failures_-- > 0) throw std::runtime_error("the regional settings could not be read");
    return QtShell::DecimalSeparator();
  }

 private:
  int failures_ = 1;
};

TEST(ErrorReport, AFailureIsShownAndTheProgramGoesOn) {
  FormDriver driver([](QWidget& window) { return std::make_unique<FailingShell>(window); });
  ModalDriver modal;
  QString shown;
  bool topmostWhileShown = true;
  modal.Expect<QMessageBox>([&](QMessageBox* box) {
    shown = box->text();
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    topmostWhileShown = driver.Form().windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
    box->accept();
  });
  driver.Press(4);
  EXPECT_TRUE(modal.Done());
  EXPECT_EQ(shown, QStringLiteral("the regional settings could not be read"));
  EXPECT_FALSE(topmostWhileShown);
  EXPECT_TRUE(driver.Form().windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
  driver.Press(4);
  EXPECT_EQ(driver.Text(222), QStringLiteral("2"));
  EXPECT_EQ(driver.Text(78), QStringLiteral("2"));
  EXPECT_EQ(driver.Text(115), QStringLiteral("100%"));
}

}  // namespace
}  // namespace vexilo::test
