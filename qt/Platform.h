#pragma once

#include <string_view>

namespace vexilo {

// What the environment says about the display at start-up; an unset variable reads empty.
struct DisplayEnvironment {
  std::string_view qtPlatform;  // QT_QPA_PLATFORM: the user's own choice of Qt's platform
  std::string_view x11Display;  // DISPLAY: an X server, XWayland's included
};

// X11 first, Wayland as the fallback: a Wayland client can neither place its window nor keep it
// above others, so the board centres itself and stays on top only as an X11 client.
inline constexpr std::string_view kX11FirstPlatforms = "xcb;wayland";

// The platforms the board asks Qt for, or empty to leave the choice to Qt: the user's own
// choice always stands, and without an X server Qt's choice (Wayland alone) is the only one.
constexpr std::string_view PreferredPlatforms(const DisplayEnvironment& environment) {
  if (!environment.qtPlatform.empty() || environment.x11Display.empty()) return {};
  return kX11FirstPlatforms;
}

// Reads the environment and asks for the preferred platforms, before the application object is
// made: Qt reads QT_QPA_PLATFORM when it is.
void RequestPreferredPlatforms();

}  // namespace vexilo
