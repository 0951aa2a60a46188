#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vexilo::stats {

// Every colour of the page and its pictures, in one place. The style sheet names them by the
// token in braces ("{red}"); the pictures take the constants.
struct Rgb {
  int r, g, b;
};

namespace palette {

inline constexpr Rgb kRed = {0xC8, 0x10, 0x2E};  // the wheel's own pockets
inline constexpr Rgb kBlack = {0x1A, 0x1A, 0x1A};
inline constexpr Rgb kGreen = {0x00, 0x84, 0x3D};
inline constexpr Rgb kColder = {0x54, 0x27, 0x88};  // the deviation scale: below expectation,
inline constexpr Rgb kEven = {0xF7, 0xF7, 0xF7};    // at it,
inline constexpr Rgb kHotter = {0xB3, 0x58, 0x06};  // above it
inline constexpr Rgb kInk = {0x1B, 0x1B, 0x1B};     // text and marks
inline constexpr Rgb kPaper = {0xFF, 0xFF, 0xFF};
inline constexpr Rgb kMuted = {0x44, 0x44, 0x44};  // captions, ticks
inline constexpr Rgb kFaint = {0x55, 0x55, 0x55};  // tick marks, the footer
inline constexpr Rgb kRule = {0xCC, 0xCC, 0xCC};   // under headings
inline constexpr Rgb kGrid = {0xE4, 0xE4, 0xE4};   // grid lines, table rules
inline constexpr Rgb kHeadFill = {0xF3, 0xF3, 0xF3};
inline constexpr Rgb kOutline = {0x88, 0x88, 0x88};
inline constexpr Rgb kBand = {0x9E, 0xCA, 0xE1};        // where fair wheels fall
inline constexpr Rgb kPlain = {0x4A, 0x6B, 0x8A};       // bars that stand for no pocket
inline constexpr Rgb kBehind = {0xC9, 0xC9, 0xC9};      // the longest absences behind the sleepers
inline constexpr Rgb kAnswerFill = {0xF4, 0xF7, 0xFA};  // the box of the verdict
inline constexpr Rgb kTrace = {0x1F, 0x4E, 0x79};       // a figure over the spins

struct Named {
  std::string_view token;
  Rgb colour;
};
inline constexpr std::array<Named, 21> kStyleColours = {{
    {"red", kRed},       {"black", kBlack},       {"green", kGreen},       {"colder", kColder},
    {"even", kEven},     {"hotter", kHotter},     {"ink", kInk},           {"paper", kPaper},
    {"muted", kMuted},   {"faint", kFaint},       {"rule", kRule},         {"grid", kGrid},
    {"head", kHeadFill}, {"outline", kOutline},   {"band", kBand},         {"plain", kPlain},
    {"behind", kBehind}, {"answer", kAnswerFill}, {"answer-edge", kPlain}, {"ok", kGreen},
    {"trace", kTrace},
}};

}  // namespace palette

// "#rrggbb".
std::string Hex(const Rgb& colour);

// The style sheet with every "{token}" of kStyleColours replaced by its colour.
std::string WithColours(std::string_view style);

}  // namespace vexilo::stats
