#pragma once

#include <string>
#include <string_view>

namespace vexilo {

// The core speaks UTF-8; the W functions of the platform speak UTF-16.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace vexilo
