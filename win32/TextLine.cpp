#include "win32/TextLine.h"

namespace vexilo {

TextLine::TextLine(HDC dc, FontCache& fonts, const FontSpec& design, std::wstring_view text,
                   UINT flags)
    : dc_(dc), font_(fonts.Get(design)), text_(text), flags_(flags) {
  const HGDIOBJ old = SelectObject(dc_, font_);
  if (!FontCache::HasGlyphs(dc_, text_)) Split(fonts, design);
  SelectObject(dc_, old);
}

// Runs of characters the font has, and runs it lacks, each measured in the font that draws it.
void TextLine::Split(FontCache& fonts, const FontSpec& design) {
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc_, &metrics);
  ascent_ = metrics.tmAscent;
  height_ = metrics.tmHeight;
  const std::vector<bool> covered = FontCache::Covered(dc_, text_);
  for (std::size_t begin = 0, end = 0; begin < text_.size(); begin = end) {
    while (end < text_.size() && covered[end] == covered[begin]) ++end;
    runs_.push_back({text_.substr(begin, end - begin), font_, 0});
    if (!covered[begin]) {
      const HFONT fallback = fonts.Fallback(dc_, design, runs_.back().text);
      if (fallback != nullptr) runs_.back().font = fallback;  // else the missing-glyph box
    }
  }
  for (Run& run : runs_) {
    const HGDIOBJ old = SelectObject(dc_, run.font);
    SIZE size{};
    GetTextExtentPoint32W(dc_, run.text.data(), static_cast<int>(run.text.size()), &size);
    run.width = size.cx;
    SelectObject(dc_, old);
  }
}

SIZE TextLine::Extent() const {
  if (runs_.empty()) {
    const HGDIOBJ old = SelectObject(dc_, font_);
    RECT extent{0, 0, 0, 0};
    DrawTextW(dc_, text_.data(), static_cast<int>(text_.size()), &extent, flags_ | DT_CALCRECT);
    SelectObject(dc_, old);
    return {extent.right - extent.left, extent.bottom - extent.top};
  }
  SIZE size{0, height_};
  for (const Run& run : runs_) size.cx += run.width;
  return size;
}

void TextLine::Draw(const RECT& box) const {
  const HGDIOBJ old = SelectObject(dc_, font_);
  if (runs_.empty()) {
    RECT r = box;
    DrawTextW(dc_, text_.data(), static_cast<int>(text_.size()), &r, flags_);
  } else {
    const UINT align = SetTextAlign(dc_, TA_LEFT | TA_BASELINE);
    int x = box.left;
    for (const Run& run : runs_) {
      SelectObject(dc_, run.font);
      TextOutW(dc_, x, box.top + ascent_, run.text.data(), static_cast<int>(run.text.size()));
      x += run.width;
    }
    SetTextAlign(dc_, align);
  }
  SelectObject(dc_, old);
}

}  // namespace vexilo
