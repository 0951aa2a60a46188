#include "stats/open/PageName.h"

#include <system_error>

#include "export/InputFile.h"
#include "export/NativeFile.h"
#include "stats/report/HtmlReport.h"

namespace vexilo::stats {
namespace {

constexpr std::string_view kPageSuffix = ".report.html";
constexpr std::string_view kStandardInput = "standard input";
// Candidates tried before giving up: a folder with a thousand pages of one log is a fault.
constexpr int kMostCandidates = 1000;
// The mark sits in the page's head, well inside this many bytes.
constexpr std::size_t kHeadBytes = 4096;

}  // namespace

std::string PageStem(std::string_view log) {
  if (log == "-") return std::string(kStandardInput);
  std::size_t start = 0;
  for (std::size_t i = 0; i < log.size(); ++i) {
    if (native::IsSeparator(log[i])) start = i + 1;
  }
  return std::string(log.substr(start));
}

std::string FolderPart(std::string_view log) {
  if (log == "-") return {};
  return std::string(log.substr(0, log.size() - PageStem(log).size()));
}

std::optional<std::string> CacheFolder(const char* xdgCacheHome, const char* home) {
  // Relative values of XDG_CACHE_HOME are to be ignored, as the base directory rules say.
  if (xdgCacheHome != nullptr && xdgCacheHome[0] == '/') {
    return std::string(xdgCacheHome) + "/vexilo/";
  }
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.cache/vexilo/";
  return std::nullopt;
}

std::optional<std::string> PageName(std::string_view folder, std::string_view stem,
                                    const std::function<NameHolder(const std::string&)>& holderOf) {
  for (int n = 1; n <= kMostCandidates; ++n) {
    std::string name = std::string(folder) + std::string(stem);
    if (n > 1) name += " (" + std::to_string(n) + ")";
    name += kPageSuffix;
    if (holderOf(name) != NameHolder::Other) return name;
  }
  return std::nullopt;
}

bool IsOwnPage(std::string_view head) {
  return head.substr(0, kHeadBytes).find(kPageMark) != std::string_view::npos;
}

NameHolder HolderOf(std::optional<native::Kind> kind, std::optional<std::string_view> head) {
  if (!kind) return NameHolder::Other;  // the system could not tell: leave it alone
  if (*kind == native::Kind::Nothing) return NameHolder::Nothing;
  if (*kind != native::Kind::File || !head) return NameHolder::Other;
  return IsOwnPage(*head) ? NameHolder::OwnPage : NameHolder::Other;
}

NameHolder HolderOnDisk(const std::string& name) {
  native::Kind kind = native::Kind::Nothing;
  if (native::KindOf(name, kind)) return HolderOf(std::nullopt, std::nullopt);
  if (kind != native::Kind::File) return HolderOf(kind, std::nullopt);
  try {
    InputFile file(name);
    std::string head(kHeadBytes, '\0');
    std::size_t got = 0;
    while (got < head.size()) {
      const std::size_t part = file.Read(head.data() + got, head.size() - got);
      if (part == 0) break;
      got += part;
    }
    head.resize(got);
    return HolderOf(kind, head);
  } catch (const std::system_error&) {
    return HolderOf(kind, std::nullopt);
  }
}

}  // namespace vexilo::stats
