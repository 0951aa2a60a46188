#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "FormDriver.h"
#include "qt/Palette.h"
#include "qt/ScreenFit.h"
#include "window/Centring.h"

namespace vexilo::test {
namespace {

bool IsDisplay(const Control& c) {
  return c.text == "xxxx" || c.text == "xx.xx";
}

// Every label made from its row shows its design text; measured in the real fonts, its box is
// the design size exactly. The notice's wording is ours: it only has to fit.
TEST(Layout, EveryDesignTextMeasuresItsDesignSize) {
  QWidget parent;
  int checked = 0;
  for (const Control& c : FormControls()) {
    if (c.kind != ControlKind::Label) continue;
    TLabel label(c, &parent);
    const QString name = label.objectName();
    if (c.name == "Label223") {
      EXPECT_LE(label.width(), c.width) << "the notice is wider than its place";
      EXPECT_EQ(label.height(), c.height);
      continue;
    }
    EXPECT_EQ(label.size(), QSize(c.width, c.height))
        << name.toStdString() << " \"" << label.Caption().toStdString() << '"';
    EXPECT_EQ(label.pos(), QPoint(c.left, c.top)) << name.toStdString();
    ++checked;
  }
  EXPECT_EQ(checked, 222);
}

TEST(Layout, ButtonsAndBarsStandWhereTheTableSays) {
  FormDriver driver;
  for (const Control& c : FormControls()) {
    if (c.kind == ControlKind::Label) continue;
    QWidget* widget = driver.Form().Control(c.name.view());
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), QRect(c.left, c.top, c.width, c.height)) << c.name.view();
    EXPECT_EQ(widget->objectName().toStdString(), c.name.view());
  }
  EXPECT_EQ(driver.Bar(1).height(), 17);
  EXPECT_EQ(driver.Bar(1).minimum(), 0);
  EXPECT_EQ(driver.Bar(1).maximum(), 100);
  EXPECT_FALSE(driver.Bar(1).isTextVisible());
}

TEST(Layout, WindowIsFixedTopmostWithoutMaximise) {
  FormDriver driver;
  TForm1& form = driver.Form();
  EXPECT_EQ(form.size(), QSize(834, 711));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Vexilo"));
  EXPECT_EQ(form.objectName(), QStringLiteral("Form1"));
  EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(form.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  form.resize(1000, 900);
  EXPECT_EQ(form.size(), QSize(834, 711));
  // Placed by the shared centring, from the primary screen and the window with its frame (the
  // arithmetic is the core's; the Placement desktop test sees it under a window manager).
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QRect frame = form.frameGeometry();
  const Origin origin =
      CentredOrigin({screen.left(), screen.top(), screen.right() + 1, screen.bottom() + 1},
                    frame.width(), frame.height());
  EXPECT_EQ(frame.topLeft(), QPoint(origin.left, origin.top));
}

TEST(Layout, ZeroDisplayAtStartUpWithoutPlaceholders) {
  FormDriver driver;
  for (const Control& c : FormControls()) {
    QWidget* widget = driver.Form().Control(c.name.view());
    if (auto* label = qobject_cast<TLabel*>(widget)) {
      EXPECT_FALSE(label->Caption().contains(QStringLiteral("xx"))) << c.name.view();
      if (IsDisplay(c)) {
        EXPECT_EQ(label->Caption(), c.text == "xxxx" ? QStringLiteral("0") : QStringLiteral("0%"))
            << c.name.view();
      }
    } else if (auto* bar = qobject_cast<QProgressBar*>(widget)) {
      EXPECT_EQ(bar->value(), 0) << c.name.view();
    }
  }
  for (int k = 1; k <= 20; ++k) {
    EXPECT_EQ(driver.Text(k), QString()) << k;
    EXPECT_EQ(driver.Label(k).Color(), clBtnFace) << k;
    EXPECT_EQ(driver.Label(k).size(), QSize(9, 27)) << k;
  }
}

TEST(Layout, DisplayLabelsKeepTheirAnchoredEdge) {
  FormDriver driver;
  struct Case {
    int label;
    const char* text;
    int right;
  };
  const Case cases[] = {
      {74, "1234", 64},    {74, "0", 64},       {111, "100%", 132},  {111, "33.33%", 132},
      {222, "99999", 824}, {175, "12.5%", 820}, {212, "8.33%", 540},
  };
  for (const Case& c : cases) {
    driver.Form().SetText(ControlOf(LabelNumber{c.label}), c.text);
    const TLabel& label = driver.Label(c.label);
    EXPECT_EQ(label.geometry().right() + 1, c.right) << c.label << ' ' << c.text;
    EXPECT_EQ(label.width(), label.fontMetrics().horizontalAdvance(QString::fromUtf8(c.text)));
  }
  // A left-justified label keeps its left edge.
  driver.Form().SetText(ControlOf(LabelNumber{37}), "0123");
  EXPECT_EQ(driver.Label(37).x(), 8);
}

// The strip: a red box exactly as wide as "36" ending at the slot's right edge; a narrower lime
// box for "0" ending at the same edge.
TEST(Layout, StripBoxesEndAtTheSlotEdgeOnThePocketColor) {
  FormDriver driver;
  driver.Press(36);
  const QImage red = Render(driver.Form());
  const QRect wide = driver.Label(1).geometry();
  EXPECT_EQ(wide.right() + 1, 58);
  EXPECT_EQ(Pixel(red, wide.left(), wide.bottom()), clRed);
  EXPECT_EQ(Pixel(red, wide.left() - 1, wide.bottom()),
            FromQColor(driver.Form().palette().color(QPalette::Button)));
  driver.Reset();
  driver.Press(0);
  const QRect narrow = driver.Label(1).geometry();
  EXPECT_EQ(narrow.right() + 1, 58);
  EXPECT_LT(narrow.width(), wide.width());
  EXPECT_EQ(Pixel(Render(driver.Form()), narrow.left(), narrow.bottom()), clLime);
}

TEST(Layout, ButtonFaceLabelsResolveToThePalette) {
  FormDriver driver;
  const QImage image = Render(driver.Label(21));
  EXPECT_EQ(driver.Label(21).Color(), clBtnFace);
  EXPECT_EQ(Pixel(image, 0, 0), FromQColor(driver.Label(21).palette().color(QPalette::Button)));
}

}  // namespace
}  // namespace vexilo::test

namespace vexilo::test {
namespace {

// The desktop's scale holds unless the window would not fit; then the largest scale that fits,
// but never below one device pixel per pixel.
TEST(ScreenFit, ScaleIsLoweredOnlyToFit) {
  struct Case {
    double ratio;
    QSize available;
    double scale;
  };
  const QSize window(850, 750);
  const Case cases[] = {
      {1.0, {1920, 1080}, 1.0},
      {2.0, {3840, 2160}, 2.0},
      {3.0, {1280, 1024}, 1024.0 / 750},
      {2.0, {1700, 1400}, 1400.0 / 750},
      {1.0, {800, 600}, 1.0},
      {1.25, {1280, 1024}, 1.25},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(FittingScale(c.ratio, c.available, window), c.scale) << c.ratio;
  }
}

}  // namespace
}  // namespace vexilo::test
