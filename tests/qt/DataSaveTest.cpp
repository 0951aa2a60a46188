#include <gtest/gtest.h>
#include <sys/mount.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <array>
#include <random>
#include <string>

#include "FormDriver.h"
#include "ModalDriver.h"

namespace vexilo::test {
namespace {

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

// Types a name into the dialog's name field and presses Enter.
void TypeName(QFileDialog* dialog, const QString& name) {
  auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(edit, nullptr);
  // As with a user's typing, the name field has the focus, so a file the dialog selected for
  // an earlier name is let go when the new one is typed.
  dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
  edit->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([edit] { return edit->hasFocus(); }, 2000));
  edit->setText(name);
  QTest::keyClick(edit, Qt::Key_Return);
}

void Answer(QMessageBox* box, QMessageBox::StandardButton button) {
  ASSERT_NE(box->button(button), nullptr) << box->text().toStdString();
  box->button(button)->click();
}

class DataSave : public ::testing::Test {
 protected:
  void SaveAs(const QString& name) {
    modal_.Expect<QFileDialog>([name](QFileDialog* dialog) { TypeName(dialog, name); });
  }
  void Prompt(const QString& contains, QMessageBox::StandardButton button) {
    modal_.Expect<QMessageBox>([contains, button, this](QMessageBox* box) {
      prompts_ << box->text();
      EXPECT_TRUE(box->text().contains(contains)) << box->text().toStdString();
      Answer(box, button);
    });
  }
  void Cancel() {
    modal_.Expect<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
  }
  void Click() { QTest::mouseClick(&driver_.Command("DATASAVE"), Qt::LeftButton); }
  void Finish() {
    EXPECT_TRUE(modal_.Done());
    EXPECT_EQ(modal_.Unexpected(), 0);
  }
  QString Path(const QString& name) const { return dir_.filePath(name); }

  QTemporaryDir dir_;
  FormDriver driver_;
  ModalDriver modal_;
  QStringList prompts_;
};

TEST_F(DataSave, NoSpinNoDialog) {
  Click();
  QTest::qWait(50);
  EXPECT_EQ(modal_.Seen(), 0);
  EXPECT_TRUE(QDir(dir_.path()).isEmpty());
}

TEST_F(DataSave, ANameWithoutExtensionGetsCsvAfterTheCreatePrompt) {
  for (const int n : {17, 0, 32}) driver_.Press(n);
  bool topmostDuringDialog = true;
  modal_.Expect<QFileDialog>([&](QFileDialog* dialog) {
    topmostDuringDialog = driver_.Form().windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
    EXPECT_EQ(dialog->objectName(), QStringLiteral("datasaving"));
    EXPECT_TRUE(dialog->nameFilters().isEmpty() ||
                dialog->nameFilters() == QStringList{QStringLiteral("All Files (*)")});
    TypeName(dialog, Path(QStringLiteral("log")));
  });
  Prompt(QStringLiteral("create"), QMessageBox::Yes);
  Click();
  Finish();
  EXPECT_FALSE(topmostDuringDialog);
  EXPECT_TRUE(driver_.Form().windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(Read(Path(QStringLiteral("log.CSV"))), QByteArray("17,Black\r\n0,Green\r\n32,Red\r\n"));
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{QStringLiteral("log.CSV")});
}

TEST_F(DataSave, ReplacingAsksAlsoWhenTheExtensionWasAdded) {
  Write(Path(QStringLiteral("log.CSV")), "an older, longer spin log that must not survive\r\n");
  driver_.Press(0);
  SaveAs(Path(QStringLiteral("log")));
  Prompt(QStringLiteral("already exists"), QMessageBox::Yes);
  Click();
  Finish();
  EXPECT_EQ(Read(Path(QStringLiteral("log.CSV"))), QByteArray("0,Green\r\n"));
}

TEST_F(DataSave, DecliningThePromptsOrCancellingWritesNothing) {
  Write(Path(QStringLiteral("kept.csv")), "kept");
  driver_.Press(3);
  SaveAs(Path(QStringLiteral("new")));
  Prompt(QStringLiteral("create"), QMessageBox::No);
  SaveAs(Path(QStringLiteral("kept.csv")));
  Prompt(QStringLiteral("already exists"), QMessageBox::No);
  Cancel();
  Click();
  Finish();
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{QStringLiteral("kept.csv")});
  EXPECT_EQ(Read(Path(QStringLiteral("kept.csv"))), QByteArray("kept"));
  EXPECT_EQ(driver_.Form().Tally().SpinCount(), 1);
}

