#include "win32/FontCache.h"

#include <stdexcept>

#include "export/Utf16.h"

namespace vexilo {

FontCache::~FontCache() {
  for (const Entry& entry : entries_) DeleteObject(entry.font);
}

HFONT FontCache::Get(const FontSpec& design) {
  for (const Entry& entry : entries_) {
    if (entry.height == design.height && entry.bold == design.bold && entry.face == design.face) {
      return entry.font;
    }
  }
  const std::wstring face = ToUtf16(design.face);
  // The Japanese faces go through the W call, so they resolve whatever the ANSI code page is.
  HFONT font = CreateFontW(-design.height, 0, 0, 0, design.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                           FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  if (font == nullptr)
    throw std::runtime_error("The font \"" + std::string(design.face) + "\" could not be made.");
  entries_.push_back({std::string(design.face), design.height, design.bold, font});
  return font;
}

}  // namespace vexilo
