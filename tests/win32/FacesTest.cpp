// The faces the program carries stand in for the design's faces wherever the system lacks
// them, as Wine's prefix does (like a Western Windows), and a character they lack still shows.
#include <gtest/gtest.h>
#include <windows.h>

#include "Bitmap.h"
#include "FormDriver.h"
#include "export/Utf16.h"
#include "win32/FontCache.h"
#include "window/FormTable.h"

namespace vexilo::test {
namespace {

std::wstring FaceOf(HDC dc) {
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  return face;
}

TEST(Win32Faces, MissingDesignFacesAreDrawnInTheCarriedTwins) {
  EXPECT_TRUE(EmbeddedFaces::IsInstalled(L"Tahoma")) << "fonts-wine's face, there to be found";
  for (const std::string_view face : {kFacePGothic, kFaceMincho, kFaceGothic}) {
    EXPECT_FALSE(EmbeddedFaces::IsInstalled(ToUtf16(face))) << face;
  }
  const struct {
    FontSpec font;
    std::wstring_view face;
  } cases[] = {
      {FontOf(FontKind::Window), L"Vexilo P Gothic"},
      {FontOf(FontKind::Strip), L"Vexilo P Gothic"},
      {FontOf(FontKind::NumberButton), L"Vexilo Serif"},
      {{kFaceGothic, 21, clWhite, true}, L"Vexilo Sans"},
  };
  FontCache fonts;
  const Bitmap bitmap(8, 8);
  for (const auto& c : cases) {
    SelectObject(bitmap.Dc(), fonts.Get(c.font));
    EXPECT_EQ(FaceOf(bitmap.Dc()), c.face) << c.font.face;
    TEXTMETRICW metrics{};
    GetTextMetricsW(bitmap.Dc(), &metrics);
    EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, c.font.height) << c.font.face;
    EXPECT_EQ(metrics.tmCharSet, SHIFTJIS_CHARSET) << c.font.face;
  }
}

int Width(HDC dc, std::wstring_view text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// The Arabic decimal separator is in none of the carried faces: a fallback face draws it, and
// the share label is as wide as the digits and "%" in its own face and the separator in that.
TEST(Win32Faces, ASeparatorTheFacesLackIsDrawnInAFallbackFace) {
  FormDriver driver;
  driver.Form().SetText(ControlOf(LabelNumber{112}), "33\u066B33%");
  driver.Pump();
  const RECT box = driver.Box("Label112");

  FontCache fonts;
  const Bitmap probe(8, 8);
  const FontSpec design = FontOf(FontKind::Window);
  SelectObject(probe.Dc(), fonts.Get(design));
  const int digits = Width(probe.Dc(), L"33");
  const int rest = Width(probe.Dc(), L"33%");
  const HFONT fallback = fonts.Fallback(probe.Dc(), design, L"\u066B");
  ASSERT_NE(fallback, nullptr);
  SelectObject(probe.Dc(), fallback);
  const int separator = Width(probe.Dc(), L"\u066B");
  EXPECT_GT(separator, 0);
  EXPECT_EQ(box.right, 132);
  EXPECT_EQ(box.right - box.left, digits + separator + rest);

  // Ink of the separator between the two pairs of digits.
  const Bitmap shot = driver.Capture();
  const int left = box.left + digits;
  EXPECT_TRUE(shot.InkBounds({left, box.top, left + separator, box.bottom},
                             static_cast<TColor>(GetSysColor(COLOR_BTNFACE))));
}

}  // namespace
}  // namespace vexilo::test
