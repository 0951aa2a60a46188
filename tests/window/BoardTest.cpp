#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "FakeWindow.h"
#include "window/Board.h"

namespace vexilo {
namespace {

using testing::ControlState;
using testing::FakeShell;
using testing::FakeView;

std::string L(int n) {
  return "Label" + std::to_string(n);
}
std::string B(int n) {
  return "ProgressBar" + std::to_string(n);
}

// Label numbers of the display map, written out from the window's design.
std::vector<int> CountLabels() {
  std::vector<int> labels;
  for (int n = 74; n <= 110; ++n) labels.push_back(n);
  for (int n = 152; n <= 174; n += 2) labels.push_back(n);
  for (int n = 189; n <= 211; n += 2) labels.push_back(n);
  for (int n = 213; n <= 219; n += 2) labels.push_back(n);
  return labels;
}
std::vector<int> ShareLabels() {
  std::vector<int> labels;
  for (int n = 111; n <= 147; ++n) labels.push_back(n);
  for (int n = 153; n <= 175; n += 2) labels.push_back(n);
  for (int n = 190; n <= 212; n += 2) labels.push_back(n);
  for (int n = 214; n <= 220; n += 2) labels.push_back(n);
  return labels;
}
std::vector<int> GroupShareLabels() {
  std::vector<int> labels;
  for (const int n : ShareLabels()) {
    if (n > 147) labels.push_back(n);
  }
  return labels;
}

const std::set<int> kRed = {1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36};
TColor PocketColor(int n) {
  return n == 0 ? clLime : kRed.count(n) ? clRed : clBlack;
}

// A board on a fake window, created as at start-up.
struct Window {
  FakeView view;
  FakeShell shell;
  Board board{view, shell};

