// --open on Windows, and Explorer's drop or double-click: the page goes beside the first log
// and to the browser Windows opens web pages with.
// The platform header comes before the shell's.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "export/Utf16.h"
#include "stats/open/OpenPage.h"
#include "stats/open/PageName.h"

namespace vexilo::stats {
namespace {

// The shell may hand the page over through COM; it asks for an apartment without OLE 1.
class ComApartment {
 public:
  ComApartment()
      : initialised_(
            SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
  }
  ~ComApartment() {
    if (initialised_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_;
};

// The system's own words for an error code, which the C++ runtime here does not know.
std::string SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (length == 0) return "error " + std::to_string(error);
  Utf16String message(text, length);
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                              message.back() == L'.' || message.back() == L' ')) {
    message.pop_back();
  }
  return ToUtf8(message);
}

}  // namespace

std::error_code PageToOpen(std::string_view firstLog, std::string& page) {
  const std::optional<std::string> name =
      PageName(FolderPart(firstLog), PageStem(firstLog), HolderOnDisk);
  if (!name) return std::make_error_code(std::errc::file_exists);
  page = *name;
  return {};
}

ShowResult ShowInBrowser(const std::string& page) {
  const ComApartment apartment;
  const Utf16String wide = ToUtf16(page);
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result > 32) return {};
  const DWORD error = GetLastError() != 0 ? GetLastError() : ERROR_NO_ASSOCIATION;
  return {std::error_code(static_cast<int>(error), std::system_category()),
          "cannot open " + page + " in the browser: " + SystemMessage(error)};
}

}  // namespace vexilo::stats
