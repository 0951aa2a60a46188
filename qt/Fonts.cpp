#include "qt/Fonts.h"

namespace vexilo {
namespace {

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QStringList SubstituteFamilies(std::string_view face) {
  QStringList families;
  if (const EmbeddedFace* twin = EmbeddedFaceOf(face)) families << Utf8(twin->family);
  families << Utf8(face);
  return families;
}

// The layout's pixel widths are those of the twins' hinted advances: full hinting throughout.
QFont ToQFont(const FontSpec& design) {
  QFont font;
  font.setFamilies(SubstituteFamilies(design.face));
  font.setPixelSize(design.height);
  font.setWeight(design.bold ? QFont::Bold : QFont::Normal);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

}  // namespace vexilo
