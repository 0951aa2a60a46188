// board-probe.exe: where the running board stands, in screen pixels, as "CLIENT_LEFT CLIENT_TOP
// CLIENT_WIDTH CLIENT_HEIGHT LEFT TOP RIGHT BOTTOM"; exit code 1 while no board is shown.
#include <windows.h>

#include <cstdio>

int wmain() {
  SetProcessDPIAware();  // the screen's own pixels, not those of a program unaware of dpi
  const HWND board = FindWindowW(L"TForm1", L"Vexilo");
  RECT client{};
  RECT outer{};
  POINT origin{0, 0};
  if (board == nullptr || !IsWindowVisible(board) || !GetClientRect(board, &client) ||
      !ClientToScreen(board, &origin) || !GetWindowRect(board, &outer)) {
    return 1;
  }
  std::printf("%ld %ld %ld %ld %ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom,
              outer.left, outer.top, outer.right, outer.bottom);
  return 0;
}