TEST_F(DataSave, TheLastConfirmedNameIsOfferedAgain) {
  driver_.Press(12);
  SaveAs(Path(QStringLiteral("first")));
  Prompt(QStringLiteral("create"), QMessageBox::Yes);
  Click();
  driver_.Press(13);
  QStringList offered;
  modal_.Expect<QFileDialog>([&offered](QFileDialog* dialog) {
    offered = dialog->selectedFiles();
    QTest::keyClick(dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")), Qt::Key_Return);
  });
  Prompt(QStringLiteral("already exists"), QMessageBox::Yes);
  Click();
  Finish();
  EXPECT_EQ(offered, QStringList{Path(QStringLiteral("first.CSV"))});
  EXPECT_EQ(Read(Path(QStringLiteral("first.CSV"))), QByteArray("12,Red\r\n13,Black\r\n"));
}

TEST_F(DataSave, ReadOnlyFilesAndFoldersAreRefused) {
  const QString locked = Path(QStringLiteral("locked.CSV"));
  Write(locked, "locked");
  QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("shut")));
  const QString shut = Path(QStringLiteral("shut"));
  QFile::setPermissions(shut, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  driver_.Press(7);
  SaveAs(locked);
  Prompt(QStringLiteral("read-only"), QMessageBox::Ok);
  SaveAs(shut + QStringLiteral("/inside"));
  Prompt(QStringLiteral("read-only"), QMessageBox::Ok);
  SaveAs(Path(QStringLiteral("missing/inside")));
  Prompt(QStringLiteral("does not exist"), QMessageBox::Ok);
  Cancel();
  Click();
  Finish();
  QFile::setPermissions(shut,
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  EXPECT_EQ(Read(locked), QByteArray("locked"));
  EXPECT_TRUE(QDir(shut).isEmpty());
}

// The line of one spin, its colour from the wheel's red numbers.
std::string LogLine(int n) {
  constexpr std::array<int, 18> kRed = {1,  3,  5,  7,  9,  12, 14, 16, 18,
                                        19, 21, 23, 25, 27, 30, 32, 34, 36};
  const bool red = std::find(kRed.begin(), kRed.end(), n) != kRed.end();
  return std::to_string(n) + (n == 0 ? ",Green" : red ? ",Red" : ",Black") + "\r\n";
}

// A full history: the next press is refused with a message and changes nothing; the log then
// holds all 100000 spins, oldest first.
TEST_F(DataSave, AFullHistoryRefusesTheNextSpinAndSavesEveryOne) {
  std::mt19937 random(100000);
  std::string expected;
  expected.reserve(static_cast<std::size_t>(MAX_SPINS) * 10);
  for (int k = 1; k <= MAX_SPINS; ++k) {
    const int n = static_cast<int>(random() % 37);
    driver_.Form().ColorBtnClick(n);
    expected += LogLine(n);
  }
  QApplication::processEvents();
  ASSERT_EQ(driver_.Text(222), QString::number(MAX_SPINS));
  const std::vector<Shown> full = Snapshot(driver_.Form());
  QString refusal;
  modal_.Expect<QMessageBox>([&refusal](QMessageBox* box) {
    refusal = box->text();
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    box->accept();
  });
  driver_.Press(17);
  EXPECT_TRUE(refusal.contains(QStringLiteral("full")) &&
              refusal.contains(QStringLiteral("100000")))
      << refusal.toStdString();
  EXPECT_EQ(Snapshot(driver_.Form()), full);
  EXPECT_EQ(driver_.Form().Tally().SpinCount(), MAX_SPINS);
  SaveAs(Path(QStringLiteral("full")));
  Prompt(QStringLiteral("create"), QMessageBox::Yes);
  Click();
  Finish();
  const QByteArray saved = Read(Path(QStringLiteral("full.CSV")));
  EXPECT_EQ(saved.count('\n'), MAX_SPINS);
  EXPECT_TRUE(saved.toStdString() == expected)
      << saved.size() << " bytes, " << expected.size() << " expected";
}

// A disk too small for the log: the save fails, the user is told which file and why, and the
// log saved there before is left exactly as it was, with no partial file beside it.
class SmallDisk {
 public:
  explicit SmallDisk(const QString& path) : path_(QFile::encodeName(path)) {
    mounted_ = ::mount("tmpfs", path_.constData(), "tmpfs", 0, "size=16k") == 0;
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(path_.constData(), MNT_DETACH);
  }
  bool Mounted() const { return mounted_; }

 private:
  QByteArray path_;
  bool mounted_ = false;
};

TEST_F(DataSave, AFailedSaveIsReportedAndKeepsTheOldLog) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("disk")));
  const SmallDisk disk(Path(QStringLiteral("disk")));
  if (!disk.Mounted()) GTEST_SKIP() << "mounting a small tmpfs needs root";
  const QString log = Path(QStringLiteral("disk/log.CSV"));
  Write(log, "1,Red\r\n");
  {
    QFile filler(Path(QStringLiteral("disk/filler")));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(1024, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
  }
  for (int i = 0; i < 500; ++i) driver_.Press(i % 37);
  SaveAs(log);
  Prompt(QStringLiteral("already exists"), QMessageBox::Yes);
  QString report;
  modal_.Expect<QMessageBox>([&report](QMessageBox* box) {
    report = box->text();
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    box->accept();
  });
  Click();
  Finish();
  EXPECT_TRUE(report.contains(log)) << report.toStdString();
  EXPECT_EQ(Read(log), QByteArray("1,Red\r\n"));
  EXPECT_EQ(QDir(Path(QStringLiteral("disk"))).entryList(QDir::Files),
            (QStringList{QStringLiteral("filler"), QStringLiteral("log.CSV")}));
}

}  // namespace
}  // namespace vexilo::test
