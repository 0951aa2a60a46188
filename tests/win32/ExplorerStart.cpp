// explorer-start.exe PROGRAM [ARGS...]: starts a console program the way Explorer does, in a
// console of its own that no other process shares and that shows no window, and reads back every
// message box it shows: one line "message box: TITLE: TEXT" (", error icon" when the box's icon
// is the red one), then it presses OK. Ends with the program's exit code after "exit code N".
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

struct Watch {
  DWORD process;
  std::set<HWND> answered;
};

void Print(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), size, nullptr, nullptr);
  std::fputs(utf8.c_str(), stdout);
  std::fflush(stdout);
}

std::wstring TextOf(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return text;
}

// The error icon is the red one: most of its coloured pixels are red, as shown on the screen
// (the screen's, since the drawing of another process's window is that process's own).
bool ShowsRedIcon(HWND icon) {
  RECT box{};
  GetWindowRect(icon, &box);
  HDC screen = GetDC(nullptr);
  int red = 0, coloured = 0;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      const COLORREF c = GetPixel(screen, x, y);
      const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
      if (r - g > 60 || b - g > 60 || g - b > 60) ++coloured;
      if (r > 150 && g < 100 && b < 100) ++red;
    }
  }
  ReleaseDC(nullptr, screen);
  return coloured > 0 && red * 2 > coloured;
}

BOOL CALLBACK ReadPart(HWND child, LPARAM line) {
  wchar_t kind[32] = {};
  GetClassNameW(child, kind, 32);
  if (lstrcmpiW(kind, L"Static") != 0) return TRUE;
  auto& text = *reinterpret_cast<std::wstring*>(line);
  if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    if (ShowsRedIcon(child)) text += L", error icon";
  } else if (GetWindowTextLengthW(child) > 0) {
    text.insert(text.find(L'\x1f'), L": " + TextOf(child));
  }
  return TRUE;
}

// A message box is a dialog (class #32770) of the watched process.
BOOL CALLBACK Answer(HWND window, LPARAM watch) {
  auto& w = *reinterpret_cast<Watch*>(watch);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t kind[16] = {};
  GetClassNameW(window, kind, 16);
  if (owner != w.process || !IsWindowVisible(window) || lstrcmpW(kind, L"#32770") != 0 ||
      w.answered.contains(window)) {
    return TRUE;
  }
  Sleep(500);  // painted, icon included
  std::wstring line = L"message box: " + TextOf(window) + L"\x1f";
  EnumChildWindows(window, ReadPart, reinterpret_cast<LPARAM>(&line));
  line.erase(line.find(L'\x1f'), 1);
  Print(line + L"\n");
  w.answered.insert(window);
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
  Watch watch{started.dwProcessId, {}};
  while (WaitForSingleObject(started.hProcess, 100) == WAIT_TIMEOUT) {
    EnumWindows(Answer, reinterpret_cast<LPARAM>(&watch));
  }
  DWORD code = 0;
  GetExitCodeProcess(started.hProcess, &code);
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  std::printf("exit code %lu\n", code);
  return static_cast<int>(code);
}
