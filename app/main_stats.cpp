// vexilo-stats: what saved spin logs say about the wheel.
#include <cstdio>
#include <string>
#include <vector>

#include "stats/CommandLine.h"
#include "stats/open/Desktop.h"

namespace {

// The command line turns every failure into a message and an exit code; only copying the
// arguments (out of memory) happens before it.
int Unstarted() {
  std::fputs("vexilo-stats: not enough memory to start\n", stderr);
  return static_cast<int>(vexilo::stats::ExitCode::NotWritten);
}

}  // namespace

#ifdef _WIN32
#include <windows.h>

#include "export/Utf16.h"

namespace {

// The console shows the report's UTF-8 (file names) while the program runs; the code page the
// console had comes back after.
class Utf8Console {
 public:
  Utf8Console() : previous_(GetConsoleOutputCP()) { SetConsoleOutputCP(CP_UTF8); }
  ~Utf8Console() {
    if (previous_ != 0) SetConsoleOutputCP(previous_);
  }
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

 private:
  UINT previous_;
};

}  // namespace

// The arguments as UTF-8, whatever the console's code page.
int wmain(int argc, wchar_t** argv) try {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(vexilo::ToUtf8(argv[i]));
  if (vexilo::stats::StartedFromExplorer()) {
    return static_cast<int>(vexilo::stats::RunFromExplorer(args));
  }
  const Utf8Console console;
  return static_cast<int>(vexilo::stats::RunCommandLine(args, stdout, stderr));
} catch (...) {
  return Unstarted();
}
#else
int main(int argc, char** argv) try {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return static_cast<int>(vexilo::stats::RunWithNotification(args, stdout, stderr));
} catch (...) {
  return Unstarted();
}
#endif
