#pragma once

namespace vexilo {

class TForm1;

// Dispatches messages until the main window has closed, giving the window its keys first.
// Returns the program's exit code, 0.
int RunMessageLoop(TForm1& form);

}  // namespace vexilo
