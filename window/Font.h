#pragma once

#include <array>
#include <string_view>

#include "engine/Color.h"

namespace vexilo {

// Faces of the design, as UTF-8; every font uses the Shift-JIS character set.
inline constexpr std::string_view kFacePGothic = "ＭＳ Ｐゴシック";
inline constexpr std::string_view kFaceMincho = "游明朝";
inline constexpr std::string_view kFaceGothic = "游ゴシック";

// The faces the program carries, one for each design face: subsets of faces with its metrics
// (Ume P Gothic measures every caption to the pixel; the Noto Serif and Sans CJK JP bolds share
// the Yu faces' true bold and tall lines), each under a family name of its own, built into the
// program as a resource named `resource` (kept cut in fonts/, named in fonts/faces.toml).
struct EmbeddedFace {
  std::string_view face;
  std::string_view family;
  std::string_view resource;
};

inline constexpr std::array<EmbeddedFace, 3> kEmbeddedFaces = {{
    {kFacePGothic, "Vexilo P Gothic", "pgothic"},
    {kFaceMincho, "Vexilo Serif", "serif"},
    {kFaceGothic, "Vexilo Sans", "sans"},
}};

// The twin the program carries for a design face; nullptr for a face it does not carry.
constexpr const EmbeddedFace* EmbeddedFaceOf(std::string_view face) {
  for (const EmbeddedFace& embedded : kEmbeddedFaces) {
    if (embedded.face == face) return &embedded;
  }
  return nullptr;
}

// A font as the design gives it: face, character height in pixels (em height without internal
// leading), colour and weight.
struct FontSpec {
  std::string_view face;
  int height;
  TColor color;
  bool bold;

  constexpr bool operator==(const FontSpec&) const = default;
};

enum class FontKind : unsigned char {
  Window,        // PGothic 21, clBlack
  Heading,       // PGothic 21, clWindowText, bold
  SmallHeading,  // PGothic 19, clWindowText, bold
  SmallValue,    // PGothic 19, clBlack
  Tag,           // PGothic 21, clWhite
  Strip,         // PGothic 27, clWhite, bold
  Command,       // PGothic 21, clBlack, bold
  NumberButton,  // Mincho 21, clWhite, bold
};

constexpr FontSpec FontOf(FontKind kind) {
  switch (kind) {
    case FontKind::Window:
      return {kFacePGothic, 21, clBlack, false};
    case FontKind::Heading:
      return {kFacePGothic, 21, clWindowText, true};
    case FontKind::SmallHeading:
      return {kFacePGothic, 19, clWindowText, true};
    case FontKind::SmallValue:
      return {kFacePGothic, 19, clBlack, false};
    case FontKind::Tag:
      return {kFacePGothic, 21, clWhite, false};
    case FontKind::Strip:
      return {kFacePGothic, 27, clWhite, true};
    case FontKind::Command:
      return {kFacePGothic, 21, clBlack, true};
    case FontKind::NumberButton:
      return {kFaceMincho, 21, clWhite, true};
  }
  return {kFacePGothic, 21, clBlack, false};
}

}  // namespace vexilo
