// vexilo-stats --open started by a file manager ("Open with Vexilo Stats"): standard error goes
// nowhere anyone reads, so a failure is also shown as a desktop notification.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "ProductInfo.h"
#include "stats/open/Captured.h"
#include "stats/open/Desktop.h"
#include "stats/open/StartedFrom.h"

extern char** environ;

namespace vexilo::stats {
namespace {

constexpr const char* kNotifier = "notify-send";
constexpr std::string_view kOpenOption = "--open";

// Notification servers read the body as simple markup: a log named "<b>.CSV" stays text.
std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Best effort: without notify-send, or without a notification server, standard error is all.
void Notify(std::string_view message) {
  std::string program(kNotifier);
  std::string appName = "--app-name=" + std::string(product::kName) + " Stats";
  std::string icon = "--icon=" + std::string(product::kAppId);
  std::string summary = std::string(product::kName) + " Stats";
  while (message.ends_with('\n')) message.remove_suffix(1);
  std::string body = Escaped(message);
  char* argv[] = {program.data(), appName.data(), icon.data(),
                  summary.data(), body.data(),    nullptr};
  pid_t pid = 0;
  if (::posix_spawnp(&pid, kNotifier, nullptr, nullptr, argv, environ) != 0) return;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

bool AnyTerminal() {
  return ::isatty(STDIN_FILENO) || ::isatty(STDOUT_FILENO) || ::isatty(STDERR_FILENO);
}

}  // namespace

ExitCode RunWithNotification(std::span<const std::string> args, std::FILE* out, std::FILE* err) {
  const bool opening = std::ranges::find(args, kOpenOption) != args.end();
  if (!opening || StartedFromOnPosix(AnyTerminal()) == StartedFrom::Console) {
    return RunCommandLine(args, out, err);
  }
  const Captured captured;
  if (captured.Stream() == nullptr) return RunCommandLine(args, out, err);
  const ExitCode code = RunCommandLine(args, out, captured.Stream());
  const std::string messages = captured.Text();
  std::fwrite(messages.data(), 1, messages.size(), err);
  if (code != ExitCode::Done && !messages.empty()) Notify(messages);
  return code;
}

}  // namespace vexilo::stats
