#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace vexilo::stats {

// How handing the page to the browser ended: no code when it was handed over; otherwise the
// system's code and a message for the user.
struct ShowResult {
  std::error_code code;
  std::string message;

  bool Shown() const { return !code; }
};

// Where --open writes the page of a record whose first log is firstLog (PageName's rules): on
// Windows beside the log, elsewhere in the user's cache folder (CacheFolder), made when missing.
// std::errc::file_exists when every candidate name is taken.
[[nodiscard]] std::error_code PageToOpen(std::string_view firstLog, std::string& page);

// Hands the written page to the desktop's browser: ShellExecuteW on Windows, xdg-open elsewhere.
[[nodiscard]] ShowResult ShowInBrowser(const std::string& page);

}  // namespace vexilo::stats
