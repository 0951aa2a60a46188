#include "stats/open/Captured.h"

#ifdef _WIN32
#include <windows.h>

#include <array>
#endif

namespace vexilo::stats {
namespace {

std::FILE* OpenTemporary() {
#ifdef _WIN32
  // The C runtime's tmpfile() makes its file in the root of the drive, where a user may not
  // write; the user's temporary folder instead, deleted on close ("D").
  std::array<wchar_t, MAX_PATH + 1> folder{};
  std::array<wchar_t, MAX_PATH + 1> name{};
  if (GetTempPathW(static_cast<DWORD>(folder.size()), folder.data()) == 0 ||
      GetTempFileNameW(folder.data(), L"vxs", 0, name.data()) == 0) {
    return nullptr;
  }
  return _wfopen(name.data(), L"w+bTD");
#else
  return std::tmpfile();
#endif
}

}  // namespace

Captured::Captured() : file_(OpenTemporary()) {}

std::string Captured::Text() const {
  std::string text;
  if (!file_) return text;
  std::fflush(file_.get());
  std::rewind(file_.get());
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file_.get())) > 0;) {
    text.append(buffer, got);
  }
  return text;
}

}  // namespace vexilo::stats
