#include "win32/ErrorReport.h"

#include <string>

#include "export/Utf16.h"
#include "win32/TopmostPause.h"

namespace vexilo {

void ReportError(HWND owner, std::string_view text) noexcept {
  try {
    const TopmostPause pause(owner);
    const std::wstring wide = ToUtf16(text);
    MessageBoxW(owner, wide.c_str(), L"Vexilo", MB_OK | MB_ICONERROR);
  } catch (...) {
    // Not even the text could be made (out of memory): say so without allocating.
    MessageBoxW(owner, L"Out of memory.", L"Vexilo", MB_OK | MB_ICONERROR);
  }
}

}  // namespace vexilo
