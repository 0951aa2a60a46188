// The colour button painted through the GDI surface onto memory bitmaps: bevels, frames,
// focus outlines, bevel width, the disabled caption and caption placement.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "Bitmap.h"
#include "win32/FontCache.h"
#include "win32/GdiCanvas.h"
#include "window/ColorBtn.h"

namespace vexilo::test {
namespace {

constexpr TColor kUntouched = 0x123456;  // what the bitmap holds before the paint

ColorBtn Button(TColor color, std::string caption = "17") {
  ColorBtn button;
  button.SetColor(color);
  button.SetCaption(std::move(caption));
  button.SetFont(FontOf(FontKind::NumberButton));
  return button;
}

Bitmap Paint(const ColorBtn& button, std::uint8_t state, int width = 41, int height = 41) {
  Bitmap bitmap(width, height);
  bitmap.Fill(kUntouched);
  FontCache fonts;
  {
    GdiCanvas canvas(bitmap.Dc(), fonts);
    button.DrawButton(canvas, {0, 0, width, height}, state);
  }
  GdiFlush();
  return bitmap;
}

TColor Shift(TColor c, int by) {
  const auto channel = [by](int v) { return std::clamp(v + by, 0, 255); };
  return MakeColor(channel(RedOf(c)), channel(GreenOf(c)), channel(BlueOf(c)));
}

TColor Face(TColor c) {
  return IsSystemColor(c) ? static_cast<TColor>(GetSysColor(SystemColorIndex(c))) : c;
}

struct BevelCase {
  std::string_view name;
  TColorBtnBevel style;
  bool pressed;
  bool sunken;
  bool captionMoves;
};

class ColorBtnBevel : public ::testing::TestWithParam<BevelCase> {};

TEST_P(ColorBtnBevel, IsRaisedOrSunkenTwoPixelsDeepAndMovesTheCaptionOnlyWhenPressed) {
  const BevelCase& c = GetParam();
  ColorBtn button = Button(clRed);
  button.SetBevelStyle(c.style);
  const Bitmap shot = Paint(button, c.pressed ? odsSelected : 0);
  const TColor light = MakeColor(255, 128, 128);
  const TColor dark = MakeColor(127, 0, 0);
  const TColor top = c.sunken ? dark : light;
  const TColor bottom = c.sunken ? light : dark;
  for (int ring = 0; ring < 2; ++ring) {
    const int last = 40 - ring;
    SCOPED_TRACE("ring " + std::to_string(ring));
    EXPECT_EQ(shot.Pixel(ring, ring), top);
    EXPECT_EQ(shot.Pixel(ring, 20), top);       // left column
    EXPECT_EQ(shot.Pixel(20, ring), top);       // top row
    EXPECT_EQ(shot.Pixel(last, ring), bottom);  // top-right corner
    EXPECT_EQ(shot.Pixel(ring, last), bottom);  // bottom-left corner
    EXPECT_EQ(shot.Pixel(last, last), bottom);
    EXPECT_EQ(shot.Pixel(last, 20), bottom);  // right column
    EXPECT_EQ(shot.Pixel(20, last), bottom);  // bottom row
  }
  EXPECT_EQ(shot.Pixel(2, 2), clRed) << "the face starts inside the two rings";

  const Bitmap rest = Paint(Button(clRed), 0);
  const Rect inside{2, 2, 39, 39};
  const std::optional<Rect> atRest = rest.BoundsOf(inside, clWhite);
  const std::optional<Rect> now = shot.BoundsOf(inside, clWhite);
  ASSERT_TRUE(atRest && now);
  const int move = c.captionMoves ? 1 : 0;
  EXPECT_EQ(now->left, atRest->left + move);
  EXPECT_EQ(now->top, atRest->top + move);
  EXPECT_EQ(now->right, atRest->right + move);
  EXPECT_EQ(now->bottom, atRest->bottom + move);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, ColorBtnBevel,
    ::testing::Values(BevelCase{"StdAtRest", cbStd, false, false, false},
                      BevelCase{"StdPressed", cbStd, true, true, true},
                      BevelCase{"LoweredAtRest", cbLowered, false, true, false},
                      BevelCase{"LoweredPressed", cbLowered, true, true, false},
                      BevelCase{"RaisedAtRest", cbRaised, false, false, false},
                      BevelCase{"RaisedPressed", cbRaised, true, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct FrameCase {
  std::string_view name;
  TColor color;
  bool active;
  bool focused;
  bool frame;
  std::optional<TColor> dots;  // the colour of the focus outline's inverted pixels
};

class ColorBtnFocus : public ::testing::TestWithParam<FrameCase> {};

TEST_P(ColorBtnFocus, ShowsTheDarkFrameAndTheDottedOutlineInTheContrastColor) {
  const FrameCase& c = GetParam();
  ColorBtn button = Button(c.color);
  button.SetActive(c.active);
  const Bitmap shot = Paint(button, c.focused ? odsFocus : 0);
  const TColor face = Face(c.color);
  const TColor light = Shift(face, 128);
  if (c.frame) {
    const TColor frame = Shift(face, -192);
    for (const auto& [x, y] : {std::pair{0, 0}, {40, 0}, {0, 40}, {40, 40}, {20, 0}, {0, 20}}) {
      EXPECT_EQ(shot.Pixel(x, y), frame) << x << "," << y;
    }
    EXPECT_EQ(shot.Pixel(1, 1), light) << "the bevel moves in by the frame";
  } else {
    EXPECT_EQ(shot.Pixel(0, 0), light) << "no frame: the bevel starts at the edge";
  }

  // The outline runs along the edge of what the bevel leaves: row 3 from x = 3 to 37.
  const int edge = c.frame ? 3 : 2;
  int inverted = 0;
  int alternations = 0;
  for (int x = edge; x < 41 - edge; ++x) {
    const TColor pixel = shot.Pixel(x, edge);
    inverted += pixel != face ? 1 : 0;
    if (x > edge && (pixel != face) != (shot.Pixel(x - 1, edge) != face)) ++alternations;
    if (c.dots && pixel != face) {
      EXPECT_EQ(pixel, *c.dots) << x;
    }
  }
  if (c.dots) {
    EXPECT_EQ(alternations, 41 - 2 * edge - 1) << "every other pixel";
    EXPECT_GE(inverted, (41 - 2 * edge) / 2);
    EXPECT_NE(shot.Pixel(edge, 20) == face, shot.Pixel(edge, 21) == face) << "dotted down the side";
  } else {
    EXPECT_EQ(inverted, 0) << "no focus outline";
  }
}

INSTANTIATE_TEST_SUITE_P(
    States, ColorBtnFocus,
    ::testing::Values(FrameCase{"BlackActiveFocused", clBlack, true, true, true, clWhite},
                      FrameCase{"RedActiveFocused", clRed, true, true, true, clBlack},
                      FrameCase{"LimeActiveFocused", clLime, true, true, true, clBlack},
                      FrameCase{"NavyActiveFocusedInvertsToWhite", clNavy, true, true, true,
                                clWhite},
                      FrameCase{"BtnFaceActiveFocused", clBtnFace, true, true, true, clBlack},
                      FrameCase{"RedFocusedOnly", clRed, false, true, true, std::nullopt},
                      FrameCase{"RedActiveOnly", clRed, true, false, true, std::nullopt},
                      FrameCase{"RedNeither", clRed, false, false, false, std::nullopt},
                      FrameCase{"BtnFaceNeither", clBtnFace, false, false, false, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ColorBtnPaint, BevelWidthBelowOneDrawsOneRing) {
  const struct {
    int width;
    int rings;
  } cases[] = {{0, 1}, {-5, 1}, {1, 1}, {4, 4}};
  for (const auto& c : cases) {
    ColorBtn button = Button(clBlack);
    button.SetBevelWidth(c.width);
    EXPECT_EQ(button.BevelWidth(), c.rings);
    const Bitmap shot = Paint(button, 0);
    const TColor light = MakeColor(128, 128, 128);
    EXPECT_EQ(shot.Pixel(c.rings - 1, c.rings - 1), light) << c.width;
    EXPECT_EQ(shot.Pixel(c.rings, c.rings), clBlack) << c.width;
  }
}

TEST(ColorBtnPaint, DisabledCaptionIsEmbossedLightBelowDark) {
  ColorBtn button = Button(clRed);
  button.SetEnabled(false);
  const Bitmap shot = Paint(button, 0);
  const Rect inside{2, 2, 39, 39};
  const std::optional<Rect> light = shot.BoundsOf(inside, MakeColor(255, 128, 128));
  const std::optional<Rect> dark = shot.BoundsOf(inside, MakeColor(191, 0, 0));
  ASSERT_TRUE(light && dark);
  EXPECT_EQ(light->right, dark->right + 1);
  EXPECT_EQ(light->bottom, dark->bottom + 1);
  EXPECT_EQ(shot.Count(inside, clWhite), 0) << "the font's own colour is not used";
  EXPECT_EQ(shot.Pixel(20, 3), clRed) << "the text background stays transparent";
  EXPECT_EQ(button.Font().color, clWhite) << "the button's font is left alone";
}

TEST(ColorBtnPaint, CaptionIsCentredInWhatTheBevelLeaves) {
  const struct {
    std::string_view name;
    std::string caption;
    int height;
  } cases[] = {{"square", "17", 41}, {"tall zero button", "0", 137}, {"one digit", "7", 41}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name));
    const Bitmap shot = Paint(Button(clBlack, c.caption), 0, 41, c.height);
    const std::optional<Rect> ink = shot.BoundsOf({0, 0, 41, c.height}, clWhite);
    ASSERT_TRUE(ink);
    // The text box runs from x = 3 to 38; centring may leave one pixel more on one side.
    EXPECT_LE(std::abs((ink->left - 3) - (38 - ink->right)), 1);
    EXPECT_GE(ink->left, 3);
    EXPECT_LE(ink->right, 38);
    const int middle = (ink->top + ink->bottom) / 2;
    EXPECT_NEAR(middle, c.height / 2, 4) << "vertically centred, not top-aligned";
  }
}

// Rows holding caption ink, split into runs: one run per line of text.
int LinesOf(const Bitmap& shot, TColor ink) {
  int lines = 0;
  bool previous = false;
  for (int y = 0; y < shot.Height(); ++y) {
    const bool any = shot.BoundsOf({0, y, shot.Width(), y + 1}, ink).has_value();
    if (any && !previous) ++lines;
    previous = any;
  }
  return lines;
}

TEST(ColorBtnPaint, CaptionSeparatorAndWordWrapBreakLines) {
  const struct {
    std::string caption;
    char separator;
    int lines;
  } cases[] = {{"A|B", '|', 2}, {"A|B", 0, 1}, {"AA BB", 0, 2}, {"A|B|C", '|', 3}};
  for (const auto& c : cases) {
    ColorBtn button = Button(clBlack, c.caption);
    button.SetCaptionSeparator(c.separator);
    const Bitmap shot = Paint(button, 0, 50, 100);
    EXPECT_EQ(LinesOf(shot, clWhite), c.lines) << c.caption << " separator " << int(c.separator);
    const std::optional<Rect> ink = shot.BoundsOf({0, 0, 50, 100}, clWhite);
    ASSERT_TRUE(ink);
    EXPECT_LE(std::abs((ink->left - 3) - (47 - ink->right)), 1) << c.caption << " centred";
  }
}

}  // namespace
}  // namespace vexilo::test
