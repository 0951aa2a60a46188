#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace vexilo {

// A UTF-16 code unit as the platform's wide functions take it: wchar_t where that is 16 bits
// wide (Windows), char16_t elsewhere, so that the one conversion is built and tested everywhere.
using Utf16Unit = std::conditional_t<sizeof(wchar_t) == 2, wchar_t, char16_t>;
using Utf16String = std::basic_string<Utf16Unit>;
using Utf16View = std::basic_string_view<Utf16Unit>;

// The core speaks UTF-8, the platform's wide functions UTF-16. Text that is not well formed (a
// stray or missing continuation byte, an overlong form, an encoded surrogate or a value above
// U+10FFFF in UTF-8; an unpaired surrogate in UTF-16) gives one U+FFFD for each maximal
// ill-formed part, so that what follows it is kept.
[[nodiscard]] Utf16String ToUtf16(std::string_view utf8);
[[nodiscard]] std::string ToUtf8(Utf16View utf16);

// The same text exactly, or nothing when it is not well formed: for a file name, which must
// name the file the user chose and no other.
[[nodiscard]] std::optional<Utf16String> ToUtf16Exact(std::string_view utf8);
[[nodiscard]] std::optional<std::string> ToUtf8Exact(Utf16View utf16);

}  // namespace vexilo
