#pragma once

#include <QIcon>
#include <string_view>

namespace vexilo {

// The id of the desktop entry, the AppStream data and the icon that the package installs.
inline constexpr std::string_view kDesktopFileName = "io.vexilo.Vexilo";

// The icon of every window, from the PNGs built into the program (16 to 256 pixels).
QIcon ProgramIcon();

// Who the program is to the desktop, set once the application object exists: its name and
// version, the desktop entry that starts it (so that the shell groups its windows under that
// entry and its icon), and the window icon.
void SetApplicationIdentity();

}  // namespace vexilo
