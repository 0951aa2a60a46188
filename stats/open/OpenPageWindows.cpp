// --open on Windows, and Explorer's drop or double-click: the page goes beside the first log
// and to the browser Windows opens web pages with.
#include <shellapi.h>
#include <windows.h>

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
  const DWORD error = GetLastError();
  const std::error_code code(error != 0 ? static_cast<int>(error) : ERROR_NO_ASSOCIATION,
                             std::system_category());
  return {code, "cannot open " + page + " in the browser: " + code.message()};
}

}  // namespace vexilo::stats
