#pragma once

// The platform header comes before the common dialogs header.
// clang-format off
#include <windows.h>
#include <commdlg.h>
// clang-format on

#include <string>

#include "window/Shell.h"

namespace vexilo {

// The desktop services the commands ask for, the Win32 way: the regional decimal separator,
// the common save dialog and message boxes, all owned by the main window.
class Win32Shell final : public Shell {
 public:
  // What the save dialog is asked for: the prompts before replacing or creating, the folder
  // must exist, no read-only box and no read-only result, resizable, Explorer style.
  static constexpr DWORD kSaveFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST |
                                      OFN_FILEMUSTEXIST | OFN_CREATEPROMPT | OFN_NOREADONLYRETURN |
                                      OFN_ENABLESIZING | OFN_EXPLORER;

  void SetOwner(HWND owner) { owner_ = owner; }
  // Reads the separator again; the window calls it when the regional settings change.
  void ReadDecimalSeparator();

  std::string DecimalSeparator() override;
  std::optional<std::string> AskSaveFileName(std::string_view lastName) override;
  void ShowMessage(MessageKind kind, std::string_view text) override;

 private:
  HWND owner_ = nullptr;
  std::string separator_;
  bool separatorRead_ = false;
};

}  // namespace vexilo
