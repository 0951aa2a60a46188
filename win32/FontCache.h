#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "window/Font.h"

namespace vexilo {

// The GDI fonts of one window, made on first use and kept until the window goes: a handful of
// faces and sizes serve every control and every paint.
class FontCache {
 public:
  FontCache() = default;
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  ~FontCache();

  // Face, character height (as a negative height: em size without internal leading) and weight
  // of design, in the Shift-JIS character set. The colour is not part of a GDI font.
  HFONT Get(const FontSpec& design);

 private:
  struct Entry {
    std::string face;
    int height;
    bool bold;
    HFONT font;
  };
  std::vector<Entry> entries_;
};

}  // namespace vexilo
