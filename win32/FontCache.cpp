#include "win32/FontCache.h"

#include <stdexcept>

#include "win32/Utf16.h"

namespace vexilo {

FontCache::~FontCache() {
  for (const Entry& entry : entries_) DeleteObject(entry.font);
}

HFONT FontCache::Get(const FontSpec& spec) {
  for (const Entry& entry : entries_) {
    if (entry.height == spec.height && entry.bold == spec.bold && entry.face == spec.face) {
      return entry.font;
    }
  }
  const std::wstring face = Widen(spec.face);
  // The Japanese faces go through the W call, so they resolve whatever the ANSI code page is.
  HFONT font = CreateFontW(-spec.height, 0, 0, 0, spec.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                           FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  if (font == nullptr)
    throw std::runtime_error("The font \"" + std::string(spec.face) + "\" could not be made.");
  entries_.push_back({std::string(spec.face), spec.height, spec.bold, font});
  return font;
}

}  // namespace vexilo
