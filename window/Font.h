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

enum FontKind : unsigned char {
  fkWindow,        // PGothic 21, clBlack
  fkHeading,       // PGothic 21, clWindowText, bold
  fkSmallHeading,  // PGothic 19, clWindowText, bold
  fkSmallValue,    // PGothic 19, clBlack
  fkTag,           // PGothic 21, clWhite
  fkStrip,         // PGothic 27, clWhite, bold
  fkCommand,       // PGothic 21, clBlack, bold
  fkNumberButton,  // Mincho 21, clWhite, bold
};

constexpr FontSpec FontOf(FontKind kind) {
  switch (kind) {
    case fkWindow:
      return {kFacePGothic, 21, clBlack, false};
    case fkHeading:
      return {kFacePGothic, 21, clWindowText, true};
    case fkSmallHeading:
      return {kFacePGothic, 19, clWindowText, true};
    case fkSmallValue:
      return {kFacePGothic, 19, clBlack, false};
    case fkTag:
      return {kFacePGothic, 21, clWhite, false};
    case fkStrip:
      return {kFacePGothic, 27, clWhite, true};
    case fkCommand:
      return {kFacePGothic, 21, clBlack, true};
    case fkNumberButton:
      return {kFaceMincho, 21, clWhite, true};
  }
  return {kFacePGothic, 21, clBlack, false};
}

}  // namespace vexilo
