#include "window/ColorBtn.h"

#include <algorithm>
#include <array>

namespace vexilo {
namespace {

TColor ShiftChannels(Canvas& canvas, TColor color, int delta) {
  const TColor rgb = ResolveColor(canvas, color);
  const auto shift = [delta](int channel) { return std::clamp(channel + delta, 0, 255); };
  return MakeColor(shift(RedOf(rgb)), shift(GreenOf(rgb)), shift(BlueOf(rgb)));
}

constexpr Rect Inflate(Rect r, int by) {
  return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}
constexpr Rect Offset(Rect r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// The four 1-pixel edges of r.
void DrawFrame(Canvas& canvas, const Rect& r, TColor color) {
  canvas.FillRect({r.left, r.top, r.right, r.top + 1}, color);
  canvas.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, color);
  canvas.FillRect({r.left, r.top, r.left + 1, r.bottom}, color);
  canvas.FillRect({r.right - 1, r.top, r.right, r.bottom}, color);
}

// One bevel ring: the left column and top row stop one pixel short, so the top-right,
// bottom-left and bottom-right corners take the bottom colour.
void DrawRing(Canvas& canvas, const Rect& r, TColor top, TColor bottom) {
  canvas.FillRect({r.left, r.top, r.left + 1, r.bottom - 1}, top);
  canvas.FillRect({r.left, r.top, r.right - 1, r.top + 1}, top);
  canvas.FillRect({r.right - 1, r.top, r.right, r.bottom}, bottom);
  canvas.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, bottom);
}

constexpr std::array<TColor, 8> kDarkBasicColors = {clBlack, clMaroon, clGreen, clOlive,
                                                    clNavy,  clPurple, clTeal,  clBlue};

}  // namespace

TColor ResolveColor(Canvas& canvas, TColor color) {
  return IsSystemColor(color) ? canvas.ResolveSystemColor(SystemColorIndex(color)) : color;
}

TColor LightenColor(Canvas& canvas, TColor color, int amount) {
  return ShiftChannels(canvas, color, amount);
}

TColor DarkenColor(Canvas& canvas, TColor color, int amount) {
  return ShiftChannels(canvas, color, -amount);
}

TColor FocusContrastColor(TColor stored) {
  const bool dark = std::ranges::find(kDarkBasicColors, stored) != kDarkBasicColors.end();
  return dark ? (~stored & 0xFFFFFF) : stored;
}

bool ColorBtn::SetBevelStyle(TColorBtnBevel style) {
  return std::exchange(bevelStyle_, style) != style;
}

bool ColorBtn::SetBevelWidth(int width) {
  const int stored = std::max(width, 1);
  return std::exchange(bevelWidth_, stored) != stored;
}

bool ColorBtn::SetCaptionSeparator(char separator) {
  return std::exchange(captionSeparator_, separator) != separator;
}

bool ColorBtn::SetColor(TColor color) {
  return std::exchange(color_, color) != color;
}

bool ColorBtn::SetActive(bool active) {
  return std::exchange(active_, active) != active;
}

bool ColorBtn::SetRuleWidth(int pixels) {
  const int stored = std::max(pixels, 1);
  return std::exchange(ruleWidth_, stored) != stored;
}

bool ColorBtn::SetEnabled(bool enabled) {
  return std::exchange(enabled_, enabled) != enabled;
}

void ColorBtn::DrawButton(Canvas& canvas, Rect rect, std::uint8_t state) const {
  const bool pressed = (state & odsSelected) != 0;
  const bool focused = (state & odsFocus) != 0;
  canvas.SetFont(font_);
  const TColor face = ResolveColor(canvas, color_);
  canvas.FillRect(rect, face);

  // A rule ruleWidth_ pixels wide is as many 1-pixel lines side by side.
  if (active_ || focused) {
    for (int line = 0; line < ruleWidth_; ++line) {
      DrawFrame(canvas, rect, DarkenColor(canvas, color_, 192));
      rect = Inflate(rect, -1);
    }
  }

  const bool sunken = bevelStyle_ == cbLowered || (bevelStyle_ == cbStd && pressed);
  const TColor light = LightenColor(canvas, color_, 128);
  const TColor dark = DarkenColor(canvas, color_, 128);
  for (int ring = 0; ring < bevelWidth_ * ruleWidth_; ++ring) {
    DrawRing(canvas, rect, sunken ? dark : light, sunken ? light : dark);
    rect = Inflate(rect, -1);
  }

  if (active_ && focused) {
    canvas.SetBkColor(ResolveColor(canvas, FocusContrastColor(color_)));
    for (int line = 0; line < ruleWidth_; ++line) canvas.DrawFocusRect(Inflate(rect, -line));
  }
  if (bevelStyle_ == cbStd && pressed) rect = Offset(rect, ruleWidth_, ruleWidth_);

  canvas.SetBkColor(face);
  if (enabled_) {
    canvas.SetBkOpaque(true);
    canvas.SetTextColor(ResolveColor(canvas, font_.color));
    DrawCaption(canvas, rect, 0);
  } else {
    // Embossed: a light copy one rule down-right, the dark copy on top.
    canvas.SetBkOpaque(false);
    canvas.SetTextColor(LightenColor(canvas, color_, 128));
    DrawCaption(canvas, rect, ruleWidth_);
    canvas.SetTextColor(DarkenColor(canvas, color_, 64));
    DrawCaption(canvas, rect, 0);
  }
}

void ColorBtn::DrawCaption(Canvas& canvas, Rect rect, int shift) const {
  std::string text;
  text.reserve(caption_.size() + 8);
  for (const char ch : caption_) {
    if (captionSeparator_ != 0 && ch == captionSeparator_) {
      text += "\r\n";
    } else {
      text += ch;
    }
  }
  constexpr std::array<unsigned, 3> kAlignments = {dtLeft, dtRight, dtCenter};
  const unsigned flags = (wordWrap_ ? dtWordBreak : 0u) | dtExpandTabs |
                         kAlignments[std::min<std::size_t>(captionAlignment_, 2)];

  Rect measure{rect.left, rect.top, rect.right - 2, rect.bottom - 2};
  canvas.DrawText(text, measure, flags | dtCalcRect);
  const int dy = (measure.bottom - rect.bottom) / 2;  // truncates toward zero
  Rect box = Offset({rect.left + 1, rect.top - dy, rect.right - 1, rect.bottom + dy}, shift, shift);
  canvas.DrawText(text, box, flags);
}

}  // namespace vexilo
