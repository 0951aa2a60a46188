// vexilo-stats: what saved spin logs say about the wheel.
#include <cstdio>
#include <string>
#include <vector>

#include "stats/CommandLine.h"

#ifdef _WIN32
#include <windows.h>

// The arguments as UTF-8, whatever the console's code page; the report goes out as UTF-8 too.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
    std::string arg(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, arg.data(), size, nullptr, nullptr);
    args.push_back(std::move(arg));
  }
  SetConsoleOutputCP(CP_UTF8);
  return vexilo::stats::RunCommandLine(args, stdout, stderr);
}
#else
int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return vexilo::stats::RunCommandLine(args, stdout, stderr);
}
#endif
