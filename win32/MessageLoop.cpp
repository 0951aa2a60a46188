#include "win32/MessageLoop.h"

#include <windows.h>

#include "win32/TForm1.h"

namespace vexilo {

int RunMessageLoop(TForm1& form) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (form.PreTranslateMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace vexilo
