#include "stats/CommandLine.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>
#include <new>
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
#include "stats/report/TextFormat.h"
#include "stats/report/TextReport.h"

namespace vexilo::stats {
namespace {

constexpr std::string_view kProgram = "vexilo-stats";
constexpr std::string_view kStandardStream = "-";

constexpr std::string_view kAbout =
    "Reads spin logs saved by Vexilo's DataSave (\"17,Black\" a line) as one record, oldest\n"
    "spin first, in the order given, and answers whether the wheel is biased: one verdict for\n"
    "the whole report, checked on the later spins, with the details behind it. LOG - reads\n"
    "standard input.\n";

constexpr std::string_view kExitStatus =
    "Exit status: 0 done, 1 wrong usage, 2 bad or unreadable input, 3 the report could not be\n"
    "made or written.\n";

struct Options {
  bool json = false;
  std::optional<std::string> html;  // "-": the page instead of the text on standard output
  bool open = false;                // html chosen by PageToOpen, then shown in the browser
  std::optional<std::int64_t> last;
  AnalysisOptions analysis;
  std::vector<std::string> logs;
  bool help = false;
  bool version = false;
};

struct UsageError {
  std::string message;
};

// The values an option accepts, both included.
struct Limits {
  double low;
  double high;
};

// One option: its name, the value it takes (none for a switch), what it does, the limits of
// its value, its default, and what it sets. The parser, --help and the error messages read
// this table, and a test holds the read-me and the manual page to it.
struct Option {
  std::string_view name;
  std::string_view value;
  std::string_view help;
  std::string_view note;         // said after the limits: "0 turns the check off"
  std::optional<Limits> limits;  // none: any value of its kind
  std::string (*byDefault)();    // null: no default worth saying
  void (*apply)(Options&, const Option& self, std::string_view value);
};

// A limit or a default as the help writes it: "0.9", "1000000".
std::string Decimal(double value) {
  constexpr double kWhole = 0x1.0p53;  // every whole number below this is exact
  if (value == std::floor(value) && std::fabs(value) < kWhole) {
    return std::to_string(static_cast<std::int64_t>(value));
  }
  return Exact(value);
}

std::string LimitsWords(const Limits& limits) {
  return Decimal(limits.low) + " to " + Decimal(limits.high);
}

// "--holdout needs a share from 0 to 0.9, not "0.95"".
[[noreturn]] void Refuse(const Option& o, std::string_view kind, std::string_view text) {
  const std::string limits = o.limits ? " from " + LimitsWords(*o.limits) : "";
  throw UsageError{std::string(o.name) + " needs " + std::string(kind) + limits + ", not \"" +
                   std::string(text) + "\""};
}

bool Within(const Option& o, double value) {
  return !o.limits || (value >= o.limits->low && value <= o.limits->high);
}

template <typename Number>
Number WholeNumber(const Option& o, std::string_view text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value < 0 ||
      !Within(o, static_cast<double>(value))) {
    Refuse(o, "a whole number", text);
  }
  return value;
}

double Share(const Option& o, std::string_view text) {
  double value = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size() ||
      !(value >= 0 && value <= 1) || !Within(o, value)) {
    Refuse(o, "a share", text);
  }
  return value;
}

