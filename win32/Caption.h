#pragma once

#include <algorithm>
#include <string_view>

#include "window/FormTable.h"

namespace vexilo {

// The window's caption as the W functions take it, ready without a conversion: a message box
// can show it even when no memory is left to widen the table's caption.
inline constexpr std::wstring_view kCaptionW = L"Vexilo";
static_assert(std::ranges::equal(kCaptionW, kFormCaption, {}, {},
                                 [](char ch) { return static_cast<wchar_t>(ch); }),
              "the caption the table gives");

}  // namespace vexilo
