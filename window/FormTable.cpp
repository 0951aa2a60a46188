#include "window/FormTable.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

#include "engine/PocketTable.h"
#include "engine/SpinTally.h"
#include "window/DisplayMap.h"

namespace vexilo {
namespace {

// The push buttons, in the table's order. A row here is all a new push button needs.
struct CommandButton {
  std::string_view name;
  std::string_view caption;
  int left;
  int width;
  int tabOrder;
  Command command;
};

constexpr std::array<CommandButton, 3> kCommandButtons = {{
    {"Button1", "Back", 8, 75, 49, Command::Back},
    {"Button2", "Reset", 616, 75, 50, Command::Reset},
    {"DATASAVE", "DataSave", 288, 121, 55, Command::DataSave},
}};

// The table's layout: labels first, then the number buttons, the bars and the push buttons.
constexpr int kLabelCount = 223;
constexpr int kColorBtnCount = 37;
constexpr int kFirstColorBtn = kLabelCount;
constexpr int kFirstBar = kFirstColorBtn + kColorBtnCount;
constexpr int kFirstCommandButton = kFirstBar + kBars;
constexpr int kControlCount = kFirstCommandButton + static_cast<int>(kCommandButtons.size());

using Name = FixedString<16>;
using Accessible = FixedString<32>;

constexpr Accessible Join(std::string_view head, std::string_view tail) {
  Accessible joined{head};
  for (const char ch : tail) joined.chars[joined.length++] = ch;
  return joined;
}

constexpr Accessible Join(std::string_view head, int number) {
  return Accessible{head, number};
}

// A pocket's buttons and tags show the colour its strip slot shows.
constexpr TColor PocketColor(int n) {
  return *RecentSlotColour(PocketOf(n).color);
}

constexpr int DigitWidth(int n) {
  return n < 10 ? 11 : 22;
}

// The statistics grid: six columns, number 0 alone on the first row of column 0.
constexpr int GridColumn(int n) {
  return n == 0 ? 0 : (n - 1) / 6;
}
constexpr int GridTop(int n) {
  return n == 0 ? 400 : 424 + 24 * ((n - 1) % 6);
}
constexpr int TagLeft(int n) {
  constexpr std::array<int, 6> lefts = {8, 136, 272, 408, 544, 680};
  const int column = GridColumn(n);
  if (column == 1 && n <= 9) return 144;  // one-digit tags of column 1 sit further right
  return lefts[column];
}
constexpr int StreetColumn(int k) {
  return (k - 1) / 3;
}
constexpr int StreetTop(int k) {
  return 600 + 24 * ((k - 1) % 3);
}
constexpr int CountLeft(int column) {
  return 24 + 136 * column;
}
constexpr int ShareLeft(int column) {
  return 88 + 136 * column;
}

// A static label keeps its left edge; a display, which the commands write, its right edge.
enum class LabelRole : bool { Static, Display };

constexpr Control MakeLabel(LabelNumber number, int left, int top, int width, int height,
                            std::string_view text, FontKind font, TColor color, LabelRole role,
                            Accessible accessible) {
  const bool display = role == LabelRole::Display;
  return Control{
      .name = Name{"Label", number.value},
      .kind = ControlKind::Label,
      .left = static_cast<std::int16_t>(left),
      .top = static_cast<std::int16_t>(top),
      .width = static_cast<std::int16_t>(width),
      .height = static_cast<std::int16_t>(height),
      .text = text,
      .font = FontOf(font),
      .color = color,
      .alignment = display ? taRightJustify : taLeftJustify,
      .display = display,
      .tabOrder = -1,
      .tabStop = false,
      .command = Command::None,
      .number = -1,
      .accessibleName = accessible,
  };
}

constexpr Control Caption(LabelNumber number, int left, int top, int width, int height,
                          std::string_view text, FontKind font) {
  return MakeLabel(number, left, top, width, height, text, font, kFormColor, LabelRole::Static,
                   Join("caption ", text));
}

constexpr Control CountDisplay(LabelNumber number, int left, int top, FontKind font, int width,
                               int height, Accessible accessible) {
  return MakeLabel(number, left, top, width, height, "xxxx", font, kFormColor, LabelRole::Display,
                   accessible);
}

constexpr Control ShareDisplay(LabelNumber number, int left, int top, FontKind font, int width,
                               int height, Accessible accessible) {
  return MakeLabel(number, left, top, width, height, "xx.xx", font, kFormColor, LabelRole::Display,
                   accessible);
}

using Form = std::array<Control, kControlCount>;

constexpr void Put(Form& form, const Control& control, int index) {
  form[index] = control;
}
constexpr void PutLabel(Form& form, const Control& label) {
  int number = 0;
  for (const char ch : label.name.view().substr(5)) number = number * 10 + (ch - '0');
  form[number - 1] = label;
}

constexpr void AddStrip(Form& form) {
  for (int k = 1; k <= kStripSlots; ++k) {
    const int left = 49 + 32 * (k - 1) - (k >= 15 && k <= 19 ? 1 : 0);
    PutLabel(form, MakeLabel(kFirstStripLabel + (k - 1), left, 272, 9, 27, "", FontKind::Strip,
                             kFormColor, LabelRole::Display, Join("last result ", k)));
  }
}

constexpr void AddStaticCaptions(Form& form) {
  struct Row {
    int number;
    std::string_view text;
    int left;
    int top;
    int width;
    FontKind font;
  };
  constexpr std::array<Row, 22> rows = {{
      {21, "1st12", 72, 152, 55, FontKind::Heading},
      {22, "2nd12", 264, 152, 59, FontKind::Heading},
      {23, "3rd12", 456, 152, 55, FontKind::Heading},
      {24, "1-18", 176, 200, 48, FontKind::Heading},
      {25, "19-36", 448, 200, 60, FontKind::Heading},
      {26, "1Column", 640, 104, 78, FontKind::SmallHeading},
      {27, "2Column", 640, 56, 78, FontKind::SmallHeading},
      {28, "3Column", 640, 8, 78, FontKind::SmallHeading},
      {29, "EVEN", 696, 208, 54, FontKind::Heading},
      {30, "ODD", 696, 256, 46, FontKind::Heading},
      {31, "RED", 696, 304, 42, FontKind::Heading},
      {32, "BLACK", 696, 352, 69, FontKind::Heading},
      {33, kSectorCaptions[0], 8, 304, 232, FontKind::Heading},
      {34, kSectorCaptions[1], 352, 304, 232, FontKind::Heading},
      {35, kSectorCaptions[2], 8, 352, 220, FontKind::Heading},
      {36, kSectorCaptions[3], 352, 352, 232, FontKind::Heading},
      {148, "EVEN", 624, 576, 54, FontKind::Heading},
      {149, "ODD", 624, 600, 46, FontKind::Heading},
      {150, "RED", 624, 624, 42, FontKind::Heading},
      {151, "BLACK", 624, 648, 69, FontKind::Heading},
      {176, "Streets", 8, 576, 73, FontKind::Heading},
      {221, "Spin Count", 720, 152, 100, FontKind::SmallHeading},
  }};
  for (const Row& row : rows) {
    const int height = row.font == FontKind::SmallHeading ? 19 : 21;
    PutLabel(form, Caption(LabelNumber{row.number}, row.left, row.top, row.width, height, row.text,
                           row.font));
  }
}

constexpr void AddNumberGrid(Form& form) {
  for (int n = 0; n < kPockets; ++n) {
    const int column = GridColumn(n);
    const int top = GridTop(n);
    const FontKind tagFont = n == 0 ? FontKind::Window : FontKind::Tag;  // black on lime for zero
    PutLabel(form,
             MakeLabel(LabelNumber{37 + n}, TagLeft(n), top, DigitWidth(n), 21, Name{"", n}.view(),
                       tagFont, PocketColor(n), LabelRole::Static, Join("tag of ", n)));
    PutLabel(form, CountDisplay(kFirstNumberCountLabel + n, CountLeft(column), top,
                                FontKind::Window, 40, 21, Join("count of ", n)));
    PutLabel(form, ShareDisplay(kFirstNumberShareLabel + n, ShareLeft(column), top,
                                FontKind::Window, 44, 21, Join("share of ", n)));
  }
}

constexpr void AddStreets(Form& form) {
  constexpr std::array<int, 4> tagLefts = {8, 136, 272, 408};
  for (int k = 1; k <= kStreets; ++k) {
    const int first = 3 * k - 2;
    const int column = StreetColumn(k);
    const int top = StreetTop(k);
    PutLabel(form, MakeLabel(LabelNumber{176 + k}, tagLefts[column], top, DigitWidth(first), 21,
                             Name{"", first}.view(), FontKind::Tag, PocketColor(first),
                             LabelRole::Static, Join("tag of street ", k)));
  }
  for (const GroupDisplay& group : kGroupDisplays) {
    if (group.family != ShareFamily::Street) continue;
    const int column = StreetColumn(group.selector);
    const int top = StreetTop(group.selector);
    PutLabel(form, CountDisplay(group.countLabel, CountLeft(column), top, FontKind::Window, 40, 21,
                                Join("count of ", group.name)));
    PutLabel(form, ShareDisplay(group.shareLabel, ShareLeft(column), top, FontKind::Window, 44, 21,
                                Join("share of ", group.name)));
  }
}

// The groups with a bar: where their count and share labels and their bar stand.
struct GroupPlace {
  int countLabel;
  int countLeft;
  int top;
  int shareLeft;
  int barLeft;
  int barTop;
  int barWidth;
};

constexpr std::array<GroupPlace, 16> kGroupPlaces = {{
    {160, 156, 152, 212, 64, 176, 185},   // dozen 1
    {162, 348, 152, 404, 256, 176, 185},  // dozen 2
    {164, 540, 152, 596, 448, 176, 185},  // dozen 3
    {166, 252, 200, 308, 64, 224, 281},   // 1-18
    {168, 540, 200, 596, 352, 224, 281},  // 19-36
    {170, 724, 104, 780, 640, 128, 177},  // column 1
    {172, 724, 56, 780, 640, 80, 177},    // column 2
    {174, 724, 8, 780, 640, 32, 177},     // column 3
    {213, 252, 304, 308, 8, 328, 337},    // sector 1
    {217, 596, 304, 652, 352, 328, 337},  // sector 2
    {215, 252, 352, 308, 8, 376, 337},    // sector 3
    {219, 596, 352, 652, 352, 376, 337},  // sector 4
    {152, 704, 576, 768, 696, 232, 129},  // even
    {154, 704, 600, 768, 696, 280, 129},  // odd
    {156, 704, 624, 768, 696, 328, 129},  // red
    {158, 704, 648, 768, 696, 376, 129},  // black
}};

constexpr const GroupDisplay& GroupOfCountLabel(LabelNumber label) {
  for (const GroupDisplay& group : kGroupDisplays) {
    if (group.countLabel == label) return group;
  }
  return kGroupDisplays[0];
}

// Position in the tab order of bar b: the bars of the upper half before Back and Reset, the
// sector bars between Reset and DataSave.
constexpr int BarTabOrder(int bar) {
  return bar <= 12 ? 36 + bar : 38 + bar;
}

constexpr void AddGroups(Form& form) {
  for (const GroupPlace& place : kGroupPlaces) {
    const GroupDisplay& group = GroupOfCountLabel(LabelNumber{place.countLabel});
    // The block of even, odd, red and black at the bottom uses the window font.
    const bool block = place.countLabel < 160;
    const FontKind font = block ? FontKind::Window : FontKind::SmallValue;
    const int height = block ? 21 : 19;
    PutLabel(form, CountDisplay(group.countLabel, place.countLeft, place.top, font, block ? 40 : 36,
                                height, Join("count of ", group.name)));
    PutLabel(form, ShareDisplay(group.shareLabel, place.shareLeft, place.top, font, block ? 44 : 40,
                                height, Join("share of ", group.name)));
    Put(form,
        Control{
            .name = Name{"ProgressBar", group.bar.value},
            .kind = ControlKind::ProgressBar,
            .left = static_cast<std::int16_t>(place.barLeft),
            .top = static_cast<std::int16_t>(place.barTop),
            .width = static_cast<std::int16_t>(place.barWidth),
            .height = 17,
            .text = {},
            .font = FontOf(kFormFont),
            .color = kFormColor,
            .alignment = taLeftJustify,
            .display = false,
            .tabOrder = static_cast<std::int8_t>(BarTabOrder(group.bar.value)),
            .tabStop = false,
            .command = Command::None,
            .number = -1,
            .accessibleName = Join("bar of ", group.name),
        },
        kFirstBar + group.bar.value - 1);
  }
}

constexpr void AddSpinCountAndNotice(Form& form) {
  PutLabel(form, CountDisplay(kSpinCountLabel, 784, 176, FontKind::Window, 40, 21,
                              Accessible{"spin count"}));
  PutLabel(form, MakeLabel(LabelNumber{223}, 392, 680, 437, 21,
                           "Copyright (c) 2026 The Vexilo developers", FontKind::Command,
                           kFormColor, LabelRole::Static, Accessible{"notice"}));
}

constexpr FontSpec NumberButtonFont(int n) {
  FontSpec font = FontOf(FontKind::NumberButton);
  if (n == 0) font.color = clBlack;  // black on lime
  if (n == 1) font.face = kFaceGothic;
  return font;
}

constexpr void AddNumberButtons(Form& form) {
  for (int n = 0; n < kPockets; ++n) {
    const int k = n + 1;
    const bool zero = n == 0;
    Put(form,
        Control{
            .name = Name{"ColorBtn", k},
            .kind = ControlKind::ColorBtn,
            .left = static_cast<std::int16_t>(zero ? 16 : 64 + 48 * ((n - 1) / 3)),
            .top = static_cast<std::int16_t>(zero ? 8 : 104 - 48 * ((n - 1) % 3)),
            .width = 41,
            .height = static_cast<std::int16_t>(zero ? 137 : 41),
            .text = Name{"", n}.view(),
            .font = NumberButtonFont(n),
            .color = PocketColor(n),
            .alignment = taCenter,
            .display = false,
            .tabOrder = static_cast<std::int8_t>(n),
            .tabStop = true,
            .command = Command::Spin,
            .number = static_cast<std::int8_t>(n),
            .accessibleName = Join("", n),
        },
        kFirstColorBtn + n);
  }
}

constexpr void AddCommandButtons(Form& form) {
  int index = kFirstCommandButton;
  for (const CommandButton& row : kCommandButtons) {
    Put(form,
        Control{
            .name = row.name,
            .kind = ControlKind::Button,
            .left = static_cast<std::int16_t>(row.left),
            .top = 248,
            .width = static_cast<std::int16_t>(row.width),
            .height = 25,
            .text = row.caption,
            .font = FontOf(FontKind::Command),
            .color = kFormColor,
            .alignment = taCenter,
            .display = false,
            .tabOrder = static_cast<std::int8_t>(row.tabOrder),
            .tabStop = true,
            .command = row.command,
            .number = -1,
            .accessibleName = row.caption,
        },
        index++);
  }
}

constexpr Form MakeForm() {
  Form form{};
  AddStrip(form);
  AddStaticCaptions(form);
  AddNumberGrid(form);
  AddStreets(form);
  AddGroups(form);
  AddSpinCountAndNotice(form);
  AddNumberButtons(form);
  AddCommandButtons(form);
  return form;
}

constexpr Form kForm = MakeForm();

// Every row was filled (an unfilled row has no name).
constexpr bool EveryRowFilled() {
  for (const Control& control : kForm) {
    if (control.name.length == 0 || control.width == 0) return false;
  }
  return true;
}
static_assert(EveryRowFilled());

constexpr int ParseNumber(std::string_view digits, int last) {
  if (digits.empty() || digits.size() > 3 || digits[0] == '0') return -1;
  int number = 0;
  for (const char ch : digits) {
    if (ch < '0' || ch > '9') return -1;
    number = number * 10 + (ch - '0');
  }
  return number <= last ? number : -1;
}

// Where a name stands in the table, from its shape alone; FindControl confirms the row.
constexpr int IndexOfName(std::string_view name) {
  struct Family {
    std::string_view prefix;
    int first;
    int count;
  };
  constexpr std::array<Family, 3> families = {{
      {"Label", 0, kLabelCount},
      {"ColorBtn", kFirstColorBtn, kColorBtnCount},
      {"ProgressBar", kFirstBar, kBars},
  }};
  for (const Family& family : families) {
    if (!name.starts_with(family.prefix)) continue;
    const int number = ParseNumber(name.substr(family.prefix.size()), family.count);
    return number > 0 ? family.first + number - 1 : -1;
  }
  const auto button = std::ranges::find(kCommandButtons, name, &CommandButton::name);
  if (button == kCommandButtons.end()) return -1;
  return kFirstCommandButton + static_cast<int>(button - kCommandButtons.begin());
}

constexpr int Find(std::string_view name) {
  const int index = IndexOfName(name);
  return index >= 0 && kForm[index].name == name ? index : -1;
}

constexpr bool EveryNameFound() {
  for (int i = 0; i < kControlCount; ++i) {
    if (Find(kForm[i].name.view()) != i) return false;
  }
  return true;
}
static_assert(EveryNameFound(), "the table's order and the name lookup disagree");

}  // namespace

std::span<const Control> FormControls() {
  return kForm;
}

const Control& ControlAt(ControlIndex index) {
  return kForm.at(static_cast<std::size_t>(index.value));
}

std::optional<ControlIndex> FindControl(std::string_view name) {
  const int index = Find(name);
  if (index < 0) return std::nullopt;
  return ControlIndex{index};
}

ControlIndex ControlNamed(std::string_view prefix, int number) {
  // Built on the stack: the commands look up about a hundred names per press.
  int index = -1;
  if (prefix.size() <= 12 && number >= 0 && number <= 999) {
    index = Find(FixedString<16>{prefix, number}.view());
  }
  if (index < 0) {
    throw std::out_of_range("the window has no control " + std::string(prefix) +
                            std::to_string(number));
  }
  return ControlIndex{index};
}

// The table's order puts Label<n> at row n - 1 and ProgressBar<n> at kFirstBar + n - 1 (the
// static_assert above checks every row), so the commands' hundred look-ups a press need no name.
ControlIndex ControlOf(LabelNumber label) {
  if (label.value < 1 || label.value > kLabelCount) {
    throw std::out_of_range("the window has no control Label" + std::to_string(label.value));
  }
  return ControlIndex{label.value - 1};
}

ControlIndex ControlOf(BarNumber bar) {
  if (bar.value < 1 || bar.value > kBars) {
    throw std::out_of_range("the window has no control ProgressBar" + std::to_string(bar.value));
  }
  return ControlIndex{kFirstBar + bar.value - 1};
}

}  // namespace vexilo
