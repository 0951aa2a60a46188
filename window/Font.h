#pragma once

#include <string_view>

#include "engine/Color.h"

namespace vexilo {

// Faces of the design, as UTF-8; every font uses the Shift-JIS character set.
inline constexpr std::string_view kFacePGothic = "ＭＳ Ｐゴシック";
inline constexpr std::string_view kFaceMincho = "游明朝";
inline constexpr std::string_view kFaceGothic = "游ゴシック";

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
