// The Windows program: one window, the message loop, exit code 0 when the window closes.
// The platform header comes before the common controls header.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <exception>

#include "win32/ErrorReport.h"
#include "win32/MessageLoop.h"
#include "win32/TForm1.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  int exitCode = 1;
  // Only a window that cannot be built ends up here; handlers report their own failures.
  vexilo::RunGuarded(nullptr, [&] {
    vexilo::TForm1 form(instance);
    form.Show(showCommand);
    exitCode = vexilo::RunMessageLoop(form);
  });
  return exitCode;
}
