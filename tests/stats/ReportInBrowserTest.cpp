#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QImage>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/PocketTable.h"
#include "export/SpinLogFormat.h"
#include "stats/CommandLine.h"
#include "stats/analysis/Schedule.h"

extern char** environ;

namespace vexilo::stats {
namespace {

namespace fs = std::filesystem;

constexpr int kShotWidth = 1280;
constexpr int kShotHeight = 1900;
// With the page this wide, the bars stand left of this line and the wheel right of it.
constexpr int kPicturesSplit = 770;

// A log from a wheel that favours the arc 2 25 17 34 6 and all but lacks 10.
std::string BiasedLog() {
  std::array<double, kPockets> weights;
  weights.fill(1.0);
  for (const int n : {2, 25, 17, 34, 6}) weights[n] = 1.5;
  weights[10] = 0.4;
  std::mt19937 engine(9);
  std::discrete_distribution<int> wheel(weights.begin(), weights.end());
  std::string log;
  for (int i = 0; i < 20000; ++i) {
    const int n = wheel(engine);
    log += std::to_string(n) + "," + std::string(kColourWords[ColourIndex(PocketOf(n).color)]) +
           "\r\n";
  }
  return log;
}

// Runs the browser to completion, its standard output into a file.
int RunBrowser(std::vector<std::string> args, const fs::path& output, const fs::path& log) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The markup of one element, from its start tag to the first end tag of its kind.
std::string ElementText(const std::string& dom, const std::string& start, std::string_view tag) {
  const std::size_t from = dom.find(start);
  if (from == std::string::npos) return {};
  const std::size_t to = dom.find("</" + std::string(tag) + ">", from);
  return dom.substr(from, to - from);
}

int Occurrences(const std::string& text, std::string_view part) {
  int found = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++found;
  }
  return found;
}

// Pixels of exactly this colour left or right of the split.
int Pixels(const QImage& shot, QRgb colour, bool left) {
  int found = 0;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = left ? 0 : kPicturesSplit; x < (left ? kPicturesSplit : shot.width()); ++x) {
      found += (shot.pixel(x, y) & 0xFFFFFF) == colour;
    }
  }
  return found;
}

class ReportInBrowser : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        fs::temp_directory_path() / ("vexilo-browser-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder_ / "profile");
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  std::vector<std::string> Browser(std::initializer_list<std::string> extra) const {
    std::vector<std::string> args = {VEXILO_CHROMIUM,
                                     "--headless",
                                     "--no-sandbox",
                                     "--disable-gpu",
                                     "--disable-quic",
                                     "--no-first-run",
                                     "--disable-background-networking",
                                     "--disable-component-update",
                                     "--disable-sync",
                                     "--user-data-dir=" + (folder_ / "profile").string(),
                                     "--force-color-profile=srgb",
                                     "--hide-scrollbars"};
    args.insert(args.end(), extra);
    args.push_back("file://" + (folder_ / "report.html").string());
    return args;
  }

  fs::path folder_;
};

