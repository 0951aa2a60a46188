#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace vexilo {

// A colour as the window toolkit stores it: 0x00BBGGRR for a literal colour (red in the low
// byte), or 0x80000000 + n for the platform's system colour n, resolved only when painting.
using TColor = std::int32_t;

constexpr TColor MakeSystemColor(int index) {
  return static_cast<TColor>(0x80000000u + index);
}
constexpr bool IsSystemColor(TColor c) {
  return c < 0;
}
constexpr int SystemColorIndex(TColor c) {
  return static_cast<int>(static_cast<std::uint32_t>(c) & 0xFFu);
}

constexpr TColor MakeColor(int r, int g, int b) {
  return r | (g << 8) | (b << 16);
}
constexpr int RedOf(TColor c) {
  return c & 0xFF;
}
constexpr int GreenOf(TColor c) {
  return (c >> 8) & 0xFF;
}
constexpr int BlueOf(TColor c) {
  return (c >> 16) & 0xFF;
}

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clWhite = 0xFFFFFF;

// System colour numbers as the platform numbers them (COLOR_WINDOWTEXT, COLOR_BTNFACE).
inline constexpr int kSysWindowText = 8;
inline constexpr int kSysBtnFace = 15;
inline constexpr TColor clWindowText = MakeSystemColor(kSysWindowText);
inline constexpr TColor clBtnFace = MakeSystemColor(kSysBtnFace);

// The colour of a pocket, of a history entry and of a strip slot.
enum class ColourCode : std::int32_t { Red = 0, Black = 1, Green = 2, None = 3 };

// A colour code as the index of a table kept per colour (words, line tails, picture colours).
constexpr std::size_t ColourIndex(ColourCode code) { return static_cast<std::size_t>(code); }

// The colour shown for a code: the background of a strip label, and of a pocket's button and
// tag. No value for a code no slot can hold, in which case the label keeps the colour it had.
constexpr std::optional<TColor> RecentSlotColour(ColourCode code) {
  switch (code) {
    case ColourCode::Red:
      return clRed;
    case ColourCode::Black:
      return clBlack;
    case ColourCode::Green:
      return clLime;
    case ColourCode::None:
      return clBtnFace;
    default:
      return std::nullopt;
  }
}

}  // namespace vexilo
