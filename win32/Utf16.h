#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vexilo {

// The core speaks UTF-8; the W functions of the platform speak UTF-16.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// The same text exactly, for a name that must stay the same file: nothing when it holds a lone
// surrogate, which the system allows in names but UTF-8 cannot carry.
std::optional<std::string> NarrowExact(std::wstring_view utf16);

}  // namespace vexilo
