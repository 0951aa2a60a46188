#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vexilo {

// Writes bytes to a temporary file in the target's folder, closes it, then puts it in place of
// the target in one step. On any failure the temporary file is removed and an existing target
// stays exactly as it was; the result is then the reason, in words for the user.
// The target is a file name as UTF-8 text, absolute or relative to the current folder; on
// Windows it must be valid UTF-8, on POSIX systems its bytes are the name as it is stored.
[[nodiscard]] std::optional<std::string> WriteFileAtomically(std::string_view target,
                                                             std::string_view bytes);

}  // namespace vexilo
