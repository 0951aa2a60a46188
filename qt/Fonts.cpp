#include "qt/Fonts.h"

#include <array>

namespace vexilo {
namespace {

struct Substitute {
  std::string_view face;
  std::array<const char*, 4> families;
};

// "Ume P Gothic" measures every caption of the window to the pixel. The Yu faces have a true
// bold and tall line metrics; the Noto CJK faces share both, with lighter faces behind them.
constexpr std::array<Substitute, 3> kSubstitutes = {{
    {kFacePGothic, {"Ume P Gothic", "IPAPGothic", "VL PGothic", "Noto Sans CJK JP"}},
    {kFaceMincho, {"Noto Serif CJK JP", "Ume P Mincho", "IPAPMincho", "IPAexMincho"}},
    {kFaceGothic, {"Noto Sans CJK JP", "BIZ UDPGothic", "Ume P Gothic", "IPAPGothic"}},
}};

}  // namespace

QStringList SubstituteFamilies(std::string_view face) {
  QStringList families;
  for (const Substitute& substitute : kSubstitutes) {
    if (substitute.face != face) continue;
    for (const char* family : substitute.families) families << QString::fromLatin1(family);
  }
  families << QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()));
  return families;
}

QFont ToQFont(const FontSpec& design) {
  QFont font;
  font.setFamilies(SubstituteFamilies(design.face));
  font.setPixelSize(design.height);
  font.setWeight(design.bold ? QFont::Bold : QFont::Normal);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

}  // namespace vexilo
