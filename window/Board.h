#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "ControlId.h"
#include "DisplayMap.h"
#include "Shell.h"
#include "View.h"
#include "engine/SpinTally.h"

namespace vexilo {

// The window's commands, toolkit-neutral: each handler changes the tally and writes the
// displays through the View, in the order the window has always written them.
class Board {
 public:
  Board(View& view, Shell& shell);
  ~Board();

  // The creation handler's data and display steps (the front end centres the window and
  // makes it topmost): clears the history and writes the zero display.
  void FormCreate();
  // ColorBtn1Click .. ColorBtn37Click: a spin of number (0..36). When the history is full the
  // press changes nothing and the user is told to save and reset.
  void SpinClick(int number);
  void BackClick();      // Button1Click
  void ResetClick();     // Button2Click
  void DataSaveClick();  // DATASAVEClick
  // A click on any control: the command its table row names, nothing for a control without.
  void Click(ControlIndex control);

  const SpinTally& Tally() const { return *tally_; }

 private:
  // Displays, addressed by control number: Label<label>, ProgressBar<bar>.
  void WriteText(LabelNumber label, std::string_view text);
  void WriteCount(LabelNumber label, int count);
  void WriteShare(LabelNumber label, ShareFamily family, int selector);
  void WriteBar(BarNumber bar, ShareFamily family, int selector);
  // Formats the share into text_ (no "%"), with the separator read for this command.
  void FormatShare(ShareFamily family, int selector);

  void RefreshAfterSpin(int number);
  void RefreshAll();
  void WriteStripTexts();
  void WriteStripColors();
  void WriteStripSlot(int slot);

  // Pieces of the zero display, in the orders the commands use them.
  void ZeroPairs(const LabelPairs& run);
  void ZeroNumberCounts();
  void ZeroNumberShares();
  void ZeroBars();

  View& view_;
  Shell& shell_;
  std::unique_ptr<SpinTally> tally_;
  std::string lastSaveName_;  // UTF-8, as the save dialog gave it
  std::string separator_;
  std::string text_;  // scratch for share texts
};

}  // namespace vexilo
