// --open on Linux and other POSIX systems: the page goes to the user's cache folder and to
// xdg-open, which hands it to the browser the desktop has chosen for web pages.
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>

#include "stats/open/OpenPage.h"
#include "stats/open/PageName.h"

extern char** environ;

namespace vexilo::stats {
namespace {

constexpr const char* kOpener = "xdg-open";

// Makes the folder and those above it that are missing, readable by the user alone as cache
// folders are.
std::error_code MakeFolders(const std::string& folder) {
  for (std::size_t end = folder.find('/', 1); end != std::string::npos;
       end = folder.find('/', end + 1)) {
    const std::string part = folder.substr(0, end);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
      return {errno, std::generic_category()};
    }
  }
  return {};
}

}  // namespace

std::error_code PageToOpen(std::string_view firstLog, std::string& page) {
  const std::optional<std::string> folder =
      CacheFolder(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
  if (!folder) return std::make_error_code(std::errc::no_such_file_or_directory);
  if (const std::error_code made = MakeFolders(*folder)) return made;
  const std::optional<std::string> name = PageName(*folder, PageStem(firstLog), HolderOnDisk);
  if (!name) return std::make_error_code(std::errc::file_exists);
  page = *name;
  return {};
}

ShowResult ShowInBrowser(const std::string& page) {
  std::string program(kOpener);
  std::string argument = page;
  char* argv[] = {program.data(), argument.data(), nullptr};
  pid_t pid = 0;
  if (const int error = ::posix_spawnp(&pid, kOpener, nullptr, nullptr, argv, environ)) {
    const std::error_code code(error, std::generic_category());
    return {code, "cannot start " + program + ": " + code.message()};
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      const std::error_code code(errno, std::generic_category());
      return {code, program + " went missing: " + code.message()};
    }
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {};
  return {std::make_error_code(std::errc::io_error),
          program + " could not open " + page + " (" +
              (WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                                 : "signal " + std::to_string(WTERMSIG(status))) +
              ")"};
}

}  // namespace vexilo::stats
