#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "Canvas.h"
#include "Font.h"
#include "engine/Color.h"

namespace vexilo {

enum TColorBtnBevel : std::uint8_t { cbStd = 0, cbLowered = 1, cbRaised = 2 };

// Owner-draw state bits as the platform passes them.
inline constexpr std::uint8_t odsSelected = 0x01;
inline constexpr std::uint8_t odsFocus = 0x10;

TColor LightenColor(Canvas& canvas, TColor color, int amount);
TColor DarkenColor(Canvas& canvas, TColor color, int amount);
// The complement for the eight dark basic colours, the colour itself for any other value.
TColor FocusContrastColor(TColor stored);

// The colour button's state and painting, shared by every front end. Setters return true when
// the value changed and the button must be repainted.
class ColorBtn {
 public:
  ColorBtn() = default;

  bool SetBevelStyle(TColorBtnBevel style);
  bool SetBevelWidth(int width);  // below 1 becomes 1
  bool SetCaptionSeparator(char separator);
  bool SetColor(TColor color);
  bool SetActive(bool active);
  bool SetEnabled(bool enabled);
  // How wide the design's 1-pixel rules are drawn (the frame, each bevel ring, the focus
  // outline) and how far the caption moves with a press: round(scale) on a scaled board.
  bool SetRuleWidth(int pixels);  // below 1 becomes 1
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  void SetFont(const FontSpec& font) { font_ = font; }

  TColorBtnBevel BevelStyle() const { return bevelStyle_; }
  int BevelWidth() const { return bevelWidth_; }
  char CaptionSeparator() const { return captionSeparator_; }
  TColor Color() const { return color_; }
  bool Active() const { return active_; }
  bool Enabled() const { return enabled_; }
  int RuleWidth() const { return ruleWidth_; }
  const std::string& Caption() const { return caption_; }
  const FontSpec& Font() const { return font_; }

  // Paints the whole button into rect for the owner-draw state (odsSelected, odsFocus).
  void DrawButton(Canvas& canvas, Rect rect, std::uint8_t state) const;
  void DrawCaption(Canvas& canvas, Rect rect, int shift) const;

 private:
  std::uint8_t captionAlignment_ = 2;  // centre; never changed
  TColorBtnBevel bevelStyle_ = cbStd;
  int bevelWidth_ = 2;
  int ruleWidth_ = 1;
  char captionSeparator_ = 0;
  TColor color_ = clBtnFace;
  bool active_ = false;
  bool wordWrap_ = true;
  bool enabled_ = true;
  std::string caption_;
  FontSpec font_{};
};

}  // namespace vexilo
