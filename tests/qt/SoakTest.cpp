#include <gtest/gtest.h>
#include <malloc.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPixmapCache>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <filesystem>
#include <optional>
#include <random>
#include <string>

#include "FormDriver.h"
#include "ModalDriver.h"
#include "engine/ShareFamily.h"
#include "qt/QtShell.h"

#ifndef VEXILO_SOAK_COMMANDS
#define VEXILO_SOAK_COMMANDS 100000
#endif

namespace vexilo::test {
namespace {

constexpr int kCommands = VEXILO_SOAK_COMMANDS;
constexpr int kCheckpoints = 10;

// The spin log as its lines must read, built here from the pocket colours alone.
std::string ExpectedLog(const SpinTally& tally) {
  std::string log;
  for (int k = 1; k <= tally.SpinCount(); ++k) {
    const int n = tally.History(k).number;
    const char* color = n == 0 ? "Green" : PocketOf(n).color == ColourCode::Red ? "Red" : "Black";
    log += std::to_string(n) + "," + color + "\r\n";
  }
  return log;
}

// The save dialog as the soak answers it: each ask takes the next scripted answer, cancelled or
// a name; the real dialog, driven through its widgets, for some. Messages are collected, since
// none may come.
class ScriptedShell final : public QtShell {
 public:
  using QtShell::QtShell;

  enum class Answer { Cancel, Name, RealDialog };
  void Next(Answer answer, std::string name = {}) {
    answer_ = answer;
    name_ = std::move(name);
  }
  std::optional<std::string> AskSaveFileName(std::string_view lastName) override {
    switch (answer_) {
      case Answer::Cancel:
        return std::nullopt;
      case Answer::Name:
        return name_;
      case Answer::RealDialog:
        return QtShell::AskSaveFileName(lastName);
    }
    return std::nullopt;
  }
  void ShowMessage(MessageKind, std::string_view text) override { messages_.emplace_back(text); }
  const std::vector<std::string>& Messages() const { return messages_; }

