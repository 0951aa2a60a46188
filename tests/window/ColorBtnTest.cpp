#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "window/ColorBtn.h"

namespace vexilo {
namespace {

constexpr TColor kFace = MakeColor(240, 240, 240);  // this canvas's button face

// A canvas that keeps pixels in memory and lays text out in a fixed grid: each character is
// 8 pixels wide, each line 16 high, lines broken only at CR LF.
class PixelCanvas final : public Canvas {
 public:
  struct Text {
    std::string text;
    Rect rect;
    unsigned flags;
    TColor color;
    bool opaque;
  };

  PixelCanvas(int width, int height)
      : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height), -1) {}

  TColor ResolveSystemColor(int index) override { return index == kSysBtnFace ? kFace : clBlack; }
  void SetFont(const FontSpec&) override {}
  void SetTextColor(TColor color) override { text_ = color; }
  void SetBkColor(TColor color) override { background_ = color; }
  void SetBkOpaque(bool opaque) override { opaque_ = opaque; }
  void FillRect(const Rect& r, TColor color) override {
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, height_); ++y) {
      for (int x = std::max(r.left, 0); x < std::min(r.right, width_); ++x) At(x, y) = color;
    }
  }
  void DrawFocusRect(const Rect& r) override {
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        const bool edge = x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1;
        if (edge && (x + y) % 2 == 0) At(x, y) ^= background_;
      }
    }
  }
  void DrawText(std::string_view text, Rect& rect, unsigned flags) override {
    int lines = 1;
    for (std::size_t at = text.find("\r\n"); at != std::string_view::npos;
         at = text.find("\r\n", at + 2)) {
      ++lines;
    }
    if ((flags & dtCalcRect) != 0) {
      rect.bottom = rect.top + 16 * lines;
      return;
    }
    drawn.push_back({std::string(text), rect, flags, text_, opaque_});
  }

  TColor& At(int x, int y) { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }

  std::vector<Text> drawn;

 private:
  int width_;
  int height_;
  std::vector<TColor> pixels_;
  TColor text_ = -1;
  TColor background_ = -1;
  bool opaque_ = false;
};

ColorBtn Button(TColor color, const std::string& caption = "17") {
  ColorBtn button;
  button.SetColor(color);
  button.SetCaption(caption);
  button.SetFont({kFaceMincho, 21, clWhite, true});
  return button;
}

TEST(ColorShading, ChannelsSaturateAndSystemColorsResolveFirst) {
  PixelCanvas canvas(1, 1);
  struct Case {
    TColor color;
    int amount;
    TColor lighter;
    TColor darker;
  };
  const Case cases[] = {
      {clRed, 128, MakeColor(255, 128, 128), MakeColor(127, 0, 0)},
      {clLime, 192, MakeColor(192, 255, 192), MakeColor(0, 63, 0)},
      {clBlack, 64, MakeColor(64, 64, 64), clBlack},
      {clBtnFace, 128, MakeColor(255, 255, 255), MakeColor(112, 112, 112)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LightenColor(canvas, c.color, c.amount), c.lighter) << c.color;
    EXPECT_EQ(DarkenColor(canvas, c.color, c.amount), c.darker) << c.color;
  }
}

TEST(FocusContrast, DarkBasicColorsInvertAllOthersStay) {
  struct Case {
    TColor stored;
    TColor contrast;
  };
  const Case cases[] = {
      {clBlack, clWhite},   {clMaroon, 0xFFFF7F}, {clNavy, 0x7FFFFF}, {clBlue, 0x00FFFF},
      {clRed, clRed},       {clLime, clLime},     {clWhite, clWhite}, {clBtnFace, clBtnFace},
      {0x000081, 0x000081},  // close to maroon is not maroon
  };
  for (const Case& c : cases) EXPECT_EQ(FocusContrastColor(c.stored), c.contrast) << c.stored;
}