  Window() {
    board.FormCreate();
    view.ClearLog();
  }
  void Spins(const std::vector<int>& numbers) {
    for (const int n : numbers) board.SpinClick(n);
  }
};

// Differences between two window states, for a readable failure.
std::string Diff(const std::vector<ControlState>& actual, const std::vector<ControlState>& want) {
  std::ostringstream out;
  int shown = 0;
  for (std::size_t i = 0; i < actual.size() && shown < 10; ++i) {
    if (actual[i] == want[i]) continue;
    ++shown;
    out << FormControls()[i].name.view() << ": \"" << actual[i].text << "\" colour "
        << actual[i].color << " at " << actual[i].position << ", want \"" << want[i].text
        << "\" colour " << want[i].color << " at " << want[i].position << "\n";
  }
  return out.str();
}

// What a fresh window shows after the given spins were entered one by one.
std::vector<ControlState> Replayed(const std::vector<int>& spins, const std::string& separator) {
  Window fresh;
  fresh.shell.separator = separator;
  fresh.Spins(spins);
  return fresh.view.State();
}

void ExpectZeroDisplay(const FakeView& view) {
  EXPECT_EQ(view.Text("Label222"), "0");
  for (const int n : CountLabels()) EXPECT_EQ(view.Text(L(n)), "0") << L(n);
  for (const int n : ShareLabels()) EXPECT_EQ(view.Text(L(n)), "0%") << L(n);
  for (int b = 1; b <= 16; ++b) EXPECT_EQ(view.Position(B(b)), 0) << B(b);
  for (int k = 1; k <= 20; ++k) {
    EXPECT_EQ(view.Text(L(k)), "") << L(k);
    EXPECT_EQ(view.Color(L(k)), clBtnFace) << L(k);
  }
}

TEST(Board, StartUpShowsTheZeroDisplayWithoutPlaceholders) {
  Window window;
  ExpectZeroDisplay(window.view);
  for (const Control& control : FormControls()) {
    const std::string& text = window.view.Text(control.name.view());
    EXPECT_NE(text, "xxxx") << control.name.view();
    EXPECT_NE(text, "xx.xx") << control.name.view();
  }
  EXPECT_EQ(window.board.Tally().SpinCount(), 0);
}

TEST(Board, FirstSpinOf17) {
  Window window;
  window.board.SpinClick(17);
  const FakeView& view = window.view;
  EXPECT_EQ(view.Text("Label222"), "1");
  EXPECT_EQ(view.Text("Label91"), "1");
  EXPECT_EQ(view.Text("Label128"), "100%");
  for (int i = 0; i <= 36; ++i) {
    if (i != 17) {
      EXPECT_EQ(view.Text(L(111 + i)), "0%") << i;
    }
  }
  const std::set<int> groupCounts = {172, 162, 166, 213, 199, 154, 158};
  const std::set<int> groupShares = {173, 163, 167, 214, 200, 155, 159};
  const std::set<int> fullBars = {7, 2, 4, 13, 10, 12};
  for (const int n : groupCounts) EXPECT_EQ(view.Text(L(n)), "1") << n;
  for (const int n : GroupShareLabels()) {
    EXPECT_EQ(view.Text(L(n)), groupShares.count(n) ? "100%" : "0%") << n;
  }
  for (int b = 1; b <= 16; ++b) EXPECT_EQ(view.Position(B(b)), fullBars.count(b) ? 100 : 0) << b;
  for (const int n : CountLabels()) {
    if (n != 91 && !groupCounts.count(n)) {
      EXPECT_EQ(view.Text(L(n)), "0") << n;
    }
  }
  EXPECT_EQ(view.Text("Label1"), "17");
  EXPECT_EQ(view.Color("Label1"), clBlack);
  for (int k = 2; k <= 20; ++k) {
    EXPECT_EQ(view.Text(L(k)), "");
    EXPECT_EQ(view.Color(L(k)), clBtnFace);
  }
}

TEST(Board, FirstSpinOfZeroWritesNoGroupCount) {
  Window window;
  window.board.SpinClick(0);
  const FakeView& view = window.view;
  EXPECT_EQ(view.Text("Label222"), "1");
  EXPECT_EQ(view.Text("Label74"), "1");
  EXPECT_EQ(view.Text("Label111"), "100%");
  for (const int n : GroupShareLabels()) EXPECT_EQ(view.Text(L(n)), "0%") << n;
  for (int b = 1; b <= 16; ++b) EXPECT_EQ(view.Position(B(b)), 0);
  std::set<std::string> groupCounts;
  for (const int n : CountLabels()) {
    if (n > 110) groupCounts.insert("T:" + L(n));
  }
  for (const std::string& write : view.LogNames()) EXPECT_EQ(groupCounts.count(write), 0u) << write;
  EXPECT_EQ(view.Text("Label1"), "0");
  EXPECT_EQ(view.Color("Label1"), clLime);
}

// The order in which one press of a number writes the window: the spin count and the number's
// count, every number's share, then family by family the group's count, shares and bars, and
// last the strip, each slot's text before its colour.
std::vector<std::string> PressOrder(const std::vector<int>& groupCounts, int number) {
  std::vector<std::string> order = {"T:Label222", "T:" + L(74 + number)};
  for (int i = 0; i <= 36; ++i) order.push_back("T:" + L(111 + i));
  auto count = [&](std::size_t family) {
    if (!groupCounts.empty()) order.push_back("T:" + L(groupCounts[family]));
  };
  auto labels = [&](std::initializer_list<int> numbers) {
    for (const int n : numbers) order.push_back("T:" + L(n));
  };
  auto bars = [&](std::initializer_list<int> numbers) {
    for (const int n : numbers) order.push_back("P:" + B(n));
  };
  count(0), labels({171, 173, 175}), bars({6, 7, 8});
  count(1), labels({161, 163, 165}), bars({1, 2, 3});
  count(2), labels({167, 169}), bars({4, 5});
  count(3), labels({214, 218, 216, 220}), bars({13, 14, 15, 16});
  count(4);
  for (int k = 1; k <= 12; ++k) order.push_back("T:" + L(2 * k + 188));
  count(5), labels({153, 155}), bars({9, 10});
  count(6), labels({157, 159}), bars({11, 12});
  for (int k = 1; k <= 20; ++k) {
    order.push_back("T:" + L(k));
    order.push_back("C:" + L(k));
  }
  return order;
}

TEST(Board, PressWritesInTheWindowsOrder) {
  struct Case {
    int number;
    std::vector<int> groupCounts;  // column, dozen, half, sector, street, parity, colour
  };
  const std::vector<Case> cases = {
      {17, {172, 162, 166, 213, 199, 154, 158}}, {0, {}},
      {1, {170, 160, 166, 215, 189, 154, 156}},  {36, {174, 164, 168, 217, 211, 152, 156}},
      {29, {172, 164, 168, 219, 207, 154, 158}},
  };
  for (const Case& c : cases) {
    Window window;
    window.board.SpinClick(c.number);
    EXPECT_EQ(window.view.LogNames(), PressOrder(c.groupCounts, c.number)) << c.number;
  }
}

TEST(Board, SharesUseTheSeparatorInForceAtEachPress) {
  Window window;
  window.Spins({1, 2, 0});  // one red of three
  EXPECT_EQ(window.view.Text("Label157"), "33.33%");
  EXPECT_EQ(window.view.Position("ProgressBar11"), 33);
  EXPECT_EQ(window.view.Text("Label158"), "1");

  Window comma;
  comma.shell.separator = ",";
  comma.Spins({1, 2, 0});
  EXPECT_EQ(comma.view.Text("Label157"), "33,33%");
  EXPECT_EQ(comma.view.Position("ProgressBar11"), 33);

  window.Spins({0, 0, 0});  // red 1 of 6
  EXPECT_EQ(window.view.Text("Label157"), "16.67%");
  window.shell.separator = ",";
  window.board.SpinClick(0);  // red 1 of 7, zero 5 of 7
  EXPECT_EQ(window.view.Text("Label157"), "14,29%");
  EXPECT_EQ(window.view.Text("Label111"), "71,43%");
  EXPECT_EQ(window.view.Position("ProgressBar11"), 14);
  for (const int n : ShareLabels()) {
    EXPECT_EQ(window.view.Text(L(n)).find('.'), std::string::npos) << n;
  }
  window.shell.separator = ".";
  window.board.BackClick();  // Back formats with the separator of its own moment
  EXPECT_EQ(window.view.Text("Label157"), "16.67%");
  EXPECT_EQ(window.view.Text("Label111"), "66.67%");
}

TEST(Board, StripShowsTheLastTwentyNewestFirst) {
  Window window;
  std::vector<int> spins;
  for (int k = 1; k <= 21; ++k) spins.push_back(k);
  window.Spins(spins);
  for (int k = 1; k <= 20; ++k) {
    const int shown = 22 - k;
    EXPECT_EQ(window.view.Text(L(k)), std::to_string(shown));
    EXPECT_EQ(window.view.Color(L(k)), PocketColor(shown));
  }
}

TEST(Board, SameNumberTwice) {
  Window window;
  window.Spins({17, 17});
  EXPECT_EQ(window.view.Text("Label222"), "2");
  EXPECT_EQ(window.view.Text("Label91"), "2");
  EXPECT_EQ(window.view.Text("Label128"), "100%");
  EXPECT_EQ(window.view.Text("Label158"), "2");
  EXPECT_EQ(window.view.Text("Label159"), "100%");
  window.board.SpinClick(1);
  EXPECT_EQ(window.view.Text("Label128"), "66.67%");
  EXPECT_EQ(window.view.Text("Label159"), "66.67%");
  EXPECT_EQ(window.view.Text("Label158"), "2");
  EXPECT_EQ(window.view.Position("ProgressBar12"), 67);
}

// Back cases: the spins entered, how many Backs, and a few displays to check besides the
// comparison with a window that saw only the remaining spins.
struct BackCase {
  const char* name;
  std::vector<int> spins;
  int backs;
  std::vector<std::pair<std::string, std::string>> texts;
  std::vector<std::pair<std::string, TColor>> colors;
};

TEST(Board, BackShowsWhatTheRemainingSpinsWouldShow) {
  std::vector<int> twenty, twentyOne;
  for (int k = 1; k <= 20; ++k) twenty.push_back(k);
  twentyOne = twenty;
  twentyOne.push_back(21);
  const std::vector<BackCase> cases = {
      {"one spin",
       {17},
       1,
       {{"Label222", "0"}, {"Label91", "0"}, {"Label1", ""}},
       {{"Label1", clBtnFace}}},
      {"7 12 7",
       {7, 12, 7},
       1,
       {{"Label81", "1"},
        {"Label86", "1"},
        {"Label222", "2"},
        {"Label118", "50%"},
        {"Label1", "12"},
        {"Label2", "7"},
        {"Label3", ""}},
       {{"Label1", clRed}, {"Label2", clRed}, {"Label3", clBtnFace}}},
      {"21 spins", twentyOne, 1, {{"Label20", "1"}, {"Label1", "20"}}, {{"Label20", clRed}}},
      {"20 spins",
       twenty,
       1,
       {{"Label20", ""}, {"Label19", "1"}, {"Label1", "19"}},
       {{"Label20", clBtnFace}}},
      {"a zero",
       {5, 0},
       1,
       {{"Label74", "0"},
        {"Label111", "0%"},
        {"Label79", "1"},
        {"Label116", "100%"},
        {"Label156", "1"},
        {"Label222", "1"}},
       {{"Label1", clRed}, {"Label2", clBtnFace}}},
      {"more Backs than spins", {3, 4}, 5, {{"Label222", "0"}}, {{"Label1", clBtnFace}}},
  };
  for (const BackCase& c : cases) {
    SCOPED_TRACE(c.name);
    Window window;
    window.Spins(c.spins);
    for (int i = 0; i < c.backs; ++i) window.board.BackClick();
    const std::vector<int> remaining(
        c.spins.begin(), c.spins.end() - std::min<int>(c.backs, static_cast<int>(c.spins.size())));
    const std::vector<ControlState> want = Replayed(remaining, ".");
    EXPECT_TRUE(window.view.State() == want) << Diff(window.view.State(), want);
    for (const auto& [name, text] : c.texts) EXPECT_EQ(window.view.Text(name), text) << name;
    for (const auto& [name, color] : c.colors) EXPECT_EQ(window.view.Color(name), color) << name;
    if (remaining.empty()) ExpectZeroDisplay(window.view);
  }
}

std::vector<std::string> StripColorWrites() {
  std::vector<std::string> order;
  for (int k = 1; k <= 20; ++k) order.push_back("C:" + L(k));
  return order;
}

TEST(Board, BackWithNothingRecordedOnlyRepaintsTheStripColors) {
  Window window;
  const std::vector<ControlState> before = window.view.State();
  window.board.BackClick();
  EXPECT_EQ(window.view.LogNames(), StripColorWrites());
  EXPECT_TRUE(window.view.State() == before);
  EXPECT_EQ(window.board.Tally().SpinCount(), 0);
}

// The zero display as Back writes it, after the spin count.
std::vector<std::string> BackZeroOrder() {
  std::vector<std::string> order = {"T:Label222"};
  for (int k = 1; k <= 4; ++k)
    order.insert(order.end(), {"T:" + L(2 * k + 211), "T:" + L(2 * k + 212)});
  for (int n = 74; n <= 147; ++n) order.push_back("T:" + L(n));
  for (int k = 1; k <= 12; ++k)
    order.insert(order.end(), {"T:" + L(2 * k + 187), "T:" + L(2 * k + 188)});
  for (int i = 0; i <= 11; ++i)
    order.insert(order.end(), {"T:" + L(152 + 2 * i), "T:" + L(153 + 2 * i)});
  for (int b = 1; b <= 16; ++b) order.push_back("P:" + B(b));
  for (int k = 1; k <= 20; ++k) order.push_back("T:" + L(k));
  for (const std::string& color : StripColorWrites()) order.push_back(color);
  return order;
}

std::vector<std::string> BackRefreshOrder() {
  std::vector<std::string> order = {"T:Label222"};
  for (int b = 1; b <= 16; ++b) order.push_back("P:" + B(b));
  for (int k = 1; k <= 20; ++k) order.push_back("T:" + L(k));
  for (int i = 0; i <= 36; ++i) order.insert(order.end(), {"T:" + L(74 + i), "T:" + L(111 + i)});
  for (const int n : {170, 172, 174, 171, 173, 175, 160, 162, 164, 161, 163, 165,
                      166, 168, 167, 169, 213, 217, 215, 219, 214, 218, 216, 220}) {
    order.push_back("T:" + L(n));
  }
  for (int k = 1; k <= 12; ++k)
    order.insert(order.end(), {"T:" + L(2 * k + 187), "T:" + L(2 * k + 188)});
  for (const int n : {152, 154, 153, 155, 156, 158, 157, 159}) order.push_back("T:" + L(n));
  for (const std::string& color : StripColorWrites()) order.push_back(color);
  return order;
}

TEST(Board, BackWritesInTheWindowsOrder) {
  Window window;
  window.Spins({4, 5});
  window.view.ClearLog();
  window.board.BackClick();
  EXPECT_EQ(window.view.LogNames(), BackRefreshOrder());
  window.view.ClearLog();
  window.board.BackClick();
  EXPECT_EQ(window.view.LogNames(), BackZeroOrder());
}

TEST(Board, StartUpAndResetWriteInTheWindowsOrder) {
  std::vector<std::string> sectors, numbers, streets, block, bars, strip;
  for (int k = 1; k <= 4; ++k)
    sectors.insert(sectors.end(), {"T:" + L(2 * k + 211), "T:" + L(2 * k + 212)});
  for (int n = 74; n <= 147; ++n) numbers.push_back("T:" + L(n));
  for (int k = 1; k <= 12; ++k)
    streets.insert(streets.end(), {"T:" + L(2 * k + 187), "T:" + L(2 * k + 188)});
  for (int i = 0; i <= 11; ++i)
    block.insert(block.end(), {"T:" + L(152 + 2 * i), "T:" + L(153 + 2 * i)});
  for (int b = 1; b <= 16; ++b) bars.push_back("P:" + B(b));
  for (int k = 1; k <= 20; ++k) strip.insert(strip.end(), {"T:" + L(k), "C:" + L(k)});
  auto join = [](std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
  };
  const std::vector<std::string> spinCount = {"T:Label222"};

  FakeView view;
  FakeShell shell;
  Board board(view, shell);
  board.FormCreate();
  EXPECT_EQ(view.LogNames(), join({spinCount, numbers, sectors, streets, block, bars}));

  std::vector<int> spins;
  for (int k = 0; k < 25; ++k) spins.push_back((k * 7) % 37);
  for (const int n : spins) board.SpinClick(n);
  view.ClearLog();
  board.ResetClick();
  EXPECT_EQ(view.LogNames(), join({sectors, spinCount, numbers, streets, block, bars, strip}));
  ExpectZeroDisplay(view);
  EXPECT_TRUE(view.State() == Replayed({}, ".")) << Diff(view.State(), Replayed({}, "."));

  board.SpinClick(9);
  EXPECT_EQ(board.Tally().SpinCount(), 1);
  EXPECT_EQ(board.Tally().History(1).number, 9);
}

TEST(Board, PressOnAFullHistoryChangesNothingAndTellsTheUser) {
  Window window;
  window.view.Record(false);
  for (int k = 0; k < MAX_SPINS; ++k) window.board.SpinClick(k % 37);
  ASSERT_EQ(window.board.Tally().SpinCount(), MAX_SPINS);
  window.view.Record(true);
  const std::vector<ControlState> before = window.view.State();

  window.board.SpinClick(17);
  EXPECT_TRUE(window.view.Log().empty());
  EXPECT_TRUE(window.view.State() == before);
  EXPECT_EQ(window.board.Tally().SpinCount(), MAX_SPINS);
  ASSERT_EQ(window.shell.messages.size(), 1u);
  EXPECT_EQ(window.shell.messages[0].first, MessageKind::Warning);
  const std::string& text = window.shell.messages[0].second;
  for (const char* word : {"100000", "full", "DataSave", "Reset"}) {
    EXPECT_NE(text.find(word), std::string::npos) << word << " missing from: " << text;
  }
  window.board.BackClick();
  window.board.SpinClick(17);
  EXPECT_EQ(window.board.Tally().History(MAX_SPINS).number, 17);
  EXPECT_EQ(window.shell.messages.size(), 1u);
}

// A folder of its own for each test, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    path_ = std::filesystem::temp_directory_path() /
            ("vexilo-board-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The path as the save dialog hands it over: UTF-8 text.
std::string Utf8(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return {utf8.begin(), utf8.end()};
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A click reaches the command its control's row names; other controls do nothing.
TEST(Board, ClickRunsTheControlsCommand) {
  struct Case {
    const char* control;
    int spinCount;  // after 3, 4 and then the click
    std::size_t dialogs;
  };
  const Case cases[] = {
      {"ColorBtn18", 3, 0}, {"ColorBtn1", 3, 0}, {"Button1", 1, 0},      {"Button2", 0, 0},
      {"DATASAVE", 2, 1},   {"Label91", 2, 0},   {"ProgressBar7", 2, 0},
  };
  for (const Case& c : cases) {
    Window window;
    window.Spins({3, 4});
    window.board.Click(*FindControl(c.control));
    EXPECT_EQ(window.board.Tally().SpinCount(), c.spinCount) << c.control;
    EXPECT_EQ(window.shell.offered.size(), c.dialogs) << c.control;
  }
  Window window;
  window.board.Click(*FindControl("ColorBtn18"));
  EXPECT_EQ(window.board.Tally().History(1).number, 17) << "ColorBtn18 records 17";
}

TEST(Board, DataSave) {
  ScratchFolder folder;
  const std::filesystem::path log = folder.Path() / "spins.CSV";
  Window window;

  window.board.DataSaveClick();  // nothing recorded: no dialog
  EXPECT_TRUE(window.shell.offered.empty());

  window.Spins({17, 0, 32});
  window.board.DataSaveClick();  // cancelled
  ASSERT_EQ(window.shell.offered.size(), 1u);
  EXPECT_EQ(window.shell.offered[0], "");
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));

  const std::vector<ControlState> before = window.view.State();
  window.view.ClearLog();
  window.shell.answers.push_back(Utf8(log));
  window.board.DataSaveClick();
  EXPECT_EQ(ReadFile(log), "17,Black\r\n0,Green\r\n32,Red\r\n");
  EXPECT_TRUE(window.view.Log().empty()) << "the save writes no display";
  EXPECT_TRUE(window.view.State() == before);

  window.board.BackClick();
  window.shell.answers.push_back(Utf8(log));
  window.board.DataSaveClick();  // the last name is offered again; the file is replaced
  EXPECT_EQ(window.shell.offered.back(), Utf8(log));
  EXPECT_EQ(ReadFile(log), "17,Black\r\n0,Green\r\n");
  EXPECT_TRUE(window.shell.messages.empty());

  window.board.DataSaveClick();  // a cancel keeps the name for next time
  window.board.DataSaveClick();
  EXPECT_EQ(window.shell.offered.back(), Utf8(log));

  window.board.ResetClick();
  const std::size_t openings = window.shell.offered.size();
  window.board.DataSaveClick();
  EXPECT_EQ(window.shell.offered.size(), openings);
}

TEST(Board, FailedSaveNamesTheFileAndTheReason) {
  ScratchFolder folder;
  const std::filesystem::path subfolder = folder.Path() / "log.CSV";
  std::filesystem::create_directory(subfolder);
  const std::vector<std::filesystem::path> targets = {
      subfolder,                                // a folder, not a file
      folder.Path() / "missing" / "spins.CSV",  // a folder that does not exist
  };
  for (const std::filesystem::path& target : targets) {
    SCOPED_TRACE(target.string());
    Window window;
    window.Spins({3});
    const std::string name = Utf8(target);
    window.shell.answers.push_back(name);
    window.board.DataSaveClick();
    ASSERT_EQ(window.shell.messages.size(), 1u);
    EXPECT_EQ(window.shell.messages[0].first, MessageKind::Error);
    const std::string& text = window.shell.messages[0].second;
    EXPECT_NE(text.find(name), std::string::npos) << text;
    EXPECT_GT(text.size(), name.size() + 40) << "no reason given: " << text;
  }
  EXPECT_TRUE(std::filesystem::is_directory(subfolder));
  EXPECT_TRUE(std::filesystem::is_empty(subfolder));
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "missing"));
}

