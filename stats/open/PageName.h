#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "export/NativeFile.h"

namespace vexilo::stats {

// What a file name holds, as far as writing a page there goes.
enum class NameHolder {
  Nothing,  // free
  OwnPage,  // a page vexilo-stats wrote before: replacing it loses nothing
  Other,    // a log, any other file, a folder: never written over
};

// The first part of a page's name: the log's own name without its folder ("monday.CSV"), or
// "standard input" for "-". Both / and \ end a folder on Windows, / alone elsewhere.
[[nodiscard]] std::string PageStem(std::string_view log);

// The folder part of a log's name, its last separator included; empty for a name without one
// and for "-".
[[nodiscard]] std::string FolderPart(std::string_view log);

// The folder --open writes pages to on Linux: $XDG_CACHE_HOME/vexilo/ when that is an absolute
// name, else $HOME/.cache/vexilo/; nothing when neither is set. Values are the variables' texts,
// null when unset.
[[nodiscard]] std::optional<std::string> CacheFolder(const char* xdgCacheHome, const char* home);

// The name of the page for a record whose first log has the stem, in folder (which ends with
// its separator, or is empty): "<stem>.report.html", or the first of "<stem> (2).report.html",
// "<stem> (3).report.html", … that is free or one of the program's own pages. Nothing when
// every candidate up to a thousand is taken.
[[nodiscard]] std::optional<std::string> PageName(
    std::string_view folder, std::string_view stem,
    const std::function<NameHolder(const std::string&)>& holderOf);

// Whether the start of a file is that of a page vexilo-stats wrote: it carries the page's mark
// (HtmlReport's generator tag) near the top.
[[nodiscard]] bool IsOwnPage(std::string_view head);

// What a name holds, from what the system said of it: its kind (none when the system could not
// tell) and, for a file, its first bytes (none when they could not be read). Only a file that
// shows the mark is the program's own; what cannot be proved so is never written over.
[[nodiscard]] NameHolder HolderOf(std::optional<native::Kind> kind,
                                  std::optional<std::string_view> head);

// What the name holds on this system (HolderOf, the file's first bytes read for the mark).
[[nodiscard]] NameHolder HolderOnDisk(const std::string& name);

}  // namespace vexilo::stats
