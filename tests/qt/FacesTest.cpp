// The board's faces come with the program: the design's fonts resolve to the carried twins
// whatever the system has installed, and a character the twins lack comes from a fallback face.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>

#include "qt/Fonts.h"
#include "qt/TLabel.h"
#include "window/FormTable.h"

namespace vexilo::test {
namespace {

TEST(Faces, DesignFontsResolveToTheCarriedTwins) {
  const struct {
    FontSpec font;
    const char* family;
  } cases[] = {
      {FontOf(FontKind::Window), "Vexilo P Gothic"},
      {FontOf(FontKind::Strip), "Vexilo P Gothic"},
      {FontOf(FontKind::NumberButton), "Vexilo Serif"},
      {{kFaceGothic, 21, clWhite, true}, "Vexilo Sans"},
  };
  for (const auto& c : cases) {
    const QFontInfo info(ToQFont(c.font));
    EXPECT_EQ(info.family(), QString::fromLatin1(c.family)) << c.font.face;
    EXPECT_EQ(info.pixelSize(), c.font.height) << c.font.face;
  }
}

// The Arabic decimal separator is in none of the carried faces.
TEST(Faces, ASeparatorTheTwinsLackComesFromAFallbackFaceAndSizesTheLabel) {
  QWidget parent;
  TLabel label(ControlAt(ControlOf(LabelNumber{112})), &parent);
  label.SetCaption("33\u066B33%");

  QTextLayout layout(label.Caption(), label.font());
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  const QList<QGlyphRun> separator = layout.glyphRuns(2, 1);
  ASSERT_EQ(separator.size(), 1);
  EXPECT_NE(separator[0].rawFont().familyName(), QStringLiteral("Vexilo P Gothic"));
  EXPECT_NE(separator[0].glyphIndexes().value(0), 0u) << "drawn, not a missing-glyph box";

  EXPECT_EQ(label.geometry().right() + 1, 132);
  EXPECT_EQ(label.width(), label.fontMetrics().horizontalAdvance(label.Caption()));
  EXPECT_GT(label.width(), label.fontMetrics().horizontalAdvance(QStringLiteral("3333%")));
}

}  // namespace
}  // namespace vexilo::test
