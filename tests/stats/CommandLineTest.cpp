#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "stats/CommandLine.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vexilo::stats {
namespace {

namespace fs = std::filesystem;

struct CloseFile {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, CloseFile>;

std::string Contents(std::FILE* f) {
  std::fflush(f);
  std::rewind(f);
  std::string text;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
    text.append(buffer, got);
  return text;
}

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        fs::temp_directory_path() / ("vexilo-stats-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder_);
    Write("good.CSV", "17,Black\r\n0,Green\r\n32,Red\r\n");
    Write("bad.CSV", "17,Black\r\n17,Red\r\n");
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  std::string Path(const std::string& name) const { return (folder_ / name).string(); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
  }

  struct Run {
    ExitCode code;
    std::string out, err;
  };
  Run Start(std::vector<std::string> args, std::FILE* out = nullptr) const {
    const File ownOut(std::tmpfile()), err(std::tmpfile());
    const ExitCode code = RunCommandLine(args, out != nullptr ? out : ownOut.get(), err.get());
    return {code, Contents(ownOut.get()), Contents(err.get())};
  }

  fs::path folder_;
};

TEST_F(CommandLine, ExitCodesAndNothingWrittenOnFailure) {
  const std::string good = Path("good.CSV"), bad = Path("bad.CSV"), none = Path("none.CSV");
  const std::string other = Path("other.CSV");  // good.CSV by another name
  fs::create_hard_link(good, other);
  struct Case {
    std::vector<std::string> args;
    ExitCode code;
    std::string message;   // the start of the first line on standard error
    std::string out = "";  // the start of standard output
  };
  const std::vector<Case> cases = {
      {{good}, ExitCode::Done, "", "Verdict: "},
      {{"--html", "-", good}, ExitCode::Done, "", "<!DOCTYPE html>"},
      {{"--last", "0", good},
       ExitCode::Done,
       "",
       "Vexilo Stats: 0 of 3 spins analysed from 1 log (--last 0): nothing to analyse."},
      {{good, other},
       ExitCode::Done,
       "vexilo-stats: warning: " + good + " and " + other + " are the same file"},
      {{"--html", good, good},
       ExitCode::Usage,
       "vexilo-stats: the page " + good + " would replace the log " + good},
      {{"--html=" + other, bad, good},
       ExitCode::Usage,
       "vexilo-stats: the page " + other + " would replace the log " + good},
      {{"--holdout", "0.95", good},
       ExitCode::Usage,
       "vexilo-stats: --holdout needs a share from 0 to 0.9, not \"0.95\""},
      {{"--simulations=999", good},
       ExitCode::Usage,
       "vexilo-stats: --simulations needs a whole number from 1000 to 1000000, not \"999\""},
      {{"--holdout=0.9", "--simulations", "1000000", "--last", "0", good}, ExitCode::Done, ""},
      {{"--simulations=1000001", good},
       ExitCode::Usage,
       "vexilo-stats: --simulations needs a whole number from 1000 to 1000000, not \"1000001\""},
      {{"--last", "2x", good}, ExitCode::Usage, "vexilo-stats: --last needs a whole number, not"},
      {{"--open", "--json", good}, ExitCode::Usage, "vexilo-stats: --open goes with neither"},
      {{"--json=yes", good}, ExitCode::Usage, "vexilo-stats: --json takes no value"},
      {{"--json", "--seed", "5", "--last=2", good, good}, ExitCode::Done, ""},
      {{"--help"}, ExitCode::Done, ""},
      {{}, ExitCode::Usage, "vexilo-stats: no log to read"},
      {{"--last", "-3", good},
       ExitCode::Usage,
       "vexilo-stats: --last needs a whole number, not \"-3\""},
      {{"--seed"}, ExitCode::Usage, "vexilo-stats: --seed needs a value"},
      {{"--json", "--html", "x.html", good},
       ExitCode::Usage,
       "vexilo-stats: --json and --html do not go"},
      {{"--colour", good}, ExitCode::Usage, "vexilo-stats: unknown option --colour"},
      {{good, bad},
       ExitCode::BadInput,
       bad + ":2: expected the colour \"Black\" for 17, found \"Red\""},
      {{good, none}, ExitCode::BadInput, none + ": "},
      {{"--", "--json"}, ExitCode::BadInput, "--json: "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    const Run run = Start(c.args);
    EXPECT_EQ(run.code, c.code);
    EXPECT_EQ(run.err.rfind(c.message, 0), 0u) << run.err;
    EXPECT_EQ(run.out.empty(), c.code != ExitCode::Done) << run.out;
    EXPECT_EQ(run.out.rfind(c.out, 0), 0u) << run.out.substr(0, 100);
  }
  std::ifstream log(good, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(log), {}),
            "17,Black\r\n0,Green\r\n32,Red\r\n");
}

// The page waits for the report: when standard output fails, no page appears.
TEST_F(CommandLine, AReportThatCannotBeWrittenIsExitCodeThree) {
  const File readOnly(std::fopen(Path("good.CSV").c_str(), "rb"));
  const Run run = Start({"--html", Path("page.html"), Path("good.CSV")}, readOnly.get());
  EXPECT_EQ(run.code, ExitCode::NotWritten);
  EXPECT_EQ(run.err.rfind("vexilo-stats: cannot write the report: ", 0), 0u) << run.err;
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
}

// The page goes to its file, the text report still to standard output.
TEST_F(CommandLine, HtmlPageBesideTheTextReport) {
  const Run run = Start({"--html", Path("page.html"), Path("good.CSV")});
  EXPECT_EQ(run.code, ExitCode::Done) << run.err;
  EXPECT_EQ(run.out.rfind("Verdict: ", 0), 0u) << run.out;
  std::ifstream page(folder_ / "page.html", std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(page), {}};
  EXPECT_EQ(text.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(text.find("good.CSV"), std::string::npos);
}

#ifndef _WIN32
// A disk that fills up part-way through the page (a file size limit here): exit code 3, the
// page saved before is untouched, no temporary file is left and nothing reaches standard output.
TEST_F(CommandLine, APageThatCannotBeWrittenLeavesNothingBehind) {
  Write("page.html", "the page before");
  const pid_t child = ::fork();
  if (child == 0) {
    const rlimit small{4096, 4096};
    ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    const File out(std::fopen(Path("out.txt").c_str(), "wb"));
    const File err(std::fopen(Path("err.txt").c_str(), "wb"));
    const std::vector<std::string> args = {"--html", Path("page.html"), Path("good.CSV")};
    const int code = static_cast<int>(RunCommandLine(args, out.get(), err.get()));
    std::fflush(nullptr);
    ::_exit(code);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), static_cast<int>(ExitCode::NotWritten));
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder_)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names,
            (std::vector<std::string>{"bad.CSV", "err.txt", "good.CSV", "out.txt", "page.html"}));
  EXPECT_EQ(fs::file_size(folder_ / "out.txt"), 0u);
  EXPECT_EQ(fs::file_size(folder_ / "page.html"), std::string_view("the page before").size());
  std::ifstream err(folder_ / "err.txt");
  std::string message;
  std::getline(err, message);
  EXPECT_EQ(message, "vexilo-stats: cannot write " + Path("page.html") + ": File too large");
}
#endif

}  // namespace
}  // namespace vexilo::stats
