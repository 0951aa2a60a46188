// The GDI drawing surface keeps the promises the colour button relies on.
#include <gtest/gtest.h>
#include <windows.h>

#include "Bitmap.h"
#include "win32/FontCache.h"
#include "win32/GdiCanvas.h"

namespace vexilo::test {
namespace {

constexpr TColor kFill = MakeColor(200, 40, 90);

TEST(GdiCanvas, FocusOutlineInvertsEveryOtherEdgePixelAgainstTheBackground) {
  const struct {
    std::string_view name;
    Rect rect;
    TColor background;
  } cases[] = {{"box", {2, 2, 18, 9}, clWhite},
               {"one row", {2, 4, 18, 5}, clWhite},
               {"one column", {5, 1, 6, 10}, MakeColor(10, 200, 30)},
               {"two by two", {3, 3, 5, 5}, clRed}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name));
    Bitmap bitmap(20, 12);
    bitmap.Fill(kFill);
    FontCache fonts;
    {
      GdiCanvas canvas(bitmap.Dc(), fonts);
      canvas.SetBkColor(c.background);
      canvas.DrawFocusRect(c.rect);
    }
    GdiFlush();
    const TColor inverted = kFill ^ c.background;
    int changed = 0;
    int edge = 0;
    for (int y = 0; y < 12; ++y) {
      for (int x = 0; x < 20; ++x) {
        const bool inRect =
            x >= c.rect.left && x < c.rect.right && y >= c.rect.top && y < c.rect.bottom;
        const bool onEdge = inRect && (x == c.rect.left || x == c.rect.right - 1 ||
                                       y == c.rect.top || y == c.rect.bottom - 1);
        const TColor pixel = bitmap.Pixel(x, y);
        edge += onEdge ? 1 : 0;
        if (!onEdge) {
          EXPECT_EQ(pixel, kFill) << x << "," << y;
          continue;
        }
        EXPECT_TRUE(pixel == kFill || pixel == inverted) << x << "," << y;
        if (pixel == inverted) ++changed;
        // Neighbours along the edge differ: a dotted line, never two inverted side by side.
        if (x + 1 < c.rect.right && (y == c.rect.top || y == c.rect.bottom - 1)) {
          EXPECT_NE(pixel == inverted, bitmap.Pixel(x + 1, y) == inverted) << x << "," << y;
        }
      }
    }
    EXPECT_GE(changed, edge / 2 - 1);
    EXPECT_LE(changed, edge / 2 + 1);

    // Drawing it again takes it away: each pixel was inverted exactly once.
    {
      GdiCanvas canvas(bitmap.Dc(), fonts);
      canvas.SetBkColor(c.background);
      canvas.DrawFocusRect(c.rect);
    }
    GdiFlush();
    EXPECT_EQ(bitmap.Count({0, 0, 20, 12}, kFill), 20 * 12);
  }
}

TEST(GdiCanvas, MeasuresLinesInTheSelectedFont) {
  Bitmap bitmap(200, 200);
  FontCache fonts;
  GdiCanvas canvas(bitmap.Dc(), fonts);
  const FontSpec font = FontOf(FontKind::NumberButton);
  canvas.SetFont(font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(bitmap.Dc(), &metrics);
  EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, font.height)
      << "a negative height asks for the character height";
  EXPECT_GE(metrics.tmWeight, FW_BOLD);

  const struct {
    std::string_view text;
    int lines;
    std::wstring_view widthOf;
  } cases[] = {{"17", 1, L"17"}, {"22\r\n1", 2, L"22"}, {"A&B", 1, L"AB"}, {"&&", 1, L"&"}};
  for (const auto& c : cases) {
    Rect rect{10, 20, 190, 190};
    canvas.DrawText(c.text, rect, dtCenter | dtWordBreak | dtExpandTabs | dtCalcRect);
    SIZE size{};
    GetTextExtentPoint32W(bitmap.Dc(), c.widthOf.data(), static_cast<int>(c.widthOf.size()), &size);
    EXPECT_EQ(rect.top, 20) << c.text;
    EXPECT_EQ(rect.bottom, 20 + c.lines * metrics.tmHeight) << c.text;
    EXPECT_EQ(rect.right - rect.left, size.cx) << c.text;
  }
}

TEST(GdiCanvas, ResolvesSystemColorsAndRestoresTheContext) {
  Bitmap bitmap(10, 10);
  FontCache fonts;
  const HGDIOBJ fontBefore = GetCurrentObject(bitmap.Dc(), OBJ_FONT);
  {
    GdiCanvas canvas(bitmap.Dc(), fonts);
    EXPECT_EQ(canvas.ResolveSystemColor(COLOR_BTNFACE),
              static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
    canvas.FillRect({0, 0, 10, 10}, clBtnFace);
    canvas.SetFont(FontOf(FontKind::Strip));
    canvas.SetTextColor(clRed);
  }
  GdiFlush();
  EXPECT_EQ(bitmap.Pixel(5, 5), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(GetCurrentObject(bitmap.Dc(), OBJ_FONT), fontBefore);
  EXPECT_NE(GetTextColor(bitmap.Dc()), static_cast<COLORREF>(clRed));
}

}  // namespace
}  // namespace vexilo::test
