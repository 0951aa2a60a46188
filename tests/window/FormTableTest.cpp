#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "window/FormTable.h"

namespace vexilo {
namespace {

// What the layout rules say about one control, worked out here from the rules and the
// hand-copied tables of the window's design, never from the table under test.
struct Expected {
  ControlKind kind;
  int left, top, width, height;
  std::string text;
  FontSpec font;
  TColor color;
  TAlignment alignment;
  int tab;  // -1: no tab position
  bool tabStop;
};

const std::set<int> kRed = {1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36};

TColor PocketColor(int n) {
  if (n == 0) return clLime;
  return kRed.count(n) ? clRed : clBlack;
}

const FontSpec kWindow{kFacePGothic, 21, clBlack, false};
const FontSpec kHeading{kFacePGothic, 21, clWindowText, true};
const FontSpec kSmallHeading{kFacePGothic, 19, clWindowText, true};
const FontSpec kSmallValue{kFacePGothic, 19, clBlack, false};
const FontSpec kTag{kFacePGothic, 21, clWhite, false};
const FontSpec kStrip{kFacePGothic, 27, clWhite, true};
const FontSpec kCommand{kFacePGothic, 21, clBlack, true};

std::string L(int n) {
  return "Label" + std::to_string(n);
}

Expected LeftLabel(int left, int top, int width, int height, std::string text, FontSpec font,
                   TColor color = clBtnFace) {
  return {ControlKind::Label, left, top,  width, height, std::move(text), font, color,
          taLeftJustify,      -1,   false};
}

Expected Display(int left, int top, int width, int height, std::string text, FontSpec font) {
  return {ControlKind::Label, left,           top, width, height, std::move(text), font,
          clBtnFace,          taRightJustify, -1,  false};
}

// Every control the window's design names, keyed by name.
std::map<std::string, Expected> ExpectedForm() {
  std::map<std::string, Expected> form;

  // Strip: right edges 58, 90, ... 474, then 505 .. 633 one pixel left, then 666.
  const std::vector<int> stripRight = {58,  90,  122, 154, 186, 218, 250, 282, 314, 346,
                                       378, 410, 442, 474, 505, 537, 569, 601, 633, 666};
  for (int k = 1; k <= 20; ++k) {
    form[L(k)] = Display(stripRight[k - 1] - 9, 272, 9, 27, "", kStrip);
  }

  struct CaptionRow {
    int n;
    const char* text;
    int left, top, width, height;
    FontSpec font;
  };
  const std::vector<CaptionRow> captions = {
      {21, "1st12", 72, 152, 55, 21, kHeading},
      {22, "2nd12", 264, 152, 59, 21, kHeading},
      {23, "3rd12", 456, 152, 55, 21, kHeading},
      {24, "1-18", 176, 200, 48, 21, kHeading},
      {25, "19-36", 448, 200, 60, 21, kHeading},
      {26, "1Column", 640, 104, 78, 19, kSmallHeading},
      {27, "2Column", 640, 56, 78, 19, kSmallHeading},
      {28, "3Column", 640, 8, 78, 19, kSmallHeading},
      {29, "EVEN", 696, 208, 54, 21, kHeading},
      {30, "ODD", 696, 256, 46, 21, kHeading},
      {31, "RED", 696, 304, 42, 21, kHeading},
      {32, "BLACK", 696, 352, 69, 21, kHeading},
      {33, "32,15,19,4,21,2,25,17,34", 8, 304, 232, 21, kHeading},
      {34, "6,27,13,36,11,30,8,23,10", 352, 304, 232, 21, kHeading},
      {35, "5,24,16,33,1,20,14,31,9", 8, 352, 220, 21, kHeading},
      {36, "22,18,29,7,28,12,35,3,26", 352, 352, 232, 21, kHeading},
      {148, "EVEN", 624, 576, 54, 21, kHeading},
      {149, "ODD", 624, 600, 46, 21, kHeading},
      {150, "RED", 624, 624, 42, 21, kHeading},
      {151, "BLACK", 624, 648, 69, 21, kHeading},
      {176, "Streets", 8, 576, 73, 21, kHeading},
      {221, "Spin Count", 720, 152, 100, 19, kSmallHeading},
  };
  for (const CaptionRow& row : captions) {
    form[L(row.n)] = LeftLabel(row.left, row.top, row.width, row.height, row.text, row.font);
  }

  // Statistics grid: number 0 alone at the top of column 0, then six numbers per column.
  for (int n = 0; n <= 36; ++n) {
    const int column = n == 0 ? 0 : (n - 1) / 6;
    const int top = n == 0 ? 400 : 424 + 24 * ((n - 1) % 6);
    int tagLeft = std::vector<int>{8, 136, 272, 408, 544, 680}[column];
    if (n >= 7 && n <= 9) tagLeft = 144;
    form[L(37 + n)] = LeftLabel(tagLeft, top, n < 10 ? 11 : 22, 21, std::to_string(n),
                                n == 0 ? kWindow : kTag, PocketColor(n));
    // Right edges: counts end at 64 + 136c, shares at 132 + 136c.
    form[L(74 + n)] = Display(64 + 136 * column - 40, top, 40, 21, "xxxx", kWindow);
    form[L(111 + n)] = Display(132 + 136 * column - 44, top, 44, 21, "xx.xx", kWindow);
  }

  for (int k = 1; k <= 12; ++k) {
    const int column = (k - 1) / 3;
    const int top = 600 + 24 * ((k - 1) % 3);
    const int first = 3 * k - 2;
    form[L(176 + k)] =
        LeftLabel(std::vector<int>{8, 136, 272, 408}[column], top, first < 10 ? 11 : 22, 21,
                  std::to_string(first), kTag, PocketColor(first));
    form[L(2 * k + 187)] = Display(24 + 136 * column, top, 40, 21, "xxxx", kWindow);
    form[L(2 * k + 188)] = Display(88 + 136 * column, top, 44, 21, "xx.xx", kWindow);
  }

  struct GroupRow {
    int count;
    int countLeft, countTop;
    int share;
    int shareLeft, shareTop;
    int bar;
    int barLeft, barTop, barWidth;
  };
  const std::vector<GroupRow> groups = {
      {160, 156, 152, 161, 212, 152, 1, 64, 176, 185},
      {162, 348, 152, 163, 404, 152, 2, 256, 176, 185},
      {164, 540, 152, 165, 596, 152, 3, 448, 176, 185},
      {166, 252, 200, 167, 308, 200, 4, 64, 224, 281},
      {168, 540, 200, 169, 596, 200, 5, 352, 224, 281},
      {170, 724, 104, 171, 780, 104, 6, 640, 128, 177},
      {172, 724, 56, 173, 780, 56, 7, 640, 80, 177},
      {174, 724, 8, 175, 780, 8, 8, 640, 32, 177},
      {213, 252, 304, 214, 308, 304, 13, 8, 328, 337},
      {217, 596, 304, 218, 652, 304, 14, 352, 328, 337},
      {215, 252, 352, 216, 308, 352, 15, 8, 376, 337},
      {219, 596, 352, 220, 652, 352, 16, 352, 376, 337},
  };
  const std::vector<GroupRow> block = {
      {152, 704, 576, 153, 768, 576, 9, 696, 232, 129},
      {154, 704, 600, 155, 768, 600, 10, 696, 280, 129},
      {156, 704, 624, 157, 768, 624, 11, 696, 328, 129},
      {158, 704, 648, 159, 768, 648, 12, 696, 376, 129},
  };
  const auto addGroup = [&form](const GroupRow& row, bool small) {
    form[L(row.count)] = Display(row.countLeft, row.countTop, small ? 36 : 40, small ? 19 : 21,
                                 "xxxx", small ? kSmallValue : kWindow);
    form[L(row.share)] = Display(row.shareLeft, row.shareTop, small ? 40 : 44, small ? 19 : 21,
                                 "xx.xx", small ? kSmallValue : kWindow);
    const int tab = row.bar <= 12 ? 36 + row.bar : 38 + row.bar;
    form["ProgressBar" + std::to_string(row.bar)] = {ControlKind::ProgressBar,
                                                     row.barLeft,
                                                     row.barTop,
                                                     row.barWidth,
                                                     17,
                                                     "",
                                                     kWindow,
                                                     clBtnFace,
                                                     taLeftJustify,
                                                     tab,
                                                     false};
  };
  for (const GroupRow& row : groups) addGroup(row, true);
  for (const GroupRow& row : block) addGroup(row, false);

  form[L(222)] = Display(784, 176, 40, 21, "xxxx", kWindow);
  form[L(223)] = LeftLabel(392, 680, 437, 21, "", kCommand);  // text: any one-line notice

  for (int n = 0; n <= 36; ++n) {
    const std::string name = "ColorBtn" + std::to_string(n + 1);
    FontSpec font{kFaceMincho, 21, clWhite, true};
    if (n == 0) font.color = clBlack;
    if (n == 1) font.face = kFaceGothic;
    const bool zero = n == 0;
    form[name] = {ControlKind::ColorBtn,
                  zero ? 16 : 64 + 48 * ((n - 1) / 3),
                  zero ? 8 : 104 - 48 * ((n - 1) % 3),
                  41,
                  zero ? 137 : 41,
                  std::to_string(n),
                  font,
                  PocketColor(n),
                  taCenter,
                  n,
                  true};
  }
  form["Button1"] = {ControlKind::Button, 8,        248, 75,  25, "Back", kCommand,
                     clBtnFace,           taCenter, 49,  true};
  form["Button2"] = {ControlKind::Button, 616,      248, 75,  25, "Reset", kCommand,
                     clBtnFace,           taCenter, 50,  true};
  form["DATASAVE"] = {ControlKind::Button, 288,      248, 121, 25, "DataSave", kCommand,
                      clBtnFace,           taCenter, 55,  true};
  return form;
}

TEST(FormTable, EveryControlFollowsTheLayoutRules) {
  const std::map<std::string, Expected> expected = ExpectedForm();
  const std::span<const Control> form = FormControls();
  ASSERT_EQ(form.size(), 279u);
  ASSERT_EQ(expected.size(), 279u);
  std::set<std::string> seen;
  for (const Control& control : form) {
    const std::string name(control.name.view());
    SCOPED_TRACE(name);
    EXPECT_TRUE(seen.insert(name).second) << "duplicate name";
    const auto it = expected.find(name);
    ASSERT_NE(it, expected.end()) << "a control the design does not have";
    const Expected& e = it->second;
    EXPECT_EQ(control.kind, e.kind);
    EXPECT_EQ(control.left, e.left);
    EXPECT_EQ(control.top, e.top);
    EXPECT_EQ(control.width, e.width);
    EXPECT_EQ(control.height, e.height);
    if (name != "Label223") {
      EXPECT_EQ(control.text.view(), e.text);
    }
    EXPECT_EQ(control.font, e.font);
    EXPECT_EQ(control.color, e.color);
    if (control.kind == ControlKind::Label) {
      EXPECT_EQ(control.alignment, e.alignment);
    }
    EXPECT_EQ(control.tabOrder, e.tab);
    EXPECT_EQ(control.tabStop, e.tabStop);
    EXPECT_FALSE(control.accessibleName.view().empty());
  }
}

// The places the rules above are worked out from, as the design states them in figures: a slip
// made alike in a rule here and in the table would show here.
TEST(FormTable, TheDesignsStatedPlaces) {
  const struct {
    const char* name;
    int left, top, width, height;
  } places[] = {
      {"ColorBtn1", 16, 8, 41, 137},     // 0 spans the three rows
      {"ColorBtn2", 64, 104, 41, 41},    // 1 at the bottom of the first column
      {"ColorBtn3", 64, 56, 41, 41},     // 2
      {"ColorBtn4", 64, 8, 41, 41},      // 3 at the top
      {"ColorBtn35", 592, 104, 41, 41},  // 34: the twelfth column
      {"ColorBtn37", 592, 8, 41, 41},    // 36
      {"Label37", 8, 400, 11, 21},       // tag of 0
      {"Label44", 144, 424, 11, 21},     // tag of 7: 144 for 7 to 9
      {"Label47", 136, 496, 22, 21},     // tag of 10: 136 for 10 to 12
      {"Label73", 680, 544, 22, 21},     // tag of 36
      {"Label74", 24, 400, 40, 21},      // count of 0 ends at 64
      {"Label111", 88, 400, 44, 21},     // share of 0 ends at 132
      {"Label110", 704, 544, 40, 21},    // count of 36 ends at 64 + 680
      {"Label147", 768, 544, 44, 21},    // share of 36 ends at 132 + 680
      {"Label177", 8, 600, 11, 21},      // street tag 1
      {"Label188", 408, 648, 22, 21},    // street tag 34
      {"Label189", 24, 600, 40, 21},     // count of street 1
      {"Label212", 496, 648, 44, 21},    // share of street 12
  };
  for (const auto& p : places) {
    const std::optional<ControlIndex> index = FindControl(p.name);
    ASSERT_TRUE(index) << p.name;
    const Control& c = ControlAt(*index);
    EXPECT_EQ((std::vector<int>{c.left, c.top, c.width, c.height}),
              (std::vector<int>{p.left, p.top, p.width, p.height}))
        << p.name;
  }
}

TEST(FormTable, RowsComeInTheAnnouncedOrder) {
  const std::span<const Control> form = FormControls();
  std::vector<std::string> names;
  for (int n = 1; n <= 223; ++n) names.push_back(L(n));
  for (int n = 1; n <= 37; ++n) names.push_back("ColorBtn" + std::to_string(n));
  for (int n = 1; n <= 16; ++n) names.push_back("ProgressBar" + std::to_string(n));
  names.insert(names.end(), {"Button1", "Button2", "DATASAVE"});
  ASSERT_EQ(form.size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(form[i].name.view(), names[i]);
}

TEST(FormTable, CommandsAndNumbers) {
  for (const Control& control : FormControls()) {
    SCOPED_TRACE(std::string(control.name.view()));
    switch (control.kind) {
      case ControlKind::ColorBtn:
        EXPECT_EQ(control.command, Command::Spin);
        EXPECT_EQ(std::to_string(control.number), std::string(control.text.view()));
        break;
      case ControlKind::Button: {
        const std::string name(control.name.view());
        const Command want = name == "Button1"   ? Command::Back
                             : name == "Button2" ? Command::Reset
                                                 : Command::DataSave;
        EXPECT_EQ(control.command, want);
        break;
      }
      default:
        EXPECT_EQ(control.command, Command::None);
    }
  }
}

TEST(FormTable, AccessibleNamesAreDistinctAndSayWhatIsShown) {
  std::set<std::string> names;
  for (const Control& control : FormControls()) {
    const std::string accessible(control.accessibleName.view());
    if (control.kind != ControlKind::Label || control.alignment == taRightJustify) {
      EXPECT_TRUE(names.insert(accessible).second) << accessible;
    }
  }
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"ColorBtn18", "17"},
      {"Label91", "count of 17"},
      {"Label128", "share of 17"},
      {"Label158", "count of black"},
      {"Label196", "share of street 4"},
      {"Label222", "spin count"},
      {"Label1", "last result 1"},
      {"ProgressBar11", "bar of red"},
      {"Label214", "share of sector 1"},
      {"Label218", "share of sector 2"},
  };
  for (const auto& [name, accessible] : cases) {
    EXPECT_EQ(ControlAt(*FindControl(name)).accessibleName.view(), accessible) << name;
  }
}

TEST(FormTable, DisplayMapSets) {
  // Counts and shares as the window's display map lists them.
  std::set<int> counts = {222};
  std::set<int> shares;
  for (int n = 74; n <= 110; ++n) counts.insert(n);
  for (int n = 111; n <= 147; ++n) shares.insert(n);
  for (int n = 152; n <= 175; ++n) (n % 2 == 0 ? counts : shares).insert(n);
  for (int n = 189; n <= 212; ++n) (n % 2 == 1 ? counts : shares).insert(n);
  for (int n = 213; n <= 220; ++n) (n % 2 == 1 ? counts : shares).insert(n);
  EXPECT_EQ(counts.size(), 1u + 37 + 28);
  EXPECT_EQ(shares.size(), 37u + 28);
  for (int n = 1; n <= 223; ++n) {
    const Control& label = ControlAt(*FindControl(L(n)));
    SCOPED_TRACE(L(n));
    const bool strip = n <= 20;
    if (counts.count(n)) {
      EXPECT_EQ(label.text.view(), "xxxx");
    }
    if (shares.count(n)) {
      EXPECT_EQ(label.text.view(), "xx.xx");
    }
    const bool display = strip || counts.count(n) || shares.count(n);
    EXPECT_EQ(label.alignment, display ? taRightJustify : taLeftJustify);
    EXPECT_EQ(label.display, display);
    if (!display) {
      EXPECT_NE(label.text.view(), "xxxx");
      EXPECT_NE(label.text.view(), "xx.xx");
      EXPECT_FALSE(label.text.view().empty());
    }
  }
}

TEST(FormTable, NoticeIsOnePlainLine) {
  const Control& notice = ControlAt(*FindControl("Label223"));
  const std::string_view text = notice.text.view();
  EXPECT_FALSE(text.empty());
  EXPECT_EQ(text.find('\n'), std::string_view::npos);
  EXPECT_EQ(text.find('&'), std::string_view::npos);  // would turn into an accelerator
  for (const char ch : text) EXPECT_TRUE(ch >= 0x20 && ch < 0x7F) << "not plain ASCII";
}

TEST(FormTable, LookupByName) {
  const std::span<const Control> form = FormControls();
  for (int i = 0; i < static_cast<int>(form.size()); ++i) {
    EXPECT_EQ(FindControl(form[i].name.view()), ControlIndex{i});
  }
  for (const char* missing : {"", "Label", "Label0", "Label224", "Label01", "label1", "Label1 ",
                              "ColorBtn0", "ColorBtn38", "ProgressBar17", "Button3", "Form1",
                              "datasaving", "DataSave", "Label99999999999"}) {
    EXPECT_EQ(FindControl(missing), std::nullopt) << '"' << missing << '"';
  }
  EXPECT_EQ(ControlAt(ControlNamed("Label", 111)).name.view(), "Label111");
  EXPECT_EQ(ControlAt(ControlNamed("ProgressBar", 16)).name.view(), "ProgressBar16");
  EXPECT_EQ(ControlAt(ControlNamed("ColorBtn", 1)).name.view(), "ColorBtn1");
  EXPECT_THROW(ControlNamed("Label", 0), std::out_of_range);
  EXPECT_THROW(ControlNamed("Label", 224), std::out_of_range);
  EXPECT_THROW(ControlNamed("Label", -1), std::out_of_range);
  EXPECT_THROW(ControlNamed("ProgressBar", 17), std::out_of_range);
  EXPECT_THROW(ControlNamed("Lable", 1), std::out_of_range);
  // ControlOf goes by the table's order; it must land on the row of that name.
  for (int n = 1; n <= 223; ++n) EXPECT_EQ(ControlOf(LabelNumber{n}), ControlNamed("Label", n));
  for (int n = 1; n <= 16; ++n) EXPECT_EQ(ControlOf(BarNumber{n}), ControlNamed("ProgressBar", n));
  for (int n : {-1, 0, 224}) EXPECT_THROW(ControlOf(LabelNumber{n}), std::out_of_range);
  for (int n : {0, 17}) EXPECT_THROW(ControlOf(BarNumber{n}), std::out_of_range);
}

}  // namespace
}  // namespace vexilo