TEST(ColorBtnProperties, SettersReportChangesAndBevelWidthStaysPositive) {
  ColorBtn button;
  EXPECT_EQ(button.Color(), clBtnFace);
  EXPECT_EQ(button.BevelStyle(), cbStd);
  EXPECT_EQ(button.BevelWidth(), 2);
  EXPECT_FALSE(button.SetBevelWidth(2));
  struct Case {
    int asked;
    int stored;
    bool changed;
  };
  const Case cases[] = {{0, 1, true}, {-5, 1, false}, {1, 1, false}, {3, 3, true}, {-1, 1, true}};
  for (const Case& c : cases) {
    EXPECT_EQ(button.SetBevelWidth(c.asked), c.changed) << c.asked;
    EXPECT_EQ(button.BevelWidth(), c.stored) << c.asked;
  }
  EXPECT_TRUE(button.SetColor(clRed));
  EXPECT_FALSE(button.SetColor(clRed));
  EXPECT_TRUE(button.SetBevelStyle(cbRaised));
  EXPECT_FALSE(button.SetBevelStyle(cbRaised));
  EXPECT_TRUE(button.SetCaptionSeparator('|'));
  EXPECT_FALSE(button.SetCaptionSeparator('|'));
  EXPECT_TRUE(button.SetActive(true));
  EXPECT_FALSE(button.SetActive(true));
}

TEST(DrawButton, BevelFrameAndFocusPixels) {
  struct Case {
    const char* what;
    TColor color;
    TColorBtnBevel style;
    std::uint8_t state;
    bool active;
    int x;
    int y;
    TColor expected;
  };
  const TColor redLight = MakeColor(255, 128, 128);
  const TColor redDark = MakeColor(127, 0, 0);
  const Case cases[] = {
      {"raised at rest: top-left light", clRed, cbStd, 0, false, 0, 0, redLight},
      {"raised at rest: second ring light", clRed, cbStd, 0, false, 1, 1, redLight},
      {"raised at rest: inside is the face", clRed, cbStd, 0, false, 2, 2, clRed},
      {"top-right corner takes the bottom colour", clRed, cbStd, 0, false, 40, 0, redDark},
      {"bottom-left corner takes the bottom colour", clRed, cbStd, 0, false, 0, 40, redDark},
      {"pressed: sunken", clRed, cbStd, odsSelected, false, 0, 0, redDark},
      {"pressed: sunken bottom", clRed, cbStd, odsSelected, false, 40, 40, redLight},
      {"lowered at rest", clRed, cbLowered, 0, false, 0, 0, redDark},
      {"raised pressed", clRed, cbRaised, odsSelected, false, 0, 0, redLight},
      {"focused alone: frame", clRed, cbStd, odsFocus, false, 0, 0, MakeColor(63, 0, 0)},
      {"focused alone: no outline", clRed, cbStd, odsFocus, false, 3, 3, clRed},
      {"active alone: frame", clLime, cbStd, 0, true, 20, 0, MakeColor(0, 63, 0)},
      {"black frame stays black", clBlack, cbStd, odsFocus, true, 0, 0, clBlack},
      {"black outline is white", clBlack, cbStd, odsFocus, true, 3, 3, clWhite},
      {"outline skips every other pixel", clBlack, cbStd, odsFocus, true, 4, 3, clBlack},
      {"red outline is black", clRed, cbStd, odsFocus, true, 3, 3, clBlack},
      {"lime outline is black", clLime, cbStd, odsFocus, true, 37, 37, clBlack},
      {"button face outline is black", clBtnFace, cbStd, odsFocus, true, 3, 5, clBlack},
  };
  for (const Case& c : cases) {
    ColorBtn button = Button(c.color);
    button.SetBevelStyle(c.style);
    button.SetActive(c.active);
    PixelCanvas canvas(41, 41);
    button.DrawButton(canvas, {0, 0, 41, 41}, c.state);
    EXPECT_EQ(canvas.At(c.x, c.y), c.expected) << c.what;
  }
}

