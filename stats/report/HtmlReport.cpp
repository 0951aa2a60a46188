#include "stats/report/HtmlReport.h"

#include <array>
#include <initializer_list>
#include <span>
#include <string_view>

#include "stats/report/Markup.h"
#include "stats/report/Palette.h"
#include "stats/report/ReportCharts.h"
#include "stats/report/ReportWords.h"
#include "stats/report/TextFormat.h"
#include "stats/report/WheelPicture.h"

namespace vexilo::stats {
namespace {

constexpr std::string_view kStyle = R"css(
:root { color-scheme: light; }
body { font: 15px/1.45 system-ui, "DejaVu Sans", sans-serif; color: {ink}; background: {paper};
       max-width: 1260px; margin: 0 auto; padding: 1rem 1.5rem 3rem; }
h1 { font-size: 1.7rem; margin: .4rem 0 .2rem; }
h2 { font-size: 1.25rem; margin: 2rem 0 .6rem; border-bottom: 1px solid {rule}; }
.answer { background: {answer}; border-left: 6px solid {answer-edge}; padding: .6rem 1rem;
          margin: .6rem 0 1rem; }
.answer h1 { font-size: 1.35rem; line-height: 1.35; margin: .2rem 0 .4rem; max-width: 60rem; }
.answer p { margin: .3rem 0; }
.lead { font-size: 1.05rem; }
.app { font-size: .85rem; color: {faint}; margin: 0; }
ul.verdicts { padding-left: 1.2rem; margin: .4rem 0; }
.pictures { display: flex; flex-wrap: wrap; gap: 1rem 2rem; align-items: flex-start; }
.pictures figure:first-child { flex: 1 1 520px; }
figure { margin: .5rem 0; min-width: 0; }
figcaption { font-size: .85rem; color: {muted}; max-width: 46rem; }
svg { max-width: 100%; height: auto; display: block; }
svg text { font: 11px system-ui, "DejaVu Sans", sans-serif; fill: {ink};
           dominant-baseline: middle; }
svg .tick { text-anchor: middle; fill: {muted}; }
svg .end { text-anchor: end; }
svg .family { font-weight: bold; }
svg .pocket { font-size: 13px; font-weight: bold; text-anchor: middle; }
svg .on-dark { fill: {paper}; }
svg .centre { font-size: 20px; font-weight: bold; text-anchor: middle; }
svg .grid { stroke: {grid}; }
svg .band { fill: {band}; fill-opacity: .45; }
svg .expected { stroke: {ink}; stroke-width: 1.5; stroke-dasharray: 5 3; }
svg .share { fill: {plain}; }
svg .arc-mark { fill: {ink}; }
table { border-collapse: collapse; margin: .5rem 0 1rem; font-variant-numeric: tabular-nums; }
caption { text-align: left; font-weight: bold; padding: .2rem 0; }
th, td { padding: .15rem .6rem; border-bottom: 1px solid {grid}; }
th { text-align: left; background: {head}; }
tbody th { background: none; font-weight: 600; }
td.n { text-align: right; }
td.name { overflow-wrap: anywhere; }
.chip { display: inline-block; min-width: 1.6em; text-align: center; color: {paper};
        border-radius: 3px; font-weight: bold; }
.red { background: {red}; } .black { background: {black}; } .green { background: {green}; }
.flag { font-weight: bold; }
.hot { color: {hotter}; } .cold { color: {colder}; }
p, li { max-width: 52rem; }
footer { margin-top: 2.5rem; font-size: .8rem; color: {faint}; }
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

// A table: header cells, then rows of cells; cells given as numbers are right-aligned.
class Table {
 public:
  Table(Markup& page, std::string_view caption, std::initializer_list<std::string_view> heads)
      : Table(page, caption, std::span(heads.begin(), heads.size())) {}
  Table(Markup& page, std::string_view caption, std::span<const std::string_view> heads)
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
  // A number's flag, in the style sheet's class of its name; nothing when it is none.
  Table& Flag(Heat heat) {
    if (heat == Heat::None) return Cell("", "flag");
    return Cell(HeatName(heat), "flag " + std::string(HeatName(heat)));
  }
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
  Section(Markup& page, Part part) : page_(page) {
    page_.Open("section", {{"id", WordsOf(part).id}});
    page_.Element("h2", WordsOf(part).heading);
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

// The answer first: the verdict and what to do next, how it was reached, what was analysed.
void Answer(Markup& page, const Analysis& a) {
  page.Open("header", {{"id", "verdict"}, {"class", "answer"}});
  page.Element("p", {{"class", "app"}}, AppName());
  page.Element("h1", VerdictHeadline(a));
  if (a.spins > 0) page.Element("p", VerdictDetail(a));
  page.Element("p", {{"class", "lead"}}, Capitalised(SpinsLead(a)));
  page.Close();
}

// The candidates on the later spins: those the answer shows, or all of them.
void Candidates(Markup& page, const Holdout& h, std::string_view caption, bool all) {
  const std::string level = ConfidencePercent();
  Table table(page, caption,
              {"candidate", "earlier hits", "later hits", "expected", "p (Holm)",
               "share (" + level + ")", "return (" + level + ")"});
  for (std::size_t i = 0; i < h.candidates.size(); ++i) {
    if (!all && !Leads(h, i)) continue;
    const Candidate& c = h.candidates[i];
    table.Row().Head(CandidateName(c)).Number(Count(c.earlier_hits)).Number(Count(c.hits));
    table.Number(Fixed(c.expected, 1)).Number(FormatP(c.adjusted_p));
    table.Number(Interval(c.share_ci, Percent));
    table.Number(SignedPercent(c.return_rate) + " (" + Interval(c.return_ci, SignedPercent) + ")");
  }
}

bool Checked(const Holdout& h) {
  return h.fraction > 0 && h.enough && !h.candidates.empty();
}

void LaterSpins(Markup& page, const Analysis& a) {
  const Holdout& h = a.holdout;
  const Section section(page, Part::LaterSpins);
  page.Element("p", HoldoutWords(a));
  if (!Checked(h)) return;
  page.Open("ul", {{"class", "verdicts"}});
  for (std::size_t i = 0; i < h.candidates.size(); ++i) {
    const Candidate& c = h.candidates[i];
    if (!Explains(h, i)) continue;
    page.Element("li", CandidateSentence(h, c));
  }
  page.Close();
  Candidates(page, h, "", false);
}

void Summary(Markup& page, const Analysis& a) {
  const Section section(page, Part::Details);
  page.Element("p", DetailsWords());
  page.Open("ul", {{"class", "verdicts"}});
  page.Element("li", TestSentence(a.tests.front()));
  for (const FitTest& t : a.tests) {
    if (t.family == Family::Zero) page.Element("li", TestSentence(t));
  }
  page.Element("li", HeatWords(a, true));
  page.Element("li", HeatWords(a, false));
  page.Element("li", ArcWords(a));
  page.Element("li", TestSentence(a.signature.test));
  page.Close();
  if (Checked(a.holdout)) {
    Candidates(page, a.holdout, EveryCandidateWords(), true);
  }
}

void Files(Markup& page, const Analysis& a) {
  const Section section(page, Part::Logs);
  if (const std::string agree = LogsAgreeWords(a); !agree.empty()) page.Element("p", agree);
  Table table(page, Capitalised(std::string(WordsOf(Part::Logs).about)),
              {"log", "spins", "analysed", "p of its 37 numbers", "hottest"});
  for (const FileFigures& f : a.files) {
    table.Row().Cell(LogName(f.name)).Number(Count(f.spins)).Number(Count(f.analysed));
    table.Number(FormatP(f.test.p_value)).Number(NumberOrNone(f.hottest));
  }
}

void Pictures(Markup& page, const Analysis& a) {
  page.Open("div", {{"class", "pictures"}});
  Figure(page, a, CountsPicture, CountsCaption());
  Figure(page, a, WheelPicture, "");
  page.Close();
}

void Tests(Markup& page, const Analysis& a) {
  const Section section(page, Part::Fit);
  Table table(page, Capitalised(std::string(WordsOf(Part::Fit).about)), HeadsOf(Heads::Fit));
  for (const FitTest& t : a.tests) {
    table.Row().Head(FamilyName(t.family)).Number(Fixed(t.statistic, 2)).Number(Count(t.df));
    table.Number(FormatP(t.p_value)).Cell(TestVerdict(t));
  }
}

void Numbers(Markup& page, const Analysis& a) {
  const Section section(page, Part::Numbers);
  Figure(page, a, SleepersPicture, SleepersCaption());
  Table table(
      page, EveryNumberCaption(),
      {"number", "count", "share", "z", "adjusted p", "sleeper", "longest absence", "flag"});
  for (const NumberFigures& f : a.numbers) {
    table.Row().Chip(f.number).Number(Count(f.count)).Number(Percent(f.share));
    table.Number(Signed(f.z)).Number(FormatP(f.adjusted_p)).Number(Count(f.since_last));
    table.Number(Count(f.longest_absence)).Flag(f.heat);
  }
}

void Groups(Markup& page, const Analysis& a) {
  const Section section(page, Part::Groups);
  Figure(page, a, GroupsPicture, GroupsCaption());
  Table table(page, EveryGroupCaption(), HeadsOf(Heads::Groups));
  for (const GroupFigures& g : a.groups) {
    table.Row().Cell(FamilyName(g.family)).Head(g.name).Number(Count(g.count));
    table.Number(Percent(g.share));
    table.Number(Percent(g.expected)).Number(Signed(g.z));
  }
}

void Arcs(Markup& page, const Analysis& a) {
  const Section section(page, Part::Arcs);
  page.Element("p", ArcWords(a));
  Table table(page, EveryArcCaption(), HeadsOf(Heads::Arcs));
  for (const ArcFigures& arc : a.arcs) {
    table.Row().Number(Count(arc.length)).Number(Count(arc.count));
    table.Number(Fixed(arc.expected, 1)).Number(Signed(arc.z)).Cell(NumberList(arc.pockets));
  }
}

void SignatureSection(Markup& page, const Analysis& a) {
  const Section section(page, Part::Signature);
  page.Element("p", SignatureWords(a.signature.test));
  Figure(page, a, SignaturePicture, "");
  constexpr int kPerRow = 10;
  Table table(page, StepsCaption(), {});
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
  const Section section(page, Part::Streaks);
  Table table(page, Capitalised(std::string(WordsOf(Part::Streaks).about)),
              HeadsOf(Heads::Streaks));
  for (const Streak& s : a.streaks) {
    table.Row().Head(s.name).Number(Count(s.longest)).Number(Count(s.current));
  }
}

void Power(Markup& page, const Analysis& a) {
  const Section section(page, Part::Power);
  page.Element("p", PowerAbout(a));
  Table table(page, "", HeadsOf(Heads::Power));
  for (const PowerFigures& p : a.power) {
    table.Row().Head(BiasWords(p));
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
  page.Element("title", PageTitle(a));
  page.Open("style").Trusted(WithColours(kStyle)).Close();
  page.Close().Open("body");
  Answer(page, a);
  if (a.spins > 0) LaterSpins(page, a);
  Files(page, a);
  if (a.spins > 0) {
    Pictures(page, a);
    Summary(page, a);
    Tests(page, a);
    Numbers(page, a);
    Groups(page, a);
    Arcs(page, a);
    SignatureSection(page, a);
    Streaks(page, a);
    Power(page, a);
  }
  page.Element("footer", FooterWords(a));
  page.Close().Close();
  return page.Take();
}

}  // namespace vexilo::stats