constexpr std::array<Option, 9> kOptions = {{
    {"--json", "", "the figures as one JSON object instead of text", "", std::nullopt, nullptr,
     [](Options& o, const Option&, std::string_view) { o.json = true; }},
    {"--html", "FILE",
     "also write a page with pictures to FILE; FILE - writes the page to standard output instead "
     "of the text",
     "", std::nullopt, nullptr,
     [](Options& o, const Option&, std::string_view v) { o.html = std::string(v); }},
    {"--open", "", "write the page, named after the first log, and open it in the browser", "",
     std::nullopt, nullptr, [](Options& o, const Option&, std::string_view) { o.open = true; }},
    {"--last", "N", "analyse only the newest N spins", "", std::nullopt, nullptr,
     [](Options& o, const Option& self, std::string_view v) {
       o.last = WholeNumber<std::int64_t>(self, v);
     }},
    {"--holdout", "F",
     "share of the spins, the newest, kept back to check what the earlier ones chose",
     "0 turns the check off", Limits{0, 0.9}, [] { return Decimal(kDefaultHoldout); },
     [](Options& o, const Option& self, std::string_view v) {
       o.analysis.holdout = Share(self, v);
     }},
    {"--simulations", "N", "fair wheels simulated for the verdict and the arcs", "",
     Limits{1000, 1000000}, [] { return std::to_string(kDefaultSimulations); },
     [](Options& o, const Option& self, std::string_view v) {
       o.analysis.simulations = static_cast<int>(WholeNumber<std::int64_t>(self, v));
     }},
    {"--seed", "N", "seed of the simulated fair wheels, so that a report can be made again", "",
     std::nullopt, [] { return std::to_string(kDefaultSeed); },
     [](Options& o, const Option& self, std::string_view v) {
       o.analysis.seed = WholeNumber<std::uint64_t>(self, v);
     }},
    {"--help", "", "show this text", "", std::nullopt, nullptr,
     [](Options& o, const Option&, std::string_view) { o.help = true; }},
    {"--version", "", "show the version", "", std::nullopt, nullptr,
     [](Options& o, const Option&, std::string_view) { o.version = true; }},
}};

std::string Help() {
  std::string text = "Usage: " + std::string(kProgram) + " [OPTION]... LOG...\n\n";
  text += kAbout;
  text += '\n';
  constexpr std::size_t kColumn = 20;
  constexpr std::size_t kWidth = 92;
  for (const Option& o : kOptions) {
    std::string head = "  " + std::string(o.name);
    if (!o.value.empty()) head += " " + std::string(o.value);
    head.append(head.size() < kColumn ? kColumn - head.size() : 1, ' ');
    std::string help(o.help);
    if (o.limits) help += ", " + LimitsWords(*o.limits);
    if (!o.note.empty()) help += "; " + std::string(o.note);
    if (o.byDefault != nullptr) help += " (default " + o.byDefault() + ")";
    const std::string lines = Wrapped(help, kWidth - kColumn);
    for (std::size_t from = 0; from < lines.size();) {
      const std::size_t end = lines.find('\n', from) + 1;
      text += (from == 0 ? head : std::string(kColumn, ' ')) + lines.substr(from, end - from);
      from = end;
    }
  }
  text += "  --                every later argument is a log\n\n";
  text += kExitStatus;
  return text;
}

const Option* Find(std::string_view name) {
  for (const Option& o : kOptions) {
    if (o.name == name) return &o;
  }
  return nullptr;
}