// The page of a biased wheel, whose log has a name that looks like markup, opened in a real
// browser: the verdict first, then the evidence and the bankroll over the spins; every picture
// is in the document with its parts, the name shows as text, and the screenshot has the two
// lines, the bars left and the ring right in their colours.
TEST_F(ReportInBrowser, ThePageRendersWithItsPictures) {
  const fs::path log = folder_ / "<i>x&.CSV";
  std::ofstream(log, std::ios::binary) << BiasedLog();
  const std::vector<std::string> args = {"--html", (folder_ / "report.html").string(),
                                         log.string()};
  std::FILE* sink = std::tmpfile();
  ASSERT_EQ(RunCommandLine(args, sink, stderr), ExitCode::Done);
  std::fclose(sink);

  const fs::path browserLog = folder_ / "browser.log";
  ASSERT_EQ(RunBrowser(Browser({"--dump-dom"}), folder_ / "dom.html", browserLog), 0)
      << Slurp(browserLog);
  const std::string dom = Slurp(folder_ / "dom.html");
  // The answer is the first thing on the page.
  const std::size_t body = dom.find("<body>");
  ASSERT_NE(body, std::string::npos);
  const std::string answer = "<body><header id=\"verdict\" class=\"answer\">";
  EXPECT_EQ(dom.compare(body, answer.size(), answer), 0) << dom.substr(body, 80);
  EXPECT_LT(dom.find("<h1>", body), dom.find("<section", body));
  EXPECT_NE(dom.find("<h1>The wheel looks biased: the evidence against a fair wheel reached 20"),
            std::string::npos);
  const std::string evidence = ElementText(dom, "<svg id=\"evidence\"", "svg");
  EXPECT_LT(dom.find("<svg id=\"evidence\""), dom.find("<svg id=\"bankroll\""));
  EXPECT_LT(dom.find("<svg id=\"bankroll\""), dom.find("<section", body));
  EXPECT_EQ(Occurrences(evidence, "<polyline "), 1);
  EXPECT_EQ(Occurrences(evidence, "class=\"reached\""), 1);
  // A point of the line for every point of the schedule up to the 20000 spins, and the last.
  const std::size_t from = evidence.find("points=\"") + 8;
  int points = 1;
  for (std::int64_t p = kFirstPoint; p < 20000; p = NextPoint(p)) ++points;
  EXPECT_EQ(Occurrences(evidence.substr(from, evidence.find('"', from) - from), ","), points);
  EXPECT_NE(dom.find("&lt;i&gt;x&amp;.CSV"), std::string::npos);
  EXPECT_EQ(dom.find("<i>"), std::string::npos);
  const std::string counts = ElementText(dom, "<svg id=\"counts\"", "svg");
  const std::string wheel = ElementText(dom, "<svg id=\"wheel\"", "svg");
  EXPECT_GE(Occurrences(counts, "<rect "), kPockets + 1);     // the bars and the band
  EXPECT_EQ(Occurrences(wheel, "<path "), 2 * kPockets + 1);  // pockets, rims, the best arc
  EXPECT_EQ(Occurrences(wheel, "class=\"pocket"), kPockets);
  EXPECT_NE(wheel.find(">The wheel: each pocket by its deviation</title>"), std::string::npos);
  EXPECT_NE(dom.find("the numbers are uneven"), std::string::npos);

  const std::string size = std::to_string(kShotWidth) + "," + std::to_string(kShotHeight);
  const fs::path png = folder_ / "report.png";
  ASSERT_EQ(RunBrowser(Browser({"--window-size=" + size, "--screenshot=" + png.string()}),
                       folder_ / "screenshot.out", browserLog),
            0)
      << Slurp(browserLog);
  const QImage shot =
      QImage(QString::fromStdString(png.string())).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shot.size(), QSize(kShotWidth, kShotHeight));
  struct Seen {
    QRgb colour;
    bool left;
    int least;
    const char* what;
  };
  const std::vector<Seen> expected = {
      {0x1F4E79, true, 300, "the evidence's line"},
      {0x1F4E79, false, 300, "the bankroll's line"},
      {0xC8102E, true, 3000, "red bars"},
      {0x1A1A1A, true, 3000, "black bars"},
      {0x00843D, true, 1000, "the bar of 0"},
      {0xB35806, false, 5000, "the favoured arc, hottest on the scale"},
      {0x542788, false, 1000, "10, coldest on the scale"},
      {0xC8102E, false, 2000, "the rim's red pockets"},
  };
  for (const Seen& s : expected) EXPECT_GE(Pixels(shot, s.colour, s.left), s.least) << s.what;
  // The picture of the report that the read-me shows.
  fs::copy_file(png, "stats-report.png", fs::copy_options::overwrite_existing);
}

}  // namespace
}  // namespace vexilo::stats
