#include "win32/Utf16.h"

#include <windows.h>

namespace vexilo {

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int length = static_cast<int>(utf8.size());
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  std::wstring out(size > 0 ? size : 0, L'\0');
  if (size > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, out.data(), size);
  return out;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int length = static_cast<int>(utf16.size());
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size : 0, '\0');
  if (size > 0) {
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, out.data(), size, nullptr, nullptr);
  }
  return out;
}

std::optional<std::string> NarrowExact(std::wstring_view utf16) {
  const auto isHigh = [](wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; };
  const auto isLow = [](wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    if (isHigh(utf16[i]) && i + 1 < utf16.size() && isLow(utf16[i + 1])) {
      ++i;  // a pair
    } else if (isHigh(utf16[i]) || isLow(utf16[i])) {
      return std::nullopt;
    }
  }
  return Narrow(utf16);
}

}  // namespace vexilo
