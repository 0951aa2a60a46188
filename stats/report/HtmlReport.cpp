#include "stats/report/HtmlReport.h"

#include <array>
#include <initializer_list>
#include <string_view>

#include "stats/report/Markup.h"
#include "stats/report/ReportCharts.h"
#include "stats/report/ReportWords.h"
#include "stats/report/TextFormat.h"
#include "stats/report/WheelPicture.h"

namespace vexilo::stats {
namespace {

constexpr std::string_view kStyle = R"css(
:root { color-scheme: light; }
body { font: 15px/1.45 system-ui, "DejaVu Sans", sans-serif; color: #1b1b1b; background: #fff;
       max-width: 1260px; margin: 0 auto; padding: 1rem 1.5rem 3rem; }
h1 { font-size: 1.7rem; margin: .4rem 0 .2rem; }
h2 { font-size: 1.25rem; margin: 2rem 0 .6rem; border-bottom: 1px solid #ccc; }
.lead { font-size: 1.1rem; margin: 0 0 .8rem; }
ul.verdicts { padding-left: 1.2rem; margin: .4rem 0; }
.pictures { display: flex; flex-wrap: wrap; gap: 1rem 2rem; align-items: flex-start; }
.pictures figure:first-child { flex: 1 1 520px; }
figure { margin: .5rem 0; min-width: 0; }
figcaption { font-size: .85rem; color: #444; max-width: 46rem; }
svg { max-width: 100%; height: auto; display: block; }
svg text { font: 11px system-ui, "DejaVu Sans", sans-serif; fill: #1b1b1b;
           dominant-baseline: middle; }
svg .tick { text-anchor: middle; fill: #444; }
svg .end { text-anchor: end; }
svg .family { font-weight: bold; }
svg .pocket { font-size: 13px; font-weight: bold; text-anchor: middle; }
svg .on-dark { fill: #fff; }
svg .centre { font-size: 20px; font-weight: bold; text-anchor: middle; }
svg .grid { stroke: #e4e4e4; }
svg .band { fill: #9ecae1; fill-opacity: .45; }
svg .expected { stroke: #1b1b1b; stroke-width: 1.5; stroke-dasharray: 5 3; }
svg .share { fill: #4a6b8a; }
svg .arc-mark { fill: #1b1b1b; }
table { border-collapse: collapse; margin: .5rem 0 1rem; font-variant-numeric: tabular-nums; }
caption { text-align: left; font-weight: bold; padding: .2rem 0; }
th, td { padding: .15rem .6rem; border-bottom: 1px solid #e4e4e4; }
th { text-align: left; background: #f3f3f3; }
tbody th { background: none; font-weight: 600; }
td.n { text-align: right; }
td.name { overflow-wrap: anywhere; }
.chip { display: inline-block; min-width: 1.6em; text-align: center; color: #fff;
        border-radius: 3px; font-weight: bold; }
.red { background: #c8102e; } .black { background: #1a1a1a; } .green { background: #00843d; }
.flag { font-weight: bold; }
.hot { color: #b35806; } .cold { color: #542788; }
p, li { max-width: 52rem; }
footer { margin-top: 2.5rem; font-size: .8rem; color: #555; }
@media print {
  * { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
  @page { margin: 14mm; }
  body { font-size: 9.5pt; max-width: none; padding: 0; }
  h2 { break-after: avoid; margin-top: 1.2rem; }
  figure, table, .pictures { break-inside: avoid; }
  .pictures { display: block; }
}
)css";

constexpr std::array<std::string_view, 3> kChipClasses = {"chip red", "chip black", "chip green"};
// Indexed by Heat: the flag's word, and its class in the wheel's colours.
constexpr std::array<std::string_view, 3> kFlags = {"", "hot", "cold"};
constexpr std::array<std::string_view, 3> kFlagClasses = {"flag", "flag hot", "flag cold"};

std::string Count(std::int64_t n) {
  return std::to_string(n);
}

std::string LogName(const std::string& name) {
  return name == "-" ? "(standard input)" : name;
}

// A table: header cells, then rows of cells; cells given as numbers are right-aligned.
class Table {
 public:
  Table(Markup& page, std::string_view caption, std::initializer_list<std::string_view> heads)
      : page_(page) {
    page_.Open("table");
    if (!caption.empty()) page_.Element("caption", caption);
    if (heads.size() > 0) {
      page_.Open("thead").Open("tr");
      for (const std::string_view head : heads) page_.Element("th", {{"scope", "col"}}, head);
      page_.Close().Close();
    }
    page_.Open("tbody");
  }
  ~Table() {
    if (inRow_) page_.Close();
    page_.Close().Close();
  }
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  Table& Row() {
    if (inRow_) page_.Close();
    page_.Open("tr");
    inRow_ = true;
    return *this;
  }
  Table& Cell(std::string_view text) { return Put("td", {}, text); }
  Table& Cell(std::string_view text, std::string_view style) {
    return Put("td", {{"class", style}}, text);
  }
  Table& Number(std::string_view text) { return Put("td", {{"class", "n"}}, text); }
  Table& Head(std::string_view text) { return Put("th", {{"scope", "row"}}, text); }
  Table& Chip(int number) {
    page_.Open("td");
    page_.Element("span", {{"class", kChipClasses[ColourIndex(PocketOf(number).color)]}},
                  std::to_string(number));
    page_.Close();
    return *this;
  }

 private:
  Table& Put(std::string_view tag, Markup::Attributes attributes, std::string_view text) {
    page_.Element(tag, attributes, text);
    return *this;
  }

  Markup& page_;
  bool inRow_ = false;
};

// A <section> with its heading, closed when it goes; declared before the tables inside it.
class Section {
 public:
  Section(Markup& page, std::string_view id, std::string_view heading) : page_(page) {
    page_.Open("section", {{"id", id}});
    page_.Element("h2", heading);
  }
  ~Section() { page_.Close(); }
  Section(const Section&) = delete;
  Section& operator=(const Section&) = delete;

 private:
  Markup& page_;
};

using Picture = void (*)(Markup&, const Analysis&);

void Figure(Markup& page, const Analysis& a, Picture picture, std::string_view caption) {
  page.Open("figure");
  picture(page, a);
  if (!caption.empty()) page.Element("figcaption", caption);
  page.Close();
}

std::string Lead(const Analysis& a) {
  if (a.spins == 0) return "Nothing to analyse: the logs hold no spins.";
  const std::size_t logs = a.files.size();
  return Count(a.spins) + " spins analysed from " + Count(static_cast<std::int64_t>(logs)) +
         (logs == 1 ? " log" : " logs") + ", oldest first.";
}

std::string HeatSentence(const Analysis& a, int number, std::string_view word) {
  const NumberFigures& f = a.numbers[number];
  return std::string(word == "hot" ? "Hottest" : "Coldest") + " number: " + Count(number) + ", z " +
         Signed(f.z) + ", adjusted p = " + FormatP(f.adjusted_p) +
         (f.heat != Heat::None ? ": " + std::string(word) + ", even after correcting"
                               : ": not " + std::string(word) + " once corrected") +
         " for looking at 37 numbers at once (Holm).";
}

std::string ArcSentence(const Analysis& a) {
  const ArcFigures& best = a.arcs[a.best_arc];
  return "Best arc of the wheel: " + Count(best.length) +
         (best.length == 1 ? " pocket" : " neighbouring pockets") + ", z " + Signed(best.z) +
         ", p = " + FormatP(a.arc_p_value) + " against " + Count(a.simulations) +
         " simulated fair wheels: " +
         (a.arc_p_value < kLevel ? "a favoured arc at the 5% level."
                                 : "no sign of a favoured arc at the 5% level.");
}

// The verdict of a flagged test already gives its p-value.
std::string TestSentence(std::string_view what, const FitTest& t) {
  return std::string(what) + ": " + TestVerdict(t) + " (chi-square " + Fixed(t.statistic, 2) + ", df " +
         Count(t.df) + (t.p_value < kLevel ? "" : ", p = " + FormatP(t.p_value)) + ").";
}

void Summary(Markup& page, const Analysis& a) {
  page.Open("ul", {{"class", "verdicts"}});
  page.Element("li", TestSentence("The 37 numbers", a.tests.front()));
  page.Element("li", HeatSentence(a, a.hottest, "hot"));
  page.Element("li", HeatSentence(a, a.coldest, "cold"));
  page.Element("li", ArcSentence(a));
  page.Element("li", TestSentence("The dealer's signature", a.signature.test));
  page.Close();
}

void Files(Markup& page, const Analysis& a) {
  Table table(page, "The logs, in the order read", {"log", "spins", "analysed"});
  for (const FileFigures& f : a.files) {
    table.Row().Cell(LogName(f.name)).Number(Count(f.spins)).Number(Count(f.analysed));
  }
}

void Pictures(Markup& page, const Analysis& a) {
  page.Open("div", {{"class", "pictures"}});
  Figure(page, a, CountsPicture,
         "Counts of each number. Dashed: what a fair wheel gives each; shaded: where 95 of 100 "
         "fair wheels' counts fall, so about 2 numbers in 37 fall outside by chance.");
  Figure(page, a, WheelPicture, "");
  page.Close();
}

void Tests(Markup& page, const Analysis& a) {
  const Section section(page, "fit", "Goodness of fit");
  Table table(page, "Chi-square against a fair wheel, zero a cell of its own",
              {"test", "statistic", "df", "p", "verdict"});
  for (const FitTest& t : a.tests) {
    table.Row().Head(t.family).Number(Fixed(t.statistic, 2)).Number(Count(t.df));
    table.Number(FormatP(t.p_value)).Cell(TestVerdict(t));
  }
}

void Numbers(Markup& page, const Analysis& a) {
  const Section section(page, "numbers", "Numbers");
  Figure(page, a, SleepersPicture,
         "Spins since each number last came up (dark), in front of its longest absence (light). "
         "Dashed: the absence a fair wheel reaches for one given number 1 time in 20.");
  Table table(
      page, "Every number; a fair wheel gives each 2.70%",
      {"number", "count", "share", "z", "adjusted p", "sleeper", "longest absence", "flag"});
  for (const NumberFigures& f : a.numbers) {
    table.Row().Chip(f.number).Number(Count(f.count)).Number(Percent(f.share));
    table.Number(Signed(f.z)).Number(FormatP(f.adjusted_p)).Number(Count(f.since_last));
    table.Number(Count(f.longest_absence))
        .Cell(kFlags[static_cast<int>(f.heat)], kFlagClasses[static_cast<int>(f.heat)]);
  }
}

void Groups(Markup& page, const Analysis& a) {
  const Section section(page, "board-groups", "Groups of the board");
  Figure(page, a, GroupsPicture,
         "Zero counts against every group, so a fair wheel gives red 18 in 37 spins, not half.");
  Table table(page, "Every group", {"family", "group", "count", "share", "expected", "z"});
  for (const GroupFigures& g : a.groups) {
    table.Row().Cell(g.family).Head(g.name).Number(Count(g.count)).Number(Percent(g.share));
    table.Number(Percent(g.expected)).Number(Signed(g.z));
  }
}

void Arcs(Markup& page, const Analysis& a) {
  const Section section(page, "arcs", "Arcs of the wheel");
  page.Element("p", ArcSentence(a));
  Table table(page, "The arc of each length that came up most often against a fair wheel",
              {"length", "count", "expected", "z", "pockets in wheel order"});
  for (const ArcFigures& arc : a.arcs) {
    std::string pockets;
    for (const int n : arc.pockets) pockets += (pockets.empty() ? "" : " ") + Count(n);
    table.Row().Number(Count(arc.length)).Number(Count(arc.count));
    table.Number(Fixed(arc.expected, 1)).Number(Signed(arc.z)).Cell(pockets);
  }
}

void SignatureSection(Markup& page, const Analysis& a) {
  const Section section(page, "dealer", "The dealer's signature");
  page.Element("p",
               "How many pockets round the wheel each spin landed from the one before. A dealer "
               "who launches the ball the same way leaves a bump here that no count of numbers "
               "shows. " +
                   TestSentence("Uniformity", a.signature.test));
  Figure(page, a, SignaturePicture, "");
  constexpr int kPerRow = 10;
  Table table(page, "Steps from one spin to the next", {});
  for (int first = 0; first < kPockets; first += kPerRow) {
    table.Row().Head("pockets");
    for (int d = first; d < std::min(first + kPerRow, kPockets); ++d) table.Number(Count(d));
    table.Row().Head("steps");
    for (int d = first; d < std::min(first + kPerRow, kPockets); ++d) {
      table.Number(Count(a.signature.counts[d]));
    }
  }
}

void Streaks(Markup& page, const Analysis& a) {
  const Section section(page, "streaks", "Streaks");
  Table table(page, "Spins in a row", {"", "longest", "current"});
  for (const Streak& s : a.streaks) {
    table.Row().Head(s.name).Number(Count(s.longest)).Number(Count(s.current));
  }
}

void Power(Markup& page, const Analysis& a) {
  const Section section(page, "power", "How many spins are enough");
  page.Element("p",
               "Spins the 37-number test needs to see one pocket that comes up more often than "
               "a fair one, at the 5% level with 80% power, and the chance it sees it with the " +
                   Count(a.spins) + " spins analysed.");
  Table table(page, "", {"one pocket comes up", "spins needed", "power now"});
  for (const PowerFigures& p : a.power) {
    table.Row().Head(Fixed(100 * p.excess, 0) + "% more often");
    table.Number(Count(p.spins_needed)).Number(Percent(p.power_now));
  }
}

}  // namespace

std::string HtmlReport(const Analysis& a) {
  Markup page;
  page.Trusted("<!DOCTYPE html>\n");
  page.Open("html", {{"lang", "en"}}).Open("head");
  page.Empty("meta", {{"charset", "utf-8"}});
  page.Empty("meta", {{"name", "generator"}, {"content", "vexilo-stats " VEXILO_VERSION}});
  page.Empty("meta", {{"name", "viewport"}, {"content", "width=device-width, initial-scale=1"}});
  page.Element("title", "Vexilo Stats: " + Count(a.spins) + " spins");
  page.Open("style").Trusted(kStyle).Close();
  page.Close().Open("body");
  page.Element("h1", "Vexilo Stats");
  page.Element("p", {{"class", "lead"}}, Lead(a));
  if (a.spins > 0) {
    Summary(page, a);
    Pictures(page, a);
  }
  Files(page, a);
  if (a.spins > 0) {
    Tests(page, a);
    Numbers(page, a);
    Groups(page, a);
    Arcs(page, a);
    SignatureSection(page, a);
    Streaks(page, a);
    Power(page, a);
  }
  page.Element("footer", "Made by vexilo-stats " VEXILO_VERSION ", best arc against " +
                             Count(a.simulations) + " fair wheels, seed " +
                             std::to_string(a.seed) + ".");
  page.Close().Close();
  return page.Take();
}

}  // namespace vexilo::stats
