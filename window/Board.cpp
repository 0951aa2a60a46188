#include "window/Board.h"

#include <charconv>
#include <exception>
#include <optional>
#include <stdexcept>

#include "engine/Percent.h"
#include "export/SafeFile.h"
#include "export/SpinLog.h"
#include "window/DisplayMap.h"
#include "window/FormTable.h"

namespace vexilo {
namespace {

constexpr std::string_view kZeroCount = "0";
constexpr std::string_view kZeroShare = "0%";

int Label(int number) {
  return ControlIndex("Label", number);
}
int Bar(int number) {
  return ControlIndex("ProgressBar", number);
}

}  // namespace

Board::Board(View& view, Shell& shell)
    : view_(view), shell_(shell), tally_(std::make_unique<SpinTally>()) {
  text_.reserve(16);
}

Board::~Board() = default;

void Board::FormCreate() {
  tally_->ResetTally();  // the history cleared; every count is still 0 at creation
  WriteText(kSpinCountLabel, kZeroCount);
  ZeroNumberCounts();
  ZeroNumberShares();
  ZeroSectors();
  ZeroStreets();
  ZeroBlock();
  ZeroBars();
}

void Board::SpinClick(int number) {
  if (number < 0 || number >= kPockets)
    throw std::out_of_range("no pocket " + std::to_string(number));
  if (!tally_->Spin(number)) {
    shell_.ShowMessage(
        mkWarning,
        "The spin history is full: it holds " + std::to_string(tally_->Capacity()) +
            " spins, the most it can keep. This spin was not recorded.\n\nSave the spin log "
            "with DataSave, then press Reset to start a new record.");
    return;
  }
  separator_ = shell_.DecimalSeparator();
  RefreshAfterSpin(number);
}

void Board::BackClick() {
  if (tally_->SpinCount() > 0) {
    tally_->TakeBack();
    WriteCount(kSpinCountLabel, tally_->SpinCount());
    if (tally_->SpinCount() > 0) {
      separator_ = shell_.DecimalSeparator();
      RefreshAll();
    } else {
      ZeroSectors();
      ZeroNumberCounts();
      ZeroNumberShares();
      ZeroStreets();
      ZeroBlock();
      ZeroBars();
      for (int slot = 1; slot <= kStripSlots; ++slot) WriteText(kFirstStripLabel + slot - 1, "");
    }
  }
  WriteStripColours();  // on every press, also with nothing to take back
}

void Board::ResetClick() {
  tally_->ResetTally();
  ZeroSectors();
  WriteText(kSpinCountLabel, kZeroCount);
  ZeroNumberCounts();
  ZeroNumberShares();
  ZeroStreets();
  ZeroBlock();
  ZeroBars();
  for (int slot = 1; slot <= kStripSlots; ++slot) {
    const int label = Label(kFirstStripLabel + slot - 1);
    view_.SetText(label, "");
    view_.SetColor(label, clBtnFace);
  }
}

void Board::DataSaveClick() {
  if (tally_->SpinCount() <= 0) return;
  const std::optional<std::string> chosen = shell_.AskSaveFileName(lastSaveName_);
  if (!chosen) return;
  lastSaveName_ = *chosen;
  std::string failure;
  try {
    std::string log;
    FormatSpinLog(*tally_, log);
    SaveResult result = WriteFileAtomically(*chosen, log);
    if (result.Saved()) return;
    failure = std::move(result.message);
  } catch (const std::exception& error) {  // no memory for the log
    failure = error.what();
  }
  shell_.ShowMessage(mkError, "The spin log could not be saved.\n\n" + failure);
}

// Steps 3 to 13 of a press: the counts that changed, every share and bar, the strip.
void Board::RefreshAfterSpin(int number) {
  WriteCount(kSpinCountLabel, tally_->SpinCount());
  WriteCount(kFirstNumberCountLabel + number, tally_->NumberCount(number));
  for (int i = 0; i < kPockets; ++i) WriteShare(kFirstNumberShareLabel + i, sfNumber, i);
  for (const ShareFamily family : kRefreshFamilies) {
    const GroupRun run = GroupsOf(family);
    const int selector = GroupSelector(number, family);
    for (int g = run.first; g < run.first + run.count; ++g) {
      const GroupDisplay& group = kGroupDisplays[g];
      if (group.selector == selector) WriteCount(group.countLabel, tally_->Count(family, selector));
    }
    for (int g = run.first; g < run.first + run.count; ++g) {
      WriteShare(kGroupDisplays[g].shareLabel, family, kGroupDisplays[g].selector);
    }
    for (int g = run.first; g < run.first + run.count; ++g) {
      if (kGroupDisplays[g].bar > 0)
        WriteBar(kGroupDisplays[g].bar, family, kGroupDisplays[g].selector);
    }
  }
  for (int slot = 1; slot <= kStripSlots; ++slot) WriteStripSlot(slot);
}

// Back's full refresh: bars, strip texts, then every count and share family by family.
void Board::RefreshAll() {
  for (int bar = 1; bar <= kBars; ++bar) {
    const GroupDisplay& group = GroupOfBar(bar);
    WriteBar(bar, group.family, group.selector);
  }
  WriteStripTexts();
  for (int i = 0; i < kPockets; ++i) {
    WriteCount(kFirstNumberCountLabel + i, tally_->NumberCount(i));
    WriteShare(kFirstNumberShareLabel + i, sfNumber, i);
  }
  for (const ShareFamily family : kRefreshFamilies) {
    const GroupRun run = GroupsOf(family);
    const auto count = [&](const GroupDisplay& group) {
      WriteCount(group.countLabel, tally_->Count(family, group.selector));
    };
    const auto share = [&](const GroupDisplay& group) {
      WriteShare(group.shareLabel, family, group.selector);
    };
    if (family == sfStreet) {  // streets pair each count with its share
      for (int g = run.first; g < run.first + run.count; ++g) {
        count(kGroupDisplays[g]);
        share(kGroupDisplays[g]);
      }
      continue;
    }
    for (int g = run.first; g < run.first + run.count; ++g) count(kGroupDisplays[g]);
    for (int g = run.first; g < run.first + run.count; ++g) share(kGroupDisplays[g]);
  }
}

void Board::WriteStripTexts() {
  for (int slot = 1; slot <= kStripSlots; ++slot) {
    WriteText(kFirstStripLabel + slot - 1, tally_->SlotText(slot));
  }
}

void Board::WriteStripColours() {
  for (int slot = 1; slot <= kStripSlots; ++slot) {
    // A code no slot can hold leaves the label's colour as it was.
    if (const std::optional<TColor> colour = RecentSlotColour(tally_->SlotColour(slot))) {
      view_.SetColor(Label(kFirstStripLabel + slot - 1), *colour);
    }
  }
}

void Board::WriteStripSlot(int slot) {
  const int label = Label(kFirstStripLabel + slot - 1);
  view_.SetText(label, tally_->SlotText(slot));
  if (const std::optional<TColor> colour = RecentSlotColour(tally_->SlotColour(slot))) {
    view_.SetColor(label, *colour);
  }
}

void Board::WriteText(int label, std::string_view text) {
  view_.SetText(Label(label), text);
}

void Board::WriteCount(int label, int count) {
  char digits[12];
  const auto result = std::to_chars(digits, digits + sizeof digits, count);
  WriteText(label, std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

void Board::FormatShare(ShareFamily family, int selector) {
  text_.assign(kZeroCount);  // what a share without spins would read
  FormatPercent(*tally_, family, selector, text_, separator_);
}

void Board::WriteShare(int label, ShareFamily family, int selector) {
  FormatShare(family, selector);
  text_ += '%';
  WriteText(label, text_);
}

void Board::WriteBar(int bar, ShareFamily family, int selector) {
  FormatShare(family, selector);
  view_.SetPosition(Bar(bar), BarValue(text_, separator_));
}

void Board::ZeroSectors() {
  for (int k = 1; k <= kSectors; ++k) {
    WriteText(2 * k + 211, kZeroCount);
    WriteText(2 * k + 212, kZeroShare);
  }
}

void Board::ZeroNumberCounts() {
  for (int n = 0; n < kPockets; ++n) WriteText(kFirstNumberCountLabel + n, kZeroCount);
}

void Board::ZeroNumberShares() {
  for (int n = 0; n < kPockets; ++n) WriteText(kFirstNumberShareLabel + n, kZeroShare);
}

void Board::ZeroStreets() {
  for (int k = 1; k <= kStreets; ++k) {
    WriteText(2 * k + 187, kZeroCount);
    WriteText(2 * k + 188, kZeroShare);
  }
}

// Even, odd, red, black, the dozens, the halves and the columns: Label152..Label175.
void Board::ZeroBlock() {
  for (int i = 0; i < 12; ++i) {
    WriteText(152 + 2 * i, kZeroCount);
    WriteText(153 + 2 * i, kZeroShare);
  }
}

void Board::ZeroBars() {
  for (int bar = 1; bar <= kBars; ++bar) view_.SetPosition(Bar(bar), 0);
}

}  // namespace vexilo
