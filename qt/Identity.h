#pragma once

#include <QIcon>

namespace vexilo {

// The icon of every window, from the PNGs built into the program (each size the package
// installs).
QIcon ProgramIcon();

// Who the program is to the desktop, set once the application object exists: its name and
// version, the desktop entry that starts it (so that the shell groups its windows under that
// entry and its icon), and the window icon.
void SetApplicationIdentity();

}  // namespace vexilo
