// DataSave through the real save dialog, answered from a second thread, and the error report.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "DialogDriver.h"
#include "FormDriver.h"
#include "export/Utf16.h"
#include "win32/ErrorReport.h"

namespace vexilo::test {
namespace {

namespace fs = std::filesystem;

// A fresh folder under the user's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    path_ = fs::path(base) / (L"vexilo-save-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(GetTickCount()));
    fs::create_directories(path_);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& Path() const { return path_; }
  std::size_t Entries() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(path_), fs::directory_iterator()));
  }

 private:
  fs::path path_;
};

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void Write(const fs::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary);
  out << bytes;
}

bool Topmost(HWND window) {
  return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// Presses DataSave while the driver answers the dialogs; returns what the driver saw.
std::vector<DialogSeen> SaveWith(FormDriver& form, std::vector<DialogStep> steps) {
  DialogDriver driver(form.Window(), std::move(steps));
  form.Click("DATASAVE");
  std::vector<DialogSeen> seen = driver.Finish();
  for (const std::string& failure : driver.Failures()) ADD_FAILURE() << failure;
  return seen;
}

DialogStep SaveAs(const fs::path& name) {
  return {DialogStep::kSaveAs, name.wstring()};
}
DialogStep Press(int button) {
  return {DialogStep::kPress, {}, button};
}
// The prompt before a new file is created, which the dialog is asked for; Wine leaves it out.
DialogStep CreatePrompt() {
  return {DialogStep::kPress, {}, IDYES, true};
}

TEST(Win32Save, ANewNameGetsTheDefaultExtensionAndHoldsTheSpinLog) {
  TempFolder folder;
  FormDriver form;
  form.Spin({17, 0, 32});
  const std::vector<DialogSeen> seen =
      SaveWith(form, {SaveAs(folder.Path() / "spins"), CreatePrompt()});
  ASSERT_GE(seen.size(), 1u);
  EXPECT_TRUE(seen[0].isFileDialog);
  EXPECT_EQ(seen[0].text, L"") << "nothing offered before the first save";
  EXPECT_FALSE(seen[0].ownerTopmost) << "the window steps down while its dialog is open";
  if (seen.size() > 1) {
    EXPECT_FALSE(seen[1].isFileDialog) << "the prompt before creating";
  }
  EXPECT_EQ(Contents(folder.Path() / "spins.CSV"), "17,Black\r\n0,Green\r\n32,Red\r\n");
  EXPECT_EQ(folder.Entries(), 1u) << "no temporary file left behind";
  EXPECT_TRUE(Topmost(form.Window())) << "topmost again once the dialog has closed";
}

TEST(Win32Save, TheLastNameIsOfferedAgainAndReplacingItReplacesTheWholeFile) {
  TempFolder folder;
  const fs::path file = folder.Path() / "log.csv";
  Write(file, "a much longer old content that must not survive\r\n");
  FormDriver form;
  form.Spin({17, 0, 32});
  SaveWith(form, {SaveAs(file), Press(IDYES)});  // the dialog asks before replacing
  EXPECT_EQ(Contents(file), "17,Black\r\n0,Green\r\n32,Red\r\n");

  form.Click("Button1");
  form.Click("Button1");
  const std::vector<DialogSeen> seen = SaveWith(form, {SaveAs(file), Press(IDYES)});
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(fs::path(seen[0].text).filename(), file.filename());
  EXPECT_EQ(Contents(file), "17,Black\r\n");
}

TEST(Win32Save, ANameBeyondAsciiIsSavedAndOfferedAgain) {
  TempFolder folder;
  const fs::path file = folder.Path() / fs::path(u8"Spins \u00DC \u20AC \U0001F3B2.csv");
  FormDriver form;
  form.Spin({17});
  SaveWith(form, {SaveAs(file), CreatePrompt()});
  EXPECT_EQ(Contents(file), "17,Black\r\n");

  form.Spin({0});
  const std::vector<DialogSeen> seen = SaveWith(form, {SaveAs(file), Press(IDYES)});
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(fs::path(seen[0].text).filename(), file.filename());
  EXPECT_EQ(Contents(file), "17,Black\r\n0,Green\r\n");
  EXPECT_EQ(folder.Entries(), 1u) << "no temporary file left behind";
}

TEST(Win32Save, CancelOrNoSpinsWritesNothing) {
  TempFolder folder;
  FormDriver form;
  SaveWith(form, {});  // no spin: no dialog at all
  form.Spin({1, 2});
  form.Click("Button2");
  SaveWith(form, {});  // none after Reset either
  form.Spin({5});
  const std::vector<DialogSeen> seen = SaveWith(form, {Press(IDCANCEL)});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].isFileDialog);
  EXPECT_EQ(folder.Entries(), 0u);
  EXPECT_TRUE(Topmost(form.Window()));
}

TEST(Win32Save, AfterResetTheLogHoldsOnlyTheNewSpins) {
  TempFolder folder;
  FormDriver form;
  form.Spin({1, 2, 3});
  form.Click("Button2");
  form.Spin({0});
  SaveWith(form, {SaveAs(folder.Path() / "zero.csv"), CreatePrompt()});
  EXPECT_EQ(Contents(folder.Path() / "zero.csv"), "0,Green\r\n");
}

TEST(Win32Save, AFailedSaveKeepsTheOldFileAndSaysWhy) {
  TempFolder folder;
  const fs::path file = folder.Path() / "held.csv";
  Write(file, "old\r\n");
  // Another program holds the file open and shares nothing.
  const HANDLE held =
      CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  FormDriver form;
  form.Spin({4});
  const std::vector<DialogSeen> seen = SaveWith(form, {SaveAs(file), Press(IDYES), Press(IDOK)});
  CloseHandle(held);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_TRUE(seen[2].hasErrorIcon);
  EXPECT_NE(seen[2].text.find(L"held.csv"), std::wstring::npos) << ToUtf8(seen[2].text);
  EXPECT_FALSE(seen[2].ownerTopmost);
  EXPECT_EQ(Contents(file), "old\r\n");
  EXPECT_EQ(folder.Entries(), 1u) << "no temporary file left behind";
  EXPECT_TRUE(Topmost(form.Window()));
}

TEST(Win32ErrorReport, AnExceptionFromAHandlerIsShownAndTheWindowGoesOn) {
  FormDriver form;
  DialogDriver driver(form.Window(), {Press(IDOK)});
  const bool completed = RunGuarded(form.Window(), [] {
    throw std::runtime_error("Die Datei \xC3\xBC konnte nicht gelesen werden.");
  });
  const std::vector<DialogSeen> seen = driver.Finish();
  for (const std::string& failure : driver.Failures()) ADD_FAILURE() << failure;
  EXPECT_FALSE(completed);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, L"Die Datei \u00FC konnte nicht gelesen werden.");
  EXPECT_EQ(seen[0].title, L"Vexilo");
  EXPECT_TRUE(seen[0].hasErrorIcon);
  EXPECT_FALSE(seen[0].ownerTopmost);
  EXPECT_TRUE(Topmost(form.Window()));
  form.Spin({8});
  EXPECT_EQ(form.Text("Label222"), "1");
}

}  // namespace
}  // namespace vexilo::test
