#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "FormDriver.h"
#include "qt/Palette.h"

namespace vexilo::test {
namespace {

// A colour button alone in an active window, so that it can hold the focus.
class Bench {
 public:
  explicit Bench(TColor color, QSize size = {41, 41}, const char* caption = "8") {
    window_.resize(120, 200);
    other_ = new QPushButton(&window_);  // holds the focus unless a test gives it away
    other_->setGeometry(10, 150, 40, 20);
    button_ = new TColorBtn(&window_);
    button_->setGeometry(10, 10, size.width(), size.height());
    button_->SetFontSpec({kFaceMincho, 21, clWhite, true});
    button_->SetCaption(caption);
    button_->SetColor(color);
    window_.show();
    window_.activateWindow();
    if (!QTest::qWaitForWindowActive(&window_)) qWarning("the window did not become active");
    other_->setFocus();
  }
  TColorBtn& Button() { return *button_; }
  QImage Image() { return Render(*button_); }
  void Focus(bool active) {
    button_->setFocus();
    button_->SetActive(active);
  }

 private:
  QWidget window_;
  QPushButton* other_;
  TColorBtn* button_;
};

// The box around every pixel of the given colour.
QRect Ink(const QImage& image, TColor color) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (Pixel(image, x, y) == color) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

// Rows holding at least one pixel of the colour, counted as runs of adjacent rows.
int InkRowRuns(const QImage& image, TColor color) {
  int runs = 0;
  bool previous = false;
  for (int y = 0; y < image.height(); ++y) {
    bool any = false;
    for (int x = 0; x < image.width(); ++x) any = any || Pixel(image, x, y) == color;
    if (any && !previous) ++runs;
    previous = any;
  }
  return runs;
}

constexpr TColor kRedLight = MakeColor(255, 128, 128);
constexpr TColor kRedDark = MakeColor(127, 0, 0);

TEST(ColorBtnPixels, BevelFollowsStyleAndPress) {
  struct Case {
    TColorBtnBevel style;
    bool down;
    TColor topLeft;
    TColor bottomRight;
    bool captionMoves;
  };
  const Case cases[] = {
      {cbStd, false, kRedLight, kRedDark, false},     {cbStd, true, kRedDark, kRedLight, true},
      {cbLowered, false, kRedDark, kRedLight, false}, {cbLowered, true, kRedDark, kRedLight, false},
      {cbRaised, false, kRedLight, kRedDark, false},  {cbRaised, true, kRedLight, kRedDark, false},
  };
  for (const Case& c : cases) {
    Bench bench(clRed);
    bench.Button().SetBevelStyle(c.style);
    const QRect rest = Ink(bench.Image(), clWhite);
    bench.Button().setDown(c.down);
    const QImage image = bench.Image();
    const std::string what = std::to_string(c.style) + (c.down ? " down" : " up");
    for (const int ring : {0, 1}) {
      EXPECT_EQ(Pixel(image, ring, ring), c.topLeft) << what;
      EXPECT_EQ(Pixel(image, 40 - ring, 40 - ring), c.bottomRight) << what;
      EXPECT_EQ(Pixel(image, 40 - ring, ring), c.bottomRight) << what << " top-right corner";
    }
    EXPECT_EQ(Pixel(image, 2, 2), clRed) << what;
    const QRect caption = Ink(image, clWhite);
    ASSERT_FALSE(caption.isEmpty()) << what;
    EXPECT_EQ(caption.topLeft(), rest.topLeft() + (c.captionMoves ? QPoint(1, 1) : QPoint(0, 0)))
        << what;
  }
}

// The active frame is DarkenColor(Color, 192); the outline inverts every other pixel against
// the contrast colour, so it shows on black, red and lime alike.
TEST(ColorBtnPixels, FrameAndFocusOutlineOnThePocketColors) {
  struct Case {
    TColor color;
    TColor frame;
    TColor dot;
  };
  const Case cases[] = {
      {clBlack, clBlack, clWhite},
      {clRed, MakeColor(63, 0, 0), clBlack},
      {clLime, MakeColor(0, 63, 0), clBlack},
  };
  for (const Case& c : cases) {
    Bench bench(c.color);
    bench.Focus(true);
    const QImage image = bench.Image();
    EXPECT_EQ(Pixel(image, 0, 0), c.frame) << c.color;
    EXPECT_EQ(Pixel(image, 40, 20), c.frame) << c.color;
    EXPECT_EQ(Pixel(image, 3, 3), c.dot) << c.color;    // (3 + 3) even: inverted
    EXPECT_EQ(Pixel(image, 4, 3), c.color) << c.color;  // odd: untouched
    EXPECT_EQ(Pixel(image, 37, 37), c.dot) << c.color;
    EXPECT_EQ(Pixel(image, 3, 20), c.color) << c.color;
    EXPECT_EQ(Pixel(image, 3, 21), c.dot) << c.color;
  }
}

TEST(ColorBtnPixels, FocusWithoutActiveHasFrameButNoOutline) {
  Bench bench(clBlack);
  bench.Focus(false);
  const QImage image = bench.Image();
  EXPECT_EQ(Pixel(image, 0, 0), clBlack);
  EXPECT_EQ(Pixel(image, 3, 3), clBlack);
}

// 41 x 41, neither active nor focused: the text box is 35 pixels wide from x = 3 and centred
// on rows 2 to 38, so the digit's ink sits inside it with equal margins.
TEST(ColorBtnPixels, CaptionIsCentredInTheTextBox) {
  Bench bench(clRed);
  const QRect ink = Ink(bench.Image(), clWhite);
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GE(ink.left(), 3);
  EXPECT_LE(ink.right(), 37);
  EXPECT_LE(std::abs((ink.left() - 3) - (37 - ink.right())), 1);
  EXPECT_LE(std::abs((ink.top() - 2) - (38 - ink.bottom())), 4);
}

TEST(ColorBtnPixels, BevelWidthBelowOneDrawsOneRing) {
  for (const int asked : {0, -3}) {
    Bench bench(clRed);
    bench.Button().SetBevelWidth(asked);
    EXPECT_EQ(bench.Button().BevelWidth(), 1);
    const QImage image = bench.Image();
    EXPECT_EQ(Pixel(image, 0, 0), kRedLight);
    EXPECT_EQ(Pixel(image, 1, 1), clRed);
  }
}

// Lines break at the separator and, word-wrapped, at a space; each line is centred.
TEST(ColorBtnPixels, CaptionSeparatorAndWordWrapBreakLines) {
  const struct {
    const char* caption;
    char separator;
    int lines;
  } cases[] = {{"A|B", '|', 2}, {"A|B", 0, 1}, {"AA BB", 0, 2}, {"12 34", 0, 2}, {"A|B|C", '|', 3}};
  for (const auto& c : cases) {
    Bench bench(clRed, {50, 100}, c.caption);
    bench.Button().SetCaptionSeparator(c.separator);
    const QImage image = bench.Image();
    EXPECT_EQ(InkRowRuns(image, clWhite), c.lines) << c.caption << " separator " << c.separator;
    const QRect ink = Ink(image, clWhite);
    ASSERT_FALSE(ink.isEmpty()) << c.caption;
    EXPECT_GE(ink.left(), 3) << c.caption << " clipped";
    EXPECT_LE(std::abs((ink.left() - 3) - (46 - ink.right())), 1) << c.caption << " centred";
  }
}

TEST(ColorBtnPixels, DisabledCaptionIsEmbossed) {
  Bench bench(clRed);
  bench.Button().setEnabled(false);
  const QImage image = bench.Image();
  EXPECT_TRUE(Ink(image, clWhite).isEmpty());
  // Inside the bevel: the dark copy in DarkenColor(Color, 64), and the light copy in
  // LightenColor(Color, 128) showing one pixel down-right of it (blended at glyph edges).
  const QImage inside = image.copy(2, 2, 37, 37);
  const QRect dark = Ink(inside, MakeColor(191, 0, 0));
  ASSERT_FALSE(dark.isEmpty());
  QRect light;
  for (int y = 0; y < inside.height(); ++y) {
    for (int x = 0; x < inside.width(); ++x) {
      const TColor p = Pixel(inside, x, y);
      if (RedOf(p) == 255 && GreenOf(p) > 64 && GreenOf(p) == BlueOf(p)) light |= QRect(x, y, 1, 1);
    }
  }
  ASSERT_FALSE(light.isEmpty());
  EXPECT_GT(light.right(), dark.right());
  EXPECT_GT(light.bottom(), dark.bottom());
  EXPECT_GE(light.left(), dark.left());
}

// clBtnFace is the palette's button colour, resolved before it is lightened: 100, 150, 200
// lightens by 128 to 228, 255, 255.
TEST(ColorBtnPixels, ButtonFaceResolvesToThePalette) {
  Bench bench(clBtnFace);
  QPalette palette = bench.Button().palette();
  palette.setColor(QPalette::Button, QColor(100, 150, 200));
  bench.Button().setPalette(palette);
  bench.Focus(true);
  const QImage image = bench.Image();
  EXPECT_EQ(Pixel(image, 20, 1), MakeColor(228, 255, 255));
  EXPECT_EQ(Pixel(image, 4, 3), MakeColor(100, 150, 200));
  EXPECT_EQ(Pixel(image, 3, 3), clBlack);  // the contrast colour of clBtnFace is itself
}

TEST(ColorBtnPixels, RepaintRules) {
  Bench bench(clRed);
  TColorBtn& button = bench.Button();
  button.SetColor(clBlack);
  EXPECT_EQ(button.Color(), clBlack);
  EXPECT_EQ(Pixel(bench.Image(), 2, 2), clBlack);
  button.SetActive(true);
  EXPECT_TRUE(button.Active());
  EXPECT_EQ(Pixel(bench.Image(), 0, 0), clBlack);
  EXPECT_EQ(Pixel(bench.Image(), 1, 1), MakeColor(128, 128, 128));
}

}  // namespace
}  // namespace vexilo::test