 private:
  Answer answer_ = Answer::Cancel;
  std::string name_;
  std::vector<std::string> messages_;
};

// The tally agrees with its own history: every count recounted from the entries, the strip the
// newest twenty of them, nothing left behind past the last one.
void ExpectConsistent(const SpinTally& tally, int step) {
  std::array<std::array<int, kPockets>, kFamilies> counted{};
  for (int k = 1; k <= tally.SpinCount(); ++k) {
    const HistoryEntry entry = tally.History(k);
    ASSERT_GE(entry.number, 0);
    ASSERT_LT(entry.number, kPockets);
    ASSERT_EQ(entry.color, PocketOf(entry.number).color) << "entry " << k << ", step " << step;
    for (int f = 0; f < kFamilies; ++f) {
      const int selector = GroupSelector(entry.number, static_cast<ShareFamily>(f));
      if (selector >= 0) ++counted[f][selector];
    }
  }
  for (int f = 0; f < kFamilies; ++f) {
    const auto family = static_cast<ShareFamily>(f);
    int sum = 0;
    for (int s = SelectorsOf(family).first; s <= SelectorsOf(family).last; ++s) {
      EXPECT_EQ(tally.Count(family, s), counted[f][s])
          << "family " << f << " group " << s << ", step " << step;
      sum += tally.Count(family, s);
    }
    const int zeros = tally.NumberCount(0);
    EXPECT_EQ(sum, family == ShareFamily::Number ? tally.SpinCount() : tally.SpinCount() - zeros)
        << "family " << f << ", step " << step;
  }
  for (int slot = 1; slot <= kStripSlots; ++slot) {
    const int k = tally.SpinCount() - slot + 1;
    const std::string expected = k >= 1 ? std::to_string(tally.History(k).number) : "";
    EXPECT_EQ(tally.SlotText(slot), expected) << "slot " << slot << ", step " << step;
    EXPECT_EQ(tally.SlotColor(slot), k >= 1 ? tally.History(k).color : ColourCode::None)
        << "slot " << slot << ", step " << step;
  }
  EXPECT_EQ(tally.History(tally.SpinCount() + 1).color, ColourCode::None) << "step " << step;
}

// Bytes in use on the heap, after the deferred deletions have run. Qt's pixmap cache is let go
// first: every new dialog adds to it (up to its limit of 10 MB), whatever the window does.
std::size_t HeapInUse() {
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QApplication::processEvents();
  QPixmapCache::clear();
  return mallinfo2().uordblks;
}

// Random commands on the real window: presses, Back, Reset and DataSave with the dialog
// cancelled or answered. At every checkpoint the tally agrees with its history, the window
// shows what a fresh window shows after the remaining spins alone, every saved log held the
// history of its moment, and neither widgets nor heap grow with the number of commands.
TEST(Soak, RandomCommandsOnTheRealWindow) {
  QTemporaryDir dir;
  ScriptedShell* shell = nullptr;
  FormDriver driver([&shell](QWidget& window) {
    auto made = std::make_unique<ScriptedShell>(window);
    shell = made.get();
    return made;
  });
  ModalDriver modal;
  std::mt19937 random(20260);
  const std::string log = QtShell::ToPath(dir.filePath(QStringLiteral("soak.CSV")));
  int saves = 0;
  int realDialogs = 0;
  std::vector<std::size_t> heap;
  std::vector<int> dialogsAt;
  std::optional<qsizetype> widgets;
  for (int step = 1; step <= kCommands; ++step) {
    const unsigned roll = random() % 1000;
    if (roll < 610) {
      driver.Press(static_cast<int>(random() % kPockets));
    } else if (roll < 989) {
      driver.Back();
    } else if (roll < 999) {
      // Every tenth save goes through the real dialog, alternately cancelled and answered.
      const bool real = ++saves % 10 == 0;
      const bool answered = real ? (saves / 10) % 2 == 0 : random() % 2 == 0;
      std::filesystem::remove(log);
      if (real) {
        ++realDialogs;
        shell->Next(ScriptedShell::Answer::RealDialog);
        const QString name = QtShell::ToQString(log);
        modal.Expect<QFileDialog>([answered, name](QFileDialog* dialog) {
          if (!answered) {
            dialog->reject();
            return;
          }
          dialog->selectFile(name);
          static_cast<QDialog*>(dialog)->accept();  // the save dialog checks and asks
        });
        if (answered) {
          modal.Expect<QMessageBox>([](QMessageBox* box) {
            box->button(QMessageBox::Yes)->click();  // create the file
          });
        }
      } else {
        shell->Next(answered ? ScriptedShell::Answer::Name : ScriptedShell::Answer::Cancel, log);
      }
      QTest::mouseClick(&driver.Command("DATASAVE"), Qt::LeftButton);
      const SpinTally& tally = driver.Form().Tally();
      const bool written = answered && tally.SpinCount() > 0;
      ASSERT_EQ(std::filesystem::exists(log), written) << "step " << step;
      if (written) {
        QFile file(QtShell::ToQString(log));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        ASSERT_EQ(file.readAll().toStdString(), ExpectedLog(tally)) << "step " << step;
      }
    } else {
      driver.Reset();
    }
    if (step % 64 == 0) QApplication::processEvents();  // the repaints the commands asked for

    if (step % (kCommands / kCheckpoints) != 0) continue;
    const SpinTally& tally = driver.Form().Tally();
    ExpectConsistent(tally, step);
    {
      FormDriver replay;
      for (int k = 1; k <= tally.SpinCount(); ++k) {
        replay.Form().ColorBtnClick(tally.History(k).number);
      }
      ASSERT_EQ(Snapshot(driver.Form()), Snapshot(replay.Form())) << "step " << step;
    }
    EXPECT_TRUE(shell->Messages().empty()) << shell->Messages().front();
    EXPECT_TRUE(modal.Done()) << "step " << step;
    EXPECT_EQ(modal.Unexpected(), 0) << "step " << step;
    heap.push_back(HeapInUse());
    dialogsAt.push_back(realDialogs);
    const qsizetype live = QApplication::allWidgets().size();
    if (!widgets) widgets = live;
    EXPECT_EQ(live, *widgets) << "widgets left behind by step " << step;
  }
  EXPECT_GE(realDialogs, 4);
#if !defined(__SANITIZE_ADDRESS__)  // the sanitizer's allocator keeps freed blocks a while
  // Between the middle and the end the heap may move by allocator noise, and by what Qt's own
  // file dialog keeps of each opening until the program ends (about 3 kB); not by anything kept
  // per command (one 32-byte block per press would be some 900 kB).
  const int middle = kCheckpoints / 2 - 1;
  const auto grown = static_cast<long long>(heap.back()) - static_cast<long long>(heap[middle]);
  const long long allowed = 64 * 1024 + 8 * 1024 * (dialogsAt.back() - dialogsAt[middle]);
  EXPECT_LT(grown, allowed) << "heap " << heap[middle] << " -> " << heap.back() << " bytes";
#endif
}

}  // namespace
}  // namespace vexilo::test