// After any mix of presses, Backs, Resets and separator changes, the window shows exactly what
// a fresh window shows after only the spins that remain.
TEST(Board, RandomHistoriesMatchAReplayOfTheRemainingSpins) {
  for (const unsigned seed : {1u, 2u, 3u, 4u}) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    Window window;
    std::vector<int> spins;
    std::string shown = ".";  // the separator of the last command that wrote shares
    for (int step = 0; step < 160; ++step) {
      const int roll = static_cast<int>(random() % 100);
      if (roll < 60) {
        const int n = static_cast<int>(random() % 37);
        window.board.SpinClick(n);
        spins.push_back(n);
        shown = window.shell.separator;
      } else if (roll < 92) {
        window.board.BackClick();
        if (!spins.empty()) spins.pop_back();
        if (!spins.empty()) shown = window.shell.separator;
      } else if (roll < 95) {
        window.board.ResetClick();
        spins.clear();
      } else {
        window.shell.separator = window.shell.separator == "." ? "," : ".";
      }
      if (step % 8 == 7 || roll >= 60) {
        const std::vector<ControlState> want = Replayed(spins, shown);
        ASSERT_TRUE(window.view.State() == want) << "after step " << step << "\n"
                                                 << Diff(window.view.State(), want);
      }
    }
  }
}

}  // namespace
}  // namespace vexilo
