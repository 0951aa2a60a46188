// The main window under Wine: start-up, the spin and Back commands read back from the real
// controls, label geometry and strip colours on the rendered window.
#include <gtest/gtest.h>
// The platform header comes before the common controls header.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "FormDriver.h"
#include "export/Utf16.h"
#include "win32/Dpi.h"
#include "window/Centring.h"
#include "window/DisplayMap.h"
#include "window/FormTable.h"
#include "window/Scale.h"

namespace vexilo::test {
namespace {

bool IsCount(const Control& row) {
  return row.kind == ControlKind::Label && row.text == "xxxx";
}
bool IsShare(const Control& row) {
  return row.kind == ControlKind::Label && row.text == "xx.xx";
}
bool IsStrip(const Control& row) {
  const ControlIndex index = *FindControl(row.name.view());
  return index >= *FindControl("Label1") && index <= *FindControl("Label20");
}

TColor BtnFace() {
  return static_cast<TColor>(GetSysColor(COLOR_BTNFACE));
}

// The colour a label is painted in: its box's bottom-left pixel, below any digit. (A later
// label lies above an earlier one, so where substitute faces make neighbours overlap, the left
// end of each is its own.)
TColor BoxColor(const Bitmap& shot, const RECT& box) {
  return shot.Pixel(box.left, box.bottom - 1);
}

TEST(Win32Form, StartsWithTheZeroDisplayAndNoPlaceholder) {
  FormDriver driver;
  for (const Control& row : FormControls()) {
    SCOPED_TRACE(std::string(row.name.view()));
    const std::string_view name = row.name.view();
    if (row.kind == ControlKind::ProgressBar) {
      EXPECT_EQ(driver.BarPosition(name), 0);
    } else if (IsCount(row)) {
      EXPECT_EQ(driver.Text(name), "0");
    } else if (IsShare(row)) {
      EXPECT_EQ(driver.Text(name), "0%");
    } else {
      EXPECT_EQ(driver.Text(name), row.text.view());  // captions, tags, buttons, empty strip
    }
  }
  const Bitmap shot = driver.Capture();
  for (int k = 1; k <= 20; ++k) {
    EXPECT_EQ(BoxColor(shot, driver.Box("Label" + std::to_string(k))), BtnFace()) << k;
  }
}

TEST(Win32Form, IsAFixedCentredTopmostWindowOfTheLayoutsClientSize) {
  FormDriver driver;
  const HWND form = driver.Window();
  RECT client;
  GetClientRect(form, &client);
  EXPECT_EQ(client.right, 834);
  EXPECT_EQ(client.bottom, 711);

  const auto style = static_cast<DWORD>(GetWindowLongPtrW(form, GWL_STYLE));
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
            WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0u) << "no maximise box, no sizing border";
  EXPECT_NE(GetWindowLongPtrW(form, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

  // Placed by the shared centring, from the screen and the outer window (the arithmetic is the
  // core's; Wine's work area is the screen).
  RECT outer;
  GetWindowRect(form, &outer);
  const Origin origin =
      CentredOrigin({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
                    outer.right - outer.left, outer.bottom - outer.top);
  EXPECT_EQ(outer.left, origin.left);
  EXPECT_EQ(outer.top, origin.top);

  MINMAXINFO limits{};
  SendMessageW(form, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, outer.right - outer.left);
  EXPECT_EQ(limits.ptMaxTrackSize.x, outer.right - outer.left);
  EXPECT_EQ(limits.ptMinTrackSize.y, outer.bottom - outer.top);
  EXPECT_EQ(limits.ptMaxTrackSize.y, outer.bottom - outer.top);

  wchar_t caption[32] = {};
  GetWindowTextW(form, caption, 32);
  EXPECT_STREQ(caption, L"Vexilo");
}

// Every control at its row's box at the scale, but the labels, which size themselves to their
// text: each at its row's top, a display with its row's right edge.
void ExpectEveryControlAtItsBox(const FormDriver& driver, double scale) {
  for (const Control& design : FormControls()) {
    const Control row = ScaledControl(design, scale);
    SCOPED_TRACE(std::string(row.name.view()) + " at " + std::to_string(scale));
    const RECT box = driver.Box(row.name.view());
    EXPECT_EQ(box.top, row.top);
    if (row.alignment == taRightJustify) {
      EXPECT_EQ(box.right, row.left + row.width);
    }
    if (row.kind == ControlKind::Label) continue;
    EXPECT_EQ(box.left, row.left);
    EXPECT_EQ(box.right - box.left, row.width);
    EXPECT_EQ(box.bottom - box.top, row.height);
  }
}

TEST(Win32Form, PlacesEveryControlAtItsDesignBox) {
  FormDriver driver;
  ExpectEveryControlAtItsBox(driver, 1.0);
  for (const Control& row : FormControls()) {
    SCOPED_TRACE(std::string(row.name.view()));
    if (row.kind == ControlKind::ProgressBar) {
      PBRANGE range{};
      SendMessageW(driver.Window(row.name.view()), PBM_GETRANGE, FALSE,
                   reinterpret_cast<LPARAM>(&range));
      EXPECT_EQ(range.iLow, 0);
      EXPECT_EQ(range.iHigh, 100);
      EXPECT_EQ(GetWindowLongPtrW(driver.Window(row.name.view()), GWL_STYLE) &
                    (PBS_SMOOTH | PBS_VERTICAL),
                0);
    }
  }
}

// Moved to a monitor of 144 dpi, the board takes the scale that fits this screen, lowered from
// 1.5, at the place the system suggests, with the tally it had. Back at 96 dpi: the design.
TEST(Win32Form, RescalesInPlaceWhenTheMonitorsDpiChanges) {
  FormDriver driver;
  driver.Spin({17});
  const std::pair<UINT, LONG> moves[] = {{144, 0}, {96, 48}};  // to a dpi, at a top
  for (const auto& [dpi, top] : moves) {
    RECT outer{40, top, 1040, top + 900};  // suggested, then as it is
    SendMessageW(driver.Window(), kWmDpiChanged, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&outer));
    driver.Pump();
    const double scale = driver.Form().Scale();
    EXPECT_EQ(scale == 1.0, dpi == 96) << scale;
    EXPECT_LT(scale, 1.5);
    GetWindowRect(driver.Window(), &outer);
    EXPECT_EQ(outer.left, 40);
    EXPECT_EQ(outer.top, top);
    EXPECT_LE(outer.bottom, GetSystemMetrics(SM_CYSCREEN));
    RECT client;
    GetClientRect(driver.Window(), &client);
    EXPECT_EQ(Size(client.right, client.bottom), ScaledClient(scale));
    ExpectEveryControlAtItsBox(driver, scale);
    EXPECT_EQ(driver.Text("Label222"), "1");
  }
}

struct Slot {
  std::string_view text;
  TColor color;
};

struct CommandCase {
  std::string_view name;
  std::vector<int> spins;
  int backs;
  std::map<std::string, std::string> texts;  // labels that must show these texts
  std::map<int, int> bars;                   // ProgressBar number -> position
  bool restAtZero;          // every count, share and bar not listed is at "0", "0%", 0
  std::vector<Slot> strip;  // slots 1.. ; every later slot is empty on the button face
};

std::vector<int> Numbers(int from, int to) {
  std::vector<int> numbers;
  for (int n = from; n <= to; ++n) numbers.push_back(n);
  return numbers;
}

const TColor kFace = static_cast<TColor>(0x7FFFFFFF);  // stands for the button face

class Win32Commands : public ::testing::TestWithParam<CommandCase> {};

TEST_P(Win32Commands, ShowWhatTheTallyHolds) {
  const CommandCase& c = GetParam();
  FormDriver driver;
  for (const int n : c.spins) driver.Spin({n});
  for (int i = 0; i < c.backs; ++i) driver.Click("Button1");

  for (const auto& [label, text] : c.texts) EXPECT_EQ(driver.Text(label), text) << label;
  for (const auto& [bar, position] : c.bars) {
    EXPECT_EQ(driver.BarPosition("ProgressBar" + std::to_string(bar)), position) << bar;
  }
  if (c.restAtZero) {
    for (const Control& row : FormControls()) {
      const std::string name(row.name.view());
      if (c.texts.contains(name)) continue;
      if (IsCount(row)) {
        EXPECT_EQ(driver.Text(name), "0") << name;
      }
      if (IsShare(row)) {
        EXPECT_EQ(driver.Text(name), "0%") << name;
      }
      if (row.kind == ControlKind::ProgressBar && !c.bars.contains(std::stoi(name.substr(11)))) {
        EXPECT_EQ(driver.BarPosition(name), 0) << name;
      }
    }
  }
  for (const Control& row : FormControls()) {
    if (IsShare(row)) {
      EXPECT_TRUE(driver.Text(row.name.view()).ends_with("%")) << row.name.view();
    }
  }

  const Bitmap shot = driver.Capture();
  for (int k = 1; k <= 20; ++k) {
    const std::string label = "Label" + std::to_string(k);
    const Slot slot = k <= static_cast<int>(c.strip.size()) ? c.strip[k - 1] : Slot{"", kFace};
    EXPECT_EQ(driver.Text(label), slot.text) << label;
    EXPECT_EQ(BoxColor(shot, driver.Box(label)), slot.color == kFace ? BtnFace() : slot.color)
        << label;
  }
}

std::vector<Slot> Strip(std::vector<int> newestFirst) {
  static const std::map<int, std::string> names = [] {
    std::map<int, std::string> m;
    for (int n = 0; n <= 36; ++n) m[n] = std::to_string(n);
    return m;
  }();
  constexpr std::array<int, 18> reds = {1,  3,  5,  7,  9,  12, 14, 16, 18,
                                        19, 21, 23, 25, 27, 30, 32, 34, 36};
  std::vector<Slot> strip;
  for (const int n : newestFirst) {
    const bool red = std::find(reds.begin(), reds.end(), n) != reds.end();
    strip.push_back({names.at(n), n == 0 ? clLime : red ? clRed : clBlack});
  }
  return strip;
}

std::vector<int> Reversed(int from, int to) {
  std::vector<int> numbers;
  for (int n = to; n >= from; --n) numbers.push_back(n);
  return numbers;
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, Win32Commands,
    ::testing::Values(
        CommandCase{"FirstSpin17",
                    {17},
                    0,
                    {{"Label222", "1"},
                     {"Label91", "1"},
                     {"Label128", "100%"},
                     {"Label172", "1"},
                     {"Label162", "1"},
                     {"Label166", "1"},
                     {"Label213", "1"},
                     {"Label199", "1"},
                     {"Label154", "1"},
                     {"Label158", "1"},
                     {"Label173", "100%"},
                     {"Label163", "100%"},
                     {"Label167", "100%"},
                     {"Label214", "100%"},
                     {"Label200", "100%"},
                     {"Label155", "100%"},
                     {"Label159", "100%"}},
                    {{7, 100}, {2, 100}, {4, 100}, {13, 100}, {10, 100}, {12, 100}},
                    true,
                    Strip({17})},
        CommandCase{"FirstSpin0",
                    {0},
                    0,
                    {{"Label222", "1"}, {"Label74", "1"}, {"Label111", "100%"}},
                    {},
                    true,
                    Strip({0})},
        CommandCase{"OneRedInThree",
                    {2, 1, 4},
                    0,
                    {{"Label222", "3"},
                     {"Label156", "1"},
                     {"Label157", "33.33%"},
                     {"Label158", "2"},
                     {"Label112", "33.33%"}},
                    {{11, 33}},
                    false,
                    Strip({4, 1, 2})},
        CommandCase{"TwentyFirstSpinDropsTheOldest",
                    Numbers(1, 21),
                    0,
                    {{"Label222", "21"}},
                    {},
                    false,
                    Strip(Reversed(2, 21))},
        CommandCase{
            "SevenTwelveSevenThenBack",
            {7, 12, 7},
            1,
            {{"Label222", "2"},    {"Label81", "1"},  {"Label86", "1"},     {"Label118", "50%"},
             {"Label123", "50%"},  {"Label156", "2"}, {"Label157", "100%"}, {"Label160", "2"},
             {"Label161", "100%"}, {"Label166", "2"}, {"Label167", "100%"}, {"Label170", "1"},
             {"Label171", "50%"},  {"Label174", "1"}, {"Label175", "50%"},  {"Label152", "1"},
             {"Label153", "50%"},  {"Label154", "1"}, {"Label155", "50%"},  {"Label219", "2"},
             {"Label220", "100%"}, {"Label193", "1"}, {"Label194", "50%"},  {"Label195", "1"},
             {"Label196", "50%"}},
            {{11, 100}, {1, 100}, {4, 100}, {6, 50}, {8, 50}, {9, 50}, {10, 50}, {16, 100}},
            true,
            Strip({12, 7})},
        CommandCase{"TwentyThenBackEmptiesTheLastSlot",
                    Numbers(1, 20),
                    1,
                    {{"Label222", "19"}},
                    {},
                    false,
                    Strip(Reversed(1, 19))},
        CommandCase{"TwentyOneThenBackShowsTheDroppedSpinAgain",
                    Numbers(1, 21),
                    1,
                    {{"Label222", "20"}},
                    {},
                    false,
                    Strip(Reversed(1, 20))},
        CommandCase{"OneSpinThenBackIsTheZeroDisplay", {36}, 1, {{"Label222", "0"}}, {}, true, {}},
        CommandCase{"BackAtZeroChangesNothing", {}, 2, {{"Label222", "0"}}, {}, true, {}},
        CommandCase{"BackTakesAZeroOut",
                    {5, 0},
                    1,
                    {{"Label222", "1"},
                     {"Label79", "1"},
                     {"Label116", "100%"},
                     {"Label172", "1"},
                     {"Label173", "100%"},
                     {"Label160", "1"},
                     {"Label161", "100%"},
                     {"Label166", "1"},
                     {"Label167", "100%"},
                     {"Label215", "1"},
                     {"Label216", "100%"},
                     {"Label191", "1"},
                     {"Label192", "100%"},
                     {"Label154", "1"},
                     {"Label155", "100%"},
                     {"Label156", "1"},
                     {"Label157", "100%"}},
                    {{7, 100}, {1, 100}, {4, 100}, {15, 100}, {10, 100}, {11, 100}},
                    true,
                    Strip({5})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Win32Form, ResetAfterMoreThanTwentySpinsGivesTheStartUpDisplay) {
  FormDriver driver;
  for (int n = 1; n <= 22; ++n) driver.Spin({n});
  driver.Click("Button2");
  for (const Control& row : FormControls()) {
    const std::string_view name = row.name.view();
    if (IsCount(row)) {
      EXPECT_EQ(driver.Text(name), "0") << name;
    }
    if (IsShare(row)) {
      EXPECT_EQ(driver.Text(name), "0%") << name;
    }
    if (row.kind == ControlKind::ProgressBar) {
      EXPECT_EQ(driver.BarPosition(name), 0) << name;
    }
    if (IsStrip(row)) {
      EXPECT_EQ(driver.Text(name), "") << name;
    }
  }
  const Bitmap shot = driver.Capture();
  for (int k = 1; k <= 20; ++k) {
    EXPECT_EQ(BoxColor(shot, driver.Box("Label" + std::to_string(k))), BtnFace()) << k;
  }
  driver.Spin({9});
  EXPECT_EQ(driver.Text("Label222"), "1");
}

// The width of text in the font a control draws with, measured apart from the control.
int TextWidth(HWND control, std::wstring_view text) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return size.cx;
}

// Wine's prefix has none of the design's Japanese faces, like a Western Windows: the carried
// twins give every label showing its design text the design size. The notice's wording is ours:
// it only has to fit.
TEST(Win32Form, EveryDesignTextMeasuresItsDesignSize) {
  FormDriver driver;
  int checked = 0;
  for (const Control& row : FormControls()) {
    if (row.kind != ControlKind::Label) continue;
    SCOPED_TRACE(std::string(row.name.view()) + " \"" + std::string(row.text.view()) + '"');
    driver.Form().SetText(*FindControl(row.name.view()), row.text.view());
    const RECT box = driver.Box(row.name.view());
    EXPECT_EQ(box.bottom - box.top, row.height);
    if (row.name == "Label223") {
      EXPECT_LE(box.right - box.left, row.width);
      continue;
    }
    EXPECT_EQ(box.right - box.left, row.width);
    ++checked;
  }
  EXPECT_EQ(checked, 222);
}

// After 0, 0, 17 the count "2" of 0 and its share "66.67%" once ran into each other and read
// "266.67%": between a count and its share there must be at least a space's width.
TEST(Win32Form, NoCountRunsIntoItsShareAfterSpins) {
  FormDriver driver;
  driver.Spin({0, 0, 17, 1, 36, 25, 1});
  std::vector<std::pair<LabelNumber, LabelNumber>> pairs;
  for (int n = 0; n <= 36; ++n)
    pairs.emplace_back(kFirstNumberCountLabel + n, kFirstNumberShareLabel + n);
  for (const GroupDisplay& group : kGroupDisplays)
    pairs.emplace_back(group.countLabel, group.shareLabel);
  for (const auto& [count, share] : pairs) {
    const std::string countName = "Label" + std::to_string(count.value);
    const std::string shareName = "Label" + std::to_string(share.value);
    const int gap = driver.Box(shareName).left - driver.Box(countName).right;
    EXPECT_GE(gap, TextWidth(driver.Window(shareName), L" "))
        << '"' << driver.Text(countName) << "\" " << countName << ", \"" << driver.Text(shareName)
        << "\" " << shareName;
  }
}

TEST(Win32Form, ValueLabelsKeepTheirRightEdgeAsTheirTextGrows) {
  FormDriver driver;
  const struct {
    std::string_view label;
    std::string_view text;
    int right;
  } cases[] = {{"Label74", "1234", 64},
               {"Label111", "100%", 132},
               {"Label222", "100000", 824},
               {"Label171", "33.33%", 820},
               {"Label74", "0", 64}};
  for (const auto& c : cases) {
    driver.Form().SetText(*FindControl(c.label), c.text);
    driver.Pump();
    const RECT box = driver.Box(c.label);
    EXPECT_EQ(box.right, c.right) << c.label << " " << c.text;
    EXPECT_EQ(box.right - box.left, TextWidth(driver.Window(c.label), ToUtf16(c.text))) << c.label;
  }
}

// One row of the rendered strip: where the run of colour that ends the label lies.
struct ColorRun {
  int left;
  int right;
};

ColorRun RunEndingAt(const Bitmap& shot, int y, int right, TColor color) {
  int left = right;
  while (left > 0 && shot.Pixel(left - 1, y) == color) --left;
  return {left, right};
}

TEST(Win32Form, StripLabelIsABoxAsWideAsItsTextEndingAtTheSlotsEdge) {
  FormDriver driver;
  const HWND label = driver.Window("Label1");
  const int y = 272 + 26;  // bottom row of the strip font's box, below the digits

  Bitmap empty = driver.Capture();
  RECT box = driver.Box("Label1");
  EXPECT_EQ(box.right, 58);
  EXPECT_EQ(box.right - box.left, TextWidth(label, L" ")) << "an empty text measures as one space";
  EXPECT_EQ(empty.Pixel(57, y), BtnFace());

  driver.Spin({36});
  const Bitmap red = driver.Capture();
  const ColorRun redRun = RunEndingAt(red, y, 58, clRed);
  EXPECT_EQ(redRun.right - redRun.left, TextWidth(label, L"36"));
  EXPECT_NE(red.Pixel(58, y), clRed) << "the box ends at the slot's right edge";
  EXPECT_NE(red.Pixel(redRun.left - 1, y), clRed);

  driver.Spin({0});
  const Bitmap lime = driver.Capture();
  const ColorRun limeRun = RunEndingAt(lime, y, 58, clLime);
  EXPECT_EQ(limeRun.right - limeRun.left, TextWidth(label, L"0"));
  EXPECT_LT(limeRun.right - limeRun.left, redRun.right - redRun.left);
  EXPECT_EQ(RunEndingAt(lime, y, 90, clRed).right - RunEndingAt(lime, y, 90, clRed).left,
            TextWidth(driver.Window("Label2"), L"36"))
      << "36 moved on to slot 2, ending at its edge";
}

TEST(Win32Form, BarsAreDrawnInSegments) {
  FormDriver driver;
  driver.Spin({1, 2});  // red 50%
  ASSERT_EQ(driver.BarPosition("ProgressBar11"), 50);
  const Bitmap shot = driver.Capture();
  const RECT bar = driver.Box("ProgressBar11");
  const int y = (bar.top + bar.bottom) / 2;
  const TColor fill = static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHT));
  int runs = 0;
  int filled = 0;
  for (int x = bar.left; x < bar.right; ++x) {
    const bool on = shot.Pixel(x, y) == fill;
    filled += on ? 1 : 0;
    if (on && shot.Pixel(x - 1, y) != fill) ++runs;
  }
  EXPECT_GE(runs, 5) << "classic segmented blocks, not one smooth fill";
  EXPECT_GT(filled, 0);
  EXPECT_LT(filled, (bar.right - bar.left) * 6 / 10) << "about half the bar";
}

TEST(Win32Form, AQuickSecondPressOnANumberButtonIsNoClick) {
  FormDriver driver;
  const struct {
    std::string_view button;
    int spinsBefore;
    std::string_view countAfter;
  } cases[] = {{"ColorBtn18", 0, "1"}, {"Button1", 3, "1"}};  // Back still clicks twice
  for (const auto& c : cases) {
    driver.Click("Button2");
    driver.SpinMany(c.spinsBefore, 4);
    const HWND button = driver.Window(c.button);
    const LPARAM at = MAKELPARAM(10, 10);
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(button, WM_LBUTTONUP, 0, at);
    SendMessageW(button, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(button, WM_LBUTTONUP, 0, at);
    driver.Pump();
    EXPECT_EQ(driver.Text("Label222"), c.countAfter) << c.button;
  }
}

TEST(Win32Form, AnswersAMeasureRequestWithTheButtonsSize) {
  FormDriver driver;
  for (const std::string_view name : {"ColorBtn1", "ColorBtn18"}) {
    const Control& row = ControlAt(*FindControl(name));
    MEASUREITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(driver.Window(name)));
    EXPECT_EQ(
        SendMessageW(driver.Window(), WM_MEASUREITEM, item.CtlID, reinterpret_cast<LPARAM>(&item)),
        TRUE);
    EXPECT_EQ(item.itemWidth, static_cast<UINT>(row.width)) << name;
    EXPECT_EQ(item.itemHeight, static_cast<UINT>(row.height)) << name;
  }
}

// Sets the user's decimal separator for one test and puts the old one back.
class DecimalSeparator {
 public:
  explicit DecimalSeparator(const wchar_t* separator) {
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved_, 8);
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator);
  }
  DecimalSeparator(const DecimalSeparator&) = delete;
  DecimalSeparator& operator=(const DecimalSeparator&) = delete;
  ~DecimalSeparator() { SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved_); }

 private:
  wchar_t saved_[8] = {};
};

TEST(Win32Form, FollowsTheDecimalSeparatorWhenTheRegionalSettingsChange) {
  FormDriver driver;
  driver.Spin({2, 1});
  {
    const DecimalSeparator comma(L",");
    SendMessageW(driver.Window(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
    driver.Spin({4});
    EXPECT_EQ(driver.Text("Label157"), "33,33%");
    EXPECT_EQ(driver.BarPosition("ProgressBar11"), 33);
    EXPECT_EQ(driver.Text("Label159"), "66,67%");
  }
  SendMessageW(driver.Window(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
  driver.Click("Button1");
  driver.Spin({4});
  EXPECT_EQ(driver.Text("Label157"), "33.33%");
}

}  // namespace
}  // namespace vexilo::test
