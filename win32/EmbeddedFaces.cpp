#include "win32/EmbeddedFaces.h"

#include "export/Utf16.h"
#include "window/Font.h"

namespace vexilo {
namespace {

// The face's bytes among the program's resources; GDI copies them, the resource stays mapped.
HANDLE Register(const EmbeddedFace& face) {
  const HMODULE program = GetModuleHandleW(nullptr);
  const HRSRC resource = FindResourceW(program, ToUtf16(face.resource).c_str(), RT_RCDATA);
  if (resource == nullptr) return nullptr;
  void* bytes = LockResource(LoadResource(program, resource));
  DWORD fonts = 0;
  return bytes == nullptr
             ? nullptr
             : AddFontMemResourceEx(bytes, SizeofResource(program, resource), nullptr, &fonts);
}

int CALLBACK Found(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

}  // namespace

EmbeddedFaces::EmbeddedFaces() {
  for (const EmbeddedFace& face : kEmbeddedFaces) {
    std::wstring design = ToUtf16(face.face);
    const HANDLE handle = IsInstalled(design) ? nullptr : Register(face);
    // A twin that cannot be registered leaves GDI the design's name to map as it can.
    choices_.push_back({face.face, handle != nullptr ? ToUtf16(face.family) : std::move(design)});
    if (handle != nullptr) handles_.push_back(handle);
  }
}

EmbeddedFaces::~EmbeddedFaces() {
  for (const HANDLE handle : handles_) RemoveFontMemResourceEx(handle);
}

std::wstring EmbeddedFaces::FaceFor(std::string_view face) const {
  for (const Choice& choice : choices_) {
    if (choice.design == face) return choice.face;
  }
  return ToUtf16(face);
}

bool EmbeddedFaces::IsInstalled(const std::wstring& face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  face.copy(wanted.lfFaceName, LF_FACESIZE - 1);
  bool found = false;
  const HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &wanted, &Found, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

}  // namespace vexilo
