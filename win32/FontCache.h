#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "win32/EmbeddedFaces.h"
#include "window/Font.h"

namespace vexilo {

// The GDI fonts of one window, made on first use and kept until the window goes: a handful of
// faces and sizes serve every control and every paint. The faces the program carries are
// registered for as long as the cache lives.
class FontCache {
 public:
  FontCache() = default;
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  ~FontCache();

  // Face (the design's own where the system has it, else its carried twin), character height
  // (as a negative height: em size without internal leading) and weight of design, in the
  // Shift-JIS character set. The colour is not part of a GDI font.
  HFONT Get(const FontSpec& design);

  // design's height and weight in the first of a few widespread faces that has a glyph for
  // every character of text (measured on dc); nullptr when none has them all.
  HFONT Fallback(HDC dc, const FontSpec& design, std::wstring_view text);

  // For each character of text, whether the font selected into dc has a glyph for it.
  static std::vector<bool> Covered(HDC dc, std::wstring_view text);
  static bool HasGlyphs(HDC dc, std::wstring_view text);

 private:
  struct Entry {
    std::wstring face;
    int height;
    bool bold;
    BYTE charset;
    HFONT font;
  };
  HFONT Make(const std::wstring& face, int height, bool bold, BYTE charset);

  EmbeddedFaces faces_;  // outlives every font made from them
  std::vector<Entry> entries_;
};

}  // namespace vexilo