TEST(DrawButton, TextBoxIsCentredInsideTheBevel) {
  struct Case {
    const char* what;
    TColorBtnBevel style;
    std::uint8_t state;
    bool active;
    char separator;
    const char* caption;
    Rect box;
    std::string text;
  };
  // 41 x 41: the bevel leaves (2, 2, 39, 39); one 16-pixel line measures to 18, so
  // dy = (18 - 39) / 2 = -10 and the box is (3, 12, 38, 29).
  const Case cases[] = {
      {"one line at rest", cbStd, 0, false, 0, "17", {3, 12, 38, 29}, "17"},
      {"pressed moves it right and down",
       cbStd,
       odsSelected,
       false,
       0,
       "17",
       {4, 13, 39, 30},
       "17"},
      {"lowered pressed does not move",
       cbLowered,
       odsSelected,
       false,
       0,
       "17",
       {3, 12, 38, 29},
       "17"},
      {"the frame takes one more pixel", cbStd, odsFocus, true, 0, "17", {4, 12, 37, 29}, "17"},
      {"separator breaks the line", cbStd, 0, false, '|', "a|b", {3, 4, 38, 37}, "a\r\nb"},
      {"without separator the bar stays", cbStd, 0, false, 0, "a|b", {3, 12, 38, 29}, "a|b"},
  };
  for (const Case& c : cases) {
    ColorBtn button = Button(clRed, c.caption);
    button.SetBevelStyle(c.style);
    button.SetActive(c.active);
    button.SetCaptionSeparator(c.separator);
    PixelCanvas canvas(41, 41);
    button.DrawButton(canvas, {0, 0, 41, 41}, c.state);
    ASSERT_EQ(canvas.drawn.size(), 1u) << c.what;
    EXPECT_EQ(canvas.drawn[0].rect, c.box) << c.what;
    EXPECT_EQ(canvas.drawn[0].text, c.text) << c.what;
    EXPECT_EQ(canvas.drawn[0].flags, dtWordBreak | dtExpandTabs | dtCenter) << c.what;
    EXPECT_EQ(canvas.drawn[0].color, clWhite) << c.what;
    EXPECT_TRUE(canvas.drawn[0].opaque) << c.what;
  }
}

TEST(DrawButton, DisabledCaptionIsEmbossed) {
  ColorBtn button = Button(clRed);
  button.SetEnabled(false);
  PixelCanvas canvas(41, 41);
  button.DrawButton(canvas, {0, 0, 41, 41}, 0);
  ASSERT_EQ(canvas.drawn.size(), 2u);
  EXPECT_EQ(canvas.drawn[0].color, MakeColor(255, 128, 128));
  EXPECT_EQ(canvas.drawn[0].rect, (Rect{4, 13, 39, 30}));
  EXPECT_EQ(canvas.drawn[1].color, MakeColor(191, 0, 0));
  EXPECT_EQ(canvas.drawn[1].rect, (Rect{3, 12, 38, 29}));
  EXPECT_FALSE(canvas.drawn[0].opaque);
  EXPECT_FALSE(canvas.drawn[1].opaque);
}

TEST(DrawButton, WideBevelShrinksTheRectangleByItsWidth) {
  ColorBtn button = Button(clRed);
  button.SetBevelWidth(5);
  PixelCanvas canvas(41, 41);
  button.DrawButton(canvas, {0, 0, 41, 41}, 0);
  EXPECT_EQ(canvas.At(4, 4), MakeColor(255, 128, 128));
  EXPECT_EQ(canvas.At(5, 5), clRed);
  ASSERT_EQ(canvas.drawn.size(), 1u);
  EXPECT_EQ(canvas.drawn[0].rect.left, 6);
  EXPECT_EQ(canvas.drawn[0].rect.right, 35);
}

// On a board at 1.5 the rules are 2 pixels wide (the frame and bevel are read on the rendered
// board, tests/win32/dpi.sh): the focus outline is two dotted lines, a press moves the caption 2.
TEST(DrawButton, TheOutlineAndThePressTakeTheRuleWidth) {
  ColorBtn button = Button(clRed);
  button.SetActive(true);
  button.SetRuleWidth(2);
  PixelCanvas canvas(62, 62);
  button.DrawButton(canvas, {0, 0, 62, 62}, odsFocus);
  EXPECT_EQ(canvas.At(6, 30), clBlack);  // the frame and bevel take 6
  EXPECT_EQ(canvas.At(7, 31), clBlack);
  EXPECT_EQ(canvas.At(8, 30), clRed);
  button.DrawButton(canvas, {0, 0, 62, 62}, odsSelected);
  EXPECT_EQ(canvas.drawn.at(1).rect.left, 9) << "2 right of 7";
}

}  // namespace
}  // namespace vexilo
