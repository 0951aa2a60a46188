#include "win32/FontCache.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "export/Utf16.h"

namespace vexilo {
namespace {

// Faces most Windows systems have, with wide coverage of punctuation and of the Arabic block.
constexpr std::array<const wchar_t*, 4> kFallbackFaces = {L"Segoe UI", L"Tahoma", L"Arial",
                                                          L"Microsoft Sans Serif"};

}  // namespace

FontCache::~FontCache() {
  for (const Entry& entry : entries_) DeleteObject(entry.font);
}

HFONT FontCache::Get(const FontSpec& design) {
  return Make(faces_.FaceFor(design.face), design.height, design.bold, SHIFTJIS_CHARSET);
}

HFONT FontCache::Fallback(HDC dc, const FontSpec& design, std::wstring_view text) {
  for (const wchar_t* face : kFallbackFaces) {
    // Any character set: the face is asked for by name alone.
    const HFONT font = Make(face, design.height, design.bold, DEFAULT_CHARSET);
    const HGDIOBJ old = SelectObject(dc, font);
    const bool found = HasGlyphs(dc, text);
    SelectObject(dc, old);
    if (found) return font;
  }
  return nullptr;
}

std::vector<bool> FontCache::Covered(HDC dc, std::wstring_view text) {
  std::vector<WORD> glyphs(text.size());
  const bool read = GetGlyphIndicesW(dc, text.data(), static_cast<int>(text.size()), glyphs.data(),
                                     GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR;
  std::vector<bool> covered(text.size(), false);
  for (std::size_t i = 0; read && i < glyphs.size(); ++i) covered[i] = glyphs[i] != 0xFFFF;
  return covered;
}

bool FontCache::HasGlyphs(HDC dc, std::wstring_view text) {
  const std::vector<bool> covered = Covered(dc, text);
  return std::find(covered.begin(), covered.end(), false) == covered.end();
}

HFONT FontCache::Make(const std::wstring& face, int height, bool bold, BYTE charset) {
  for (const Entry& entry : entries_) {
    if (entry.height == height && entry.bold == bold && entry.charset == charset &&
        entry.face == face) {
      return entry.font;
    }
  }
  // The Japanese faces go through the W call, so they resolve whatever the ANSI code page is.
  HFONT font = CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                           charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  if (font == nullptr)
    throw std::runtime_error("The font \"" + ToUtf8(face) + "\" could not be made.");
  entries_.push_back({face, height, bold, charset, font});
  return font;
}

}  // namespace vexilo
