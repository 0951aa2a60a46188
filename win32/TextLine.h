#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "win32/FontCache.h"

namespace vexilo {

// One line of a label's text in its design font. Characters the font has no glyph for (a
// decimal separator from the regional settings that the carried faces lack) are set in a
// fallback face of the same height, run by run on one baseline, so that they still show and
// the label still sizes to them. Text the font covers is measured and drawn by DrawTextW alone.
class TextLine {
 public:
  TextLine(HDC dc, FontCache& fonts, const FontSpec& design, std::wstring_view text, UINT flags);

  // Width of the runs; height of the design font's line.
  SIZE Extent() const;
  // Draws the line into box (its top-left corner is the line's).
  void Draw(const RECT& box) const;

 private:
  struct Run {
    std::wstring text;
    HFONT font;
    int width;
  };
  void Split(FontCache& fonts, const FontSpec& design);

  HDC dc_;
  HFONT font_;
  std::wstring text_;
  UINT flags_;
  std::vector<Run> runs_;  // empty while the font has every glyph
  int ascent_ = 0;
  int height_ = 0;
};

}  // namespace vexilo
