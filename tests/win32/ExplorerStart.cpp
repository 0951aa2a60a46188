// explorer-start.exe PROGRAM [ARGS...]: starts a console program the way Explorer does, in a
// console of its own that no other process shares and that shows no window. Each message box it
// shows is read back as one line, "message box: TITLE: TEXT" (", error icon" when its icon is
// the red one), and answered with OK. Ends with the program's exit code after "exit code N".
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>

namespace {

DWORD watched = 0;
HWND answered = nullptr;  // a box stays on the screen a moment after its OK

std::string TextOf(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// The icon as the screen shows it: another process's drawing is its own to read.
bool ShowsRedIcon(HWND icon) {
  RECT box{};
  GetWindowRect(icon, &box);
  HDC screen = GetDC(nullptr);
  int red = 0;  // the error icon's disc; the others are yellow or blue
  for (LONG y = box.top; y < box.bottom; ++y) {
    for (LONG x = box.left; x < box.right; ++x) {
      const COLORREF c = GetPixel(screen, x, y);
      red += GetRValue(c) > 150 && GetGValue(c) < 100 && GetBValue(c) < 100;
    }
  }
  ReleaseDC(nullptr, screen);
  return red * 4 > (box.right - box.left) * (box.bottom - box.top);
}

using Parts = std::pair<std::string, bool>;  // the texts, and whether the icon is red

BOOL CALLBACK ReadPart(HWND child, LPARAM parts) {
  auto& [text, red] = *reinterpret_cast<Parts*>(parts);
  char kind[16] = {};
  GetClassNameA(child, kind, sizeof kind);
  if (lstrcmpiA(kind, "Static") != 0) return TRUE;
  if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    red = ShowsRedIcon(child);
  } else if (GetWindowTextLengthA(child) > 0) {
    text += ": " + TextOf(child);
  }
  return TRUE;
}

// A message box is a dialog (class #32770) of the watched process.
BOOL CALLBACK Answer(HWND window, LPARAM) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char kind[16] = {};
  GetClassNameA(window, kind, sizeof kind);
  if (owner != watched || window == answered || !IsWindowVisible(window) ||
      lstrcmpA(kind, "#32770") != 0) {
    return TRUE;
  }
  Sleep(500);  // painted, icon included
  Parts parts{"message box: " + TextOf(window), false};
  EnumChildWindows(window, ReadPart, reinterpret_cast<LPARAM>(&parts));
  std::printf("%s%s\n", parts.first.c_str(), parts.second ? ", error icon" : "");
  std::fflush(stdout);
  answered = window;
  PostMessageW(window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring command;
  for (int i = 1; i < argc; ++i)
    command += (i > 1 ? L" \"" : L"\"") + std::wstring(argv[i]) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (argc < 2 || !CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                                  CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started)) {
    std::fprintf(stderr, "explorer-start: cannot start the program (%lu)\n", GetLastError());
    return 125;
  }
  watched = started.dwProcessId;
  while (WaitForSingleObject(started.hProcess, 100) == WAIT_TIMEOUT) EnumWindows(Answer, 0);
  DWORD code = 0;
  GetExitCodeProcess(started.hProcess, &code);
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  std::printf("exit code %lu\n", code);
  return static_cast<int>(code);
}