Options Parse(std::span<const std::string> args) {
  Options options;
  bool onlyLogs = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (onlyLogs || arg == kStandardStream || !arg.starts_with("-")) {
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
    const Option* option = Find(name);
    if (option == nullptr) throw UsageError{"unknown option " + std::string(arg)};
    std::string_view value;
    if (option->value.empty()) {
      if (equals != std::string_view::npos) throw UsageError{std::string(name) + " takes no value"};
    } else if (equals != std::string_view::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      throw UsageError{std::string(name) + " needs a value"};
    }
    option->apply(options, *option, value);
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

bool PageToFile(const Options& options) {
  return options.html && *options.html != kStandardStream;
}

// A page that would take the place of one of the logs: the same name, or the same file
// through another name or a link.
std::optional<std::string> LogThePageWouldReplace(const Options& options) {
  if (!PageToFile(options)) return std::nullopt;
  for (const std::string& log : options.logs) {
    if (log == kStandardStream) continue;
    if (log == *options.html || SameFile(*options.html, log)) return log;
  }
  return std::nullopt;
}

// A log given twice is read twice, as given, but that is seldom what was meant.
void WarnOfRepeats(std::FILE* err, const std::vector<std::string>& logs) {
  for (std::size_t i = 0; i < logs.size(); ++i) {
    if (logs[i] == kStandardStream) continue;
    for (std::size_t j = i + 1; j < logs.size(); ++j) {
      if (logs[j] == kStandardStream) continue;
      if (logs[i] == logs[j] || SameFile(logs[i], logs[j])) {
        Say(err, "warning: " + logs[i] + " and " + logs[j] +
                     " are the same file; its spins are read twice, as given");
        break;
      }
    }
  }
}

struct Reports {
  std::string report;  // for standard output
  std::string page;    // for the page's file
};

Reports Make(const Options& options) {
  ReadLogsResult read = ReadLogs(options.logs, options.last);
  const Analysis result = Analyse(read.spins, std::move(read.files), options.analysis);
  if (options.html && !PageToFile(options)) return {HtmlReport(result), {}};
  Reports made{options.json ? JsonReport(result) : TextReport(result), {}};
  if (options.html) made.page = HtmlReport(result);
  return made;
}

// The page waits in its temporary file until the report is out and flushed, so that a run
// that fails anywhere leaves no page.
ExitCode Deliver(const Options& options, const Reports& made, std::FILE* out, std::FILE* err) {
  if (!PageToFile(options)) return Emit(out, err, made.report);
  PreparedFile page(*options.html, made.page);
  if (!page.Prepared().Saved()) {
    Say(err, "cannot write " + *options.html + ": " + page.Prepared().code.message());
    return ExitCode::NotWritten;
  }
  if (const ExitCode code = Emit(out, err, made.report); code != ExitCode::Done) return code;
  if (const SaveResult saved = page.Commit(); !saved.Saved()) {
    Say(err, "cannot write " + *options.html + ": " + saved.code.message());
    return ExitCode::NotWritten;
  }
  return ExitCode::Done;
}

ExitCode Run(std::span<const std::string> args, std::FILE* out, std::FILE* err) {
  Options options;
  try {
    options = Parse(args);
  } catch (const UsageError& usage) {
    Say(err, usage.message);
    std::fprintf(err, "Try '%s --help'.\n", kProgram.data());
    return ExitCode::Usage;
  }
  if (options.help) return Emit(out, err, Help());
  if (options.version) return Emit(out, err, std::string(kProgram) + " " VEXILO_VERSION "\n");
  if (options.open) {
    std::string chosen;
    if (const std::error_code code = PageToOpen(options.logs.front(), chosen)) {
      Say(err, "no place for the page of " + options.logs.front() + ": " + code.message());
      return ExitCode::NotWritten;
    }
    options.html = chosen;
  }
  if (const std::optional<std::string> log = LogThePageWouldReplace(options)) {
    Say(err, "the page " + *options.html + " would replace the log " + *log +
                 "; nothing was read or written");
    return ExitCode::Usage;
  }
  WarnOfRepeats(err, options.logs);
  Reports made;
  try {
    made = Make(options);
  } catch (const SpinLogError& bad) {
    std::fprintf(err, "%s\n", bad.what());
    return ExitCode::BadInput;
  } catch (const std::system_error& unreadable) {
    std::fprintf(err, "%s\n", unreadable.what());
    return ExitCode::BadInput;
  }
  const ExitCode delivered = Deliver(options, made, out, err);
  if (delivered != ExitCode::Done || !options.open) return delivered;
  if (const ShowResult shown = ShowInBrowser(*options.html); !shown.Shown()) {
    Say(err, shown.message);
    return ExitCode::NotWritten;
  }
  return ExitCode::Done;
}

}  // namespace

ExitCode RunCommandLine(std::span<const std::string> args, std::FILE* out, std::FILE* err) {
  // Whatever escapes becomes a message and an exit code, never an abort.
  try {
    return Run(args, out, err);
  } catch (const std::bad_alloc&) {
    std::fputs("vexilo-stats: not enough memory to make the report\n", err);
  } catch (const std::exception& error) {
    std::fprintf(err, "%s: the report could not be made: %s\n", kProgram.data(), error.what());
  } catch (...) {
    std::fprintf(err, "%s: the report could not be made: an unexpected error\n", kProgram.data());
  }
  return ExitCode::NotWritten;
}

}  // namespace vexilo::stats
