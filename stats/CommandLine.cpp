#include "stats/CommandLine.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "export/SafeFile.h"
#include "export/SpinLogReader.h"
#include "stats/analysis/Analyse.h"
#include "stats/analysis/ReadLogs.h"
#include "stats/open/OpenPage.h"
#include "stats/report/HtmlReport.h"
#include "stats/report/JsonReport.h"
#include "stats/report/TextReport.h"

namespace vexilo::stats {
namespace {

constexpr std::string_view kProgram = "vexilo-stats";

constexpr std::string_view kHelp =
    "Usage: vexilo-stats [--json | --html FILE | --open] [--last N] [--seed N] LOG...\n"
    "\n"
    "Reads spin logs saved by Vexilo's DataSave (\"17,Black\" a line) as one record, oldest\n"
    "spin first, in the order given, and reports whether the wheel favours some numbers, groups\n"
    "or an arc of the wheel. LOG - reads standard input.\n"
    "\n"
    "  --json        the figures as one JSON object instead of text\n"
    "  --html FILE   also write a page with pictures to FILE\n"
    "  --open        write the page, named after the first log, and open it in the browser\n"
    "  --last N      analyse only the newest N spins\n"
    "  --seed N      seed of the fair wheels the best arc is held against (default 20240901)\n"
    "  --help        show this text\n"
    "  --version     show the version\n"
    "\n"
    "Exit status: 0 done, 1 wrong usage, 2 bad or unreadable input, 3 the report could not be\n"
    "written.\n";

struct Options {
  bool json = false;
  std::optional<std::string> html;
  bool open = false;  // html chosen by PageToOpen, then shown in the browser
  std::optional<std::int64_t> last;
  std::uint64_t seed = kDefaultSeed;
  std::vector<std::string> logs;
  bool help = false;
  bool version = false;
};

struct UsageError {
  std::string message;
};

template <typename Number>
Number WholeNumber(std::string_view option, std::string_view text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value < 0) {
    throw UsageError{std::string(option) + " needs a whole number, not \"" + std::string(text) +
                     "\""};
  }
  return value;
}

Options Parse(std::span<const std::string> args) {
  Options options;
  bool onlyLogs = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (onlyLogs || arg == "-" || !arg.starts_with("-")) {
      options.logs.emplace_back(arg);
      continue;
    }
    if (arg == "--") {
      onlyLogs = true;
      continue;
    }
    // "--name=value" or "--name value" for the options that take a value.
    const std::size_t equals = arg.find('=');
    const std::string_view name = arg.substr(0, equals);
    const auto value = [&]() -> std::string_view {
      if (equals != std::string_view::npos) return arg.substr(equals + 1);
      if (i + 1 >= args.size()) throw UsageError{std::string(name) + " needs a value"};
      return args[++i];
    };
    if (name == "--help" && equals == std::string_view::npos) {
      options.help = true;
    } else if (name == "--version" && equals == std::string_view::npos) {
      options.version = true;
    } else if (name == "--json" && equals == std::string_view::npos) {
      options.json = true;
    } else if (name == "--open" && equals == std::string_view::npos) {
      options.open = true;
    } else if (name == "--html") {
      options.html = std::string(value());
    } else if (name == "--last") {
      options.last = WholeNumber<std::int64_t>(name, value());
    } else if (name == "--seed") {
      options.seed = WholeNumber<std::uint64_t>(name, value());
    } else {
      throw UsageError{"unknown option " + std::string(arg)};
    }
  }
  if (options.help || options.version) return options;
  if (options.json && options.html) throw UsageError{"--json and --html do not go together"};
  if (options.open && (options.json || options.html)) {
    throw UsageError{"--open goes with neither --json nor --html"};
  }
  if (options.logs.empty()) throw UsageError{"no log to read"};
  return options;
}

void Say(std::FILE* err, std::string_view message) {
  std::fprintf(err, "%s: %.*s\n", kProgram.data(), static_cast<int>(message.size()),
               message.data());
}

// The report in one piece; a short or failed write, or a failed flush, is exit code 3.
ExitCode Emit(std::FILE* out, std::FILE* err, std::string_view text) {
  errno = 0;
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  if (written && std::fflush(out) == 0) return ExitCode::Done;
  const int error = errno != 0 ? errno : EIO;
  Say(err, "cannot write the report: " + std::generic_category().message(error));
  return ExitCode::NotWritten;
}

}  // namespace

ExitCode RunCommandLine(std::span<const std::string> args, std::FILE* out, std::FILE* err) {
  Options options;
  try {
    options = Parse(args);
  } catch (const UsageError& usage) {
    Say(err, usage.message);
    std::fprintf(err, "Try '%s --help'.\n", kProgram.data());
    return ExitCode::Usage;
  }
  if (options.help) return Emit(out, err, kHelp);
  if (options.version) return Emit(out, err, std::string(kProgram) + " " VEXILO_VERSION "\n");
  if (options.open) {
    std::string chosen;
    if (const std::error_code code = PageToOpen(options.logs.front(), chosen)) {
      Say(err, "no place for the page of " + options.logs.front() + ": " + code.message());
      return ExitCode::NotWritten;
    }
    options.html = chosen;
  }
  std::string report;
  std::string page;
  try {
    ReadLogsResult read = ReadLogs(options.logs, options.last);
    AnalysisOptions analysis;
    analysis.seed = options.seed;
    const Analysis result = Analyse(read.spins, std::move(read.files), analysis);
    report = options.json ? JsonReport(result) : TextReport(result);
    if (options.html) page = HtmlReport(result);
  } catch (const SpinLogError& bad) {
    std::fprintf(err, "%s\n", bad.what());
    return ExitCode::BadInput;
  } catch (const std::system_error& unreadable) {
    std::fprintf(err, "%s\n", unreadable.what());
    return ExitCode::BadInput;
  }
  // The page first: if it cannot be written, the run fails before anything reaches out.
  if (options.html) {
    if (const SaveResult saved = WriteFileAtomically(*options.html, page); !saved.Saved()) {
      Say(err, "cannot write " + *options.html + ": " + saved.code.message());
      return ExitCode::NotWritten;
    }
  }
  const ExitCode emitted = Emit(out, err, report);
  if (emitted != ExitCode::Done || !options.open) return emitted;
  if (const ShowResult shown = ShowInBrowser(*options.html); !shown.Shown()) {
    Say(err, shown.message);
    return ExitCode::NotWritten;
  }
  return ExitCode::Done;
}

}  // namespace vexilo::stats
