#pragma once

#include <windows.h>

namespace vexilo {

// SetWindowPos flags for a change of the z-order alone: neither place nor size changes, and
// the window is not activated.
inline constexpr UINT kZOrderOnly = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;

// SetWindowPos flags for a new place and size alone: the z-order stays, nothing is activated.
inline constexpr UINT kPlaceOnly = SWP_NOZORDER | SWP_NOACTIVATE;

}  // namespace vexilo
