#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vexilo {

// Writes bytes to a temporary file in the target's folder, closes it, then puts it in place of
// the target in one step. On any failure the temporary file is removed and an existing target
// stays exactly as it was; the result is then the reason, in words for the user.
[[nodiscard]] std::optional<std::string> WriteFileAtomically(const std::filesystem::path& target,
                                                             std::string_view bytes);

}  // namespace vexilo
