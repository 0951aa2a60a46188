#include "stats/report/TextReport.h"

#include <array>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "stats/report/ReportWords.h"
#include "stats/report/TextFormat.h"

namespace vexilo::stats {
namespace {

// Columns of fixed width: text left-aligned in a negative width, right-aligned otherwise.
class Columns {
 public:
  Columns(std::initializer_list<int> widths) : widths_(widths) {}

  void Row(std::string& out, std::initializer_list<std::string> cells) const {
    Row(out, std::vector<std::string>(cells));
  }
  void Row(std::string& out, std::span<const std::string_view> cells) const {
    Row(out, std::vector<std::string>(cells.begin(), cells.end()));
  }

 private:
  void Row(std::string& out, const std::vector<std::string>& cells) const {
    std::string line = "  ";
    std::size_t column = 0;
    for (const std::string& cell : cells) {
      const int width = column < widths_.size() ? widths_[column] : 0;
      const std::size_t room = static_cast<std::size_t>(width < 0 ? -width : width);
      const std::size_t pad = cell.size() < room ? room - cell.size() : 0;
      if (column > 0) line += ' ';
      if (width >= 0) line.append(pad, ' ');
      line += cell;
      if (width < 0) line.append(pad, ' ');
      ++column;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += line;
    out += '\n';
  }

  std::vector<int> widths_;
};

constexpr std::size_t kWidth = 100;  // the terminal the text is laid out for

void Heading(std::string& out, std::string_view title) {
  out += '\n';
  out += title;
  out += '\n';
}

void Paragraph(std::string& out, std::string_view text, std::size_t indent = 0) {
  out += Wrapped(text, kWidth, indent);
}

void WriteAnswer(std::string& out, const Analysis& a) {
  if (a.spins > 0) Paragraph(out, VerdictLine(a));
  Paragraph(out, TextLead(a));
  if (a.spins > 0) Paragraph(out, VerdictDetail(a));
}

bool Checked(const Holdout& h) {
  return h.fraction > 0 && h.enough && !h.candidates.empty();
}

// The candidates on the later spins: those the answer shows, or all of them.
void WriteCandidates(std::string& out, const Holdout& h, bool all) {
  const Columns table{7, 7, 9, 8, -16, -16, -40};
  const std::string level = " (" + ConfidencePercent() + ")";
  table.Row(out, {"earlier", "later", "expected", "p (Holm)", "share" + level, "return" + level,
                  "candidate"});
  for (std::size_t i = 0; i < h.candidates.size(); ++i) {
    if (!all && !Leads(h, i)) continue;
    const Candidate& c = h.candidates[i];
    table.Row(out, {Count(c.earlier_hits), Count(c.hits), Fixed(c.expected, 1),
                    FormatP(c.adjusted_p), Interval(c.share_ci, Percent),
                    Interval(c.return_ci, SignedPercent), CandidateName(c)});
  }
}

void WriteLaterSpins(std::string& out, const Analysis& a) {
  const Holdout& h = a.holdout;
  Heading(out, HeadingOf(Part::LaterSpins));
  Paragraph(out, HoldoutWords(a));
  if (!Checked(h)) return;
  WriteCandidates(out, h, false);
  for (std::size_t i = 0; i < h.candidates.size(); ++i) {
    const Candidate& c = h.candidates[i];
    if (!Explains(h, i)) continue;
    out += "  " + Wrapped(CandidateSentence(h, c), kWidth - 2, 2);
  }
}

void WriteFiles(std::string& out, const Analysis& a) {
  Heading(out, HeadingOf(Part::Logs));
  if (const std::string agree = LogsAgreeWords(a); !agree.empty()) Paragraph(out, agree);
  const Columns table{12, 12, 9, 8, -50};
  table.Row(out, {"spins", "analysed", "p (37)", "hottest", "log"});
  for (const FileFigures& f : a.files) {
    table.Row(out, {Count(f.spins), Count(f.analysed), FormatP(f.test.p_value),
                    NumberOrNone(f.hottest), LogName(f.name)});
  }
}

void WriteTests(std::string& out, const Analysis& a) {
  Heading(out, HeadingOf(Part::Details));
  Paragraph(out, DetailsWords());
  Heading(out, HeadingOf(Part::Fit));
  const Columns table{-10, 10, 4, 8, -60};
  table.Row(out, HeadsOf(Heads::Fit));
  std::vector<const FitTest*> tests;
  for (const FitTest& t : a.tests) tests.push_back(&t);
  tests.push_back(&a.signature.test);
  for (const FitTest* t : tests) {
    table.Row(out, {std::string(FamilyName(t->family)), Fixed(t->statistic, 2), Count(t->df),
                    FormatP(t->p_value), TestVerdict(*t)});
  }
}

void WriteEveryCandidate(std::string& out, const Analysis& a) {
  if (!Checked(a.holdout)) return;
  Heading(out, EveryCandidateWords());
  WriteCandidates(out, a.holdout, true);
}

// A number's flag in capitals, so that it stands out of the column; nothing when it is none.
std::string Flag(Heat heat) {
  std::string flag(heat == Heat::None ? "" : HeatName(heat));
  for (char& c : flag) c = static_cast<char>(c - 'a' + 'A');
  return flag;
}

void WriteNumbers(std::string& out, const Analysis& a) {
  Heading(out, HeadingOf(Part::Numbers));
  const Columns table{6, 11, 8, 7, 10, 16, -5};
  table.Row(out, {"number", "count", "share", "z", "sleeper", "longest absence", "flag"});
  for (const NumberFigures& f : a.numbers) {
    table.Row(out, {Count(f.number), Count(f.count), Percent(f.share), Signed(f.z),
                    Count(f.since_last), Count(f.longest_absence), Flag(f.heat)});
  }
  Paragraph(out, HeatWords(a, true));
  Paragraph(out, HeatWords(a, false));
  Paragraph(out, SleepersWords());
}

void WriteGroups(std::string& out, const Analysis& a) {
  Heading(out, HeadingOf(Part::Groups));
  const Columns table{-7, -26, 11, 8, 9, 7};
  table.Row(out, HeadsOf(Heads::Groups));
  for (const GroupFigures& g : a.groups) {
    table.Row(out, {std::string(FamilyName(g.family)), g.name, Count(g.count), Percent(g.share),
                    Percent(g.expected), Signed(g.z)});
  }
}

void WriteArcs(std::string& out, const Analysis& a) {
  Heading(out, HeadingOf(Part::Arcs));
  const Columns table{6, 11, 11, 6, -54};
  table.Row(out, HeadsOf(Heads::Arcs));
  for (const ArcFigures& arc : a.arcs) {
    table.Row(out, {Count(arc.length), Count(arc.count), Fixed(arc.expected, 1), Signed(arc.z),
                    NumberList(arc.pockets)});
  }
  Paragraph(out, ArcWords(a) + " " + SeedWords(a));
}

void WriteSignature(std::string& out, const Analysis& a) {
  Heading(out, HeadingOf(Part::Signature));
  constexpr int kPerRow = 10;
  for (int first = 0; first < kPockets; first += kPerRow) {
    std::string line = first == 0 ? "  distance" : "          ";
    std::string counts = "  spins   ";
    for (int d = first; d < std::min(first + kPerRow, kPockets); ++d) {
      const std::string label = Count(d);
      const std::string count = Count(a.signature.counts[d]);
      line += std::string(9 - std::min<std::size_t>(label.size(), 8), ' ') + label;
      counts += std::string(9 - std::min<std::size_t>(count.size(), 8), ' ') + count;
    }
    out += line + '\n' + counts + '\n';
  }
  Paragraph(out, FitWords(a.signature.test));
}

void WriteStreaks(std::string& out, const Analysis& a) {
  Heading(out, HeadingOf(Part::Streaks));
  const Columns table{-12, 8, 8};
  table.Row(out, HeadsOf(Heads::Streaks));
  for (const Streak& s : a.streaks) table.Row(out, {s.name, Count(s.longest), Count(s.current)});
}

void WritePower(std::string& out, const Analysis& a) {
  Heading(out, HeadingOf(Part::Power));
  const Columns table{-32, 14, 14};
  table.Row(out, HeadsOf(Heads::Power));
  for (const PowerFigures& p : a.power) {
    table.Row(out, {BiasWords(p), Count(p.spins_needed), Percent(p.power_now)});
  }
}

}  // namespace

std::string TextReport(const Analysis& a) {
  std::string out;
  WriteAnswer(out, a);
  if (a.spins > 0) WriteLaterSpins(out, a);
  WriteFiles(out, a);
  if (a.spins == 0) return out;
  WriteTests(out, a);
  WriteEveryCandidate(out, a);
  WriteNumbers(out, a);
  WriteGroups(out, a);
  WriteArcs(out, a);
  WriteSignature(out, a);
  WriteStreaks(out, a);
  WritePower(out, a);
  return out;
}

}  // namespace vexilo::stats
