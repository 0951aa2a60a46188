// vexilo-stats.exe started from Explorer: the console Windows gives it would close the moment it
// ends, so the report goes to the browser and a failure to a message box.
// The platform header comes before the shell's.
// clang-format off
#include <windows.h>
#include <commdlg.h>
// clang-format on

#include <array>
#include <memory>
#include <vector>

#include "ProductInfo.h"
#include "export/Utf16.h"
#include "stats/open/Captured.h"
#include "stats/open/Desktop.h"
#include "stats/open/StartedFrom.h"

namespace vexilo::stats {
namespace {

// Room for the names of many logs chosen at once in the open-file dialog.
constexpr DWORD kChosenNamesRoom = 1 << 16;
constexpr wchar_t kLogFilter[] = L"Spin logs (*.CSV)\0*.CSV\0All files (*.*)\0*.*\0";

Utf16String Title() {
  return ToUtf16(std::string(product::kName) + " Stats");
}

void ShowError(const std::string& message) {
  const Utf16String text = ToUtf16(message);
  MessageBoxW(nullptr, text.c_str(), Title().c_str(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

bool Redirected(DWORD which) {
  const DWORD type = GetFileType(GetStdHandle(which));
  return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE;
}

// The logs chosen in the system's open-file dialog; none when it is cancelled. The dialog gives
// a single choice as its full name, several as their folder followed by their names.
std::vector<std::string> ChooseLogs(bool& failed) {
  std::vector<wchar_t> names(kChosenNamesRoom, L'\0');
  const Utf16String title = Title() + L": saved spin logs to analyse";
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.lpstrFilter = kLogFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = names.data();
  dialog.nMaxFile = kChosenNamesRoom;
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                 OFN_HIDEREADONLY;
  failed = false;
  if (!GetOpenFileNameW(&dialog)) {
    failed = CommDlgExtendedError() != 0;
    return {};
  }
  std::vector<std::wstring> parts;
  for (const wchar_t* part = names.data(); *part != L'\0'; part += wcslen(part) + 1) {
    parts.emplace_back(part);
  }
  std::vector<std::string> logs;
  if (parts.size() == 1) {
    logs.push_back(ToUtf8(parts.front()));
    return logs;
  }
  std::wstring folder = parts.front();
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  for (std::size_t i = 1; i < parts.size(); ++i) logs.push_back(ToUtf8(folder + parts[i]));
  return logs;
}

}  // namespace

bool StartedFromExplorer() {
  std::array<DWORD, 4> processes{};
  const DWORD count = GetConsoleProcessList(processes.data(), processes.size());
  const bool redirected = Redirected(STD_OUTPUT_HANDLE) || Redirected(STD_ERROR_HANDLE);
  return StartedFromOnWindows(count, redirected) == StartedFrom::Desktop;
}

ExitCode RunFromExplorer(std::span<const std::string> given) {
  // The console Explorer opened for the program would stand empty behind the browser.
  FreeConsole();
  std::vector<std::string> logs(given.begin(), given.end());
  if (logs.empty()) {
    bool failed = false;
    logs = ChooseLogs(failed);
    if (failed) {
      ShowError("The open-file dialog could not be shown.");
      return ExitCode::Usage;
    }
    if (logs.empty()) return ExitCode::Done;
  }
  std::vector<std::string> args = {"--open", "--"};
  args.insert(args.end(), logs.begin(), logs.end());

  struct Close {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  const std::unique_ptr<std::FILE, Close> discarded(_wfopen(L"NUL", L"wb"));
  const Captured messages;
  if (!discarded || messages.Stream() == nullptr) {
    ShowError("No temporary file could be made for the report's messages.");
    return ExitCode::NotWritten;
  }
  const ExitCode code = RunCommandLine(args, discarded.get(), messages.Stream());
  if (code != ExitCode::Done) {
    std::string text = messages.Text();
    while (!text.empty() && text.back() == '\n') text.pop_back();
    ShowError(text.empty() ? "The logs could not be analysed." : text);
  }
  return code;
}

}  // namespace vexilo::stats
