#include <gtest/gtest.h>

#include <map>
#include <string>

#include "stats/open/PageName.h"
#include "stats/open/StartedFrom.h"
#include "stats/report/HtmlReport.h"

namespace vexilo::stats {
namespace {

TEST(StartedFrom, ExplorerIsTheOnlyProcessOnItsConsoleAndOutputIsNotTaken) {
  struct Case {
    unsigned long processes;
    bool redirected;
    StartedFrom expected;
  };
  for (const Case& c : {Case{1, false, StartedFrom::Desktop},    // Explorer's own console
                        Case{0, false, StartedFrom::Desktop},    // no console at all
                        Case{2, false, StartedFrom::Console},    // cmd, PowerShell
                        Case{1, true, StartedFrom::Console},     // a script reading its output
                        Case{0, true, StartedFrom::Console}}) {  // a service writing to a file
    EXPECT_EQ(StartedFromOnWindows(c.processes, c.redirected), c.expected)
        << c.processes << " " << c.redirected;
  }
}

TEST(PageName, NeverOverALogOrAnyFileItDidNotWrite) {
  const std::map<std::string, NameHolder> disk = {
      {"/l/mon day.CSV.report.html", NameHolder::OwnPage},
      {"/l/été.CSV.report.html", NameHolder::Other},  // a log saved under that name
      {"/l/été.CSV (2).report.html", NameHolder::Other}};
  const auto holder = [&](const std::string& name) {
    const auto found = disk.find(name);
    return found == disk.end() ? NameHolder::Nothing : found->second;
  };
  struct Case {
    std::string log, expected;
  };
  for (const Case& c :
       {Case{"/l/mon day.CSV", "/l/mon day.CSV.report.html"},
        Case{"/l/été.CSV", "/l/été.CSV (3).report.html"},
        Case{"/l/new.CSV", "/l/new.CSV.report.html"}, Case{"-", "standard input.report.html"}}) {
    EXPECT_EQ(PageName(FolderPart(c.log), PageStem(c.log), holder), c.expected) << c.log;
  }
  EXPECT_EQ(PageName("", "x", [](const std::string&) { return NameHolder::Other; }), std::nullopt);
  // Only a file that shows the mark in its first 4096 bytes is the program's own; what the
  // system cannot tell about, a folder or a file that cannot be read is never written over.
  using native::Kind;
  const std::string mark(kPageMark);
  struct Holder {
    std::optional<Kind> kind;
    std::optional<std::string> head;
    NameHolder expected;
  };
  for (const Holder& h :
       {Holder{std::nullopt, std::nullopt, NameHolder::Other},
        Holder{Kind::Nothing, std::nullopt, NameHolder::Nothing},
        Holder{Kind::Folder, std::nullopt, NameHolder::Other},
        Holder{Kind::File, std::nullopt, NameHolder::Other},
        Holder{Kind::File, "17,Black\r\n", NameHolder::Other},
        Holder{Kind::File, std::string(4096 - mark.size(), ' ') + mark, NameHolder::OwnPage},
        Holder{Kind::File, std::string(4097 - mark.size(), ' ') + mark, NameHolder::Other}}) {
    EXPECT_EQ(HolderOf(h.kind, h.head), h.expected) << (h.head ? h.head->size() : 0);
  }
  EXPECT_TRUE(native::SameIdentity({8, 4711}, {8, 4711}));
  EXPECT_FALSE(native::SameIdentity({8, 4711}, {9, 4711}));
  EXPECT_FALSE(native::SameIdentity({8, 4711}, {8, 4712}));
  // The cache folder follows XDG_CACHE_HOME when it is absolute.
  EXPECT_EQ(CacheFolder("/c", "/h"), "/c/vexilo/");
  EXPECT_EQ(CacheFolder("rel", "/h"), "/h/.cache/vexilo/");
  EXPECT_EQ(CacheFolder(nullptr, "/h"), "/h/.cache/vexilo/");
  EXPECT_EQ(CacheFolder(nullptr, nullptr), std::nullopt);
}

}  // namespace
}  // namespace vexilo::stats
