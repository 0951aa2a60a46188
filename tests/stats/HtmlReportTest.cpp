#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "stats/analysis/Analyse.h"
#include "stats/report/HtmlReport.h"
#include "stats/report/Markup.h"
#include "stats/report/ReportWords.h"
#include "stats/report/SvgPicture.h"
#include "stats/report/TextReport.h"
#include "stats/report/WheelPicture.h"

namespace vexilo::stats {
namespace {

constexpr std::string_view kHostileName = "<i>x&.CSV";

std::size_t Occurrences(const std::string& text, std::string_view part) {
  std::size_t found = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++found;
  }
  return found;
}

TEST(Markup, TextFromOutsideNeverBecomesMarkup) {
  struct Case {
    std::string_view text, escaped;
  };
  const std::vector<Case> cases = {
      {kHostileName, "&lt;i&gt;x&amp;.CSV"},
      {"a\"b'c", "a&quot;b&#39;c"},
      {"caf\xC3\xA9 \xE6\x97\xA5", "caf\xC3\xA9 \xE6\x97\xA5"},  // UTF-8 stays as it is
      {"\xFFok", "\xEF\xBF\xBDok"},                              // not UTF-8
      {"cut\xE6\x97", "cut\xEF\xBF\xBD\xEF\xBF\xBD"},            // a character cut short
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // an overlong '/'
      {"a\x01"
       "b\x7F",
       "a\xEF\xBF\xBD"
       "b\xEF\xBF\xBD"},  // control characters
      {"tab\there\r\n", "tab\there\r\n"},
      {std::string_view("\x00\x0B\x0C\x1B\x1F", 5),
       "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // every other below 0x20
  };
  for (const Case& c : cases) {
    std::string out;
    AppendEscaped(out, c.text);
    EXPECT_EQ(out, c.escaped) << c.text;
  }
  Markup page;
  page.Open("p", {{"title", "\"><script>"}}).Text("</p>").Close();
  EXPECT_EQ(page.Take(), "<p title=\"&quot;&gt;&lt;script&gt;\">&lt;/p&gt;</p>\n");
}

// Full colour at three standard errors and beyond, white-ish at none; a missing z is neutral.
TEST(WheelPicture, DeviationScale) {
  const std::vector<std::pair<double, std::string>> cases = {
      {-10, "#542788"},
      {-3, "#542788"},
      {0, "#f7f7f7"},
      {1.5, "#d5a87f"},
      {3, "#b35806"},
      {99, "#b35806"},
      {std::numeric_limits<double>::quiet_NaN(), "#f7f7f7"},
  };
  for (const auto& [z, colour] : cases) EXPECT_EQ(DeviationColour(z), colour) << z;
}

// p-values that never mislead: not rounded onto the 5% line, a floor of the simulation not
// passed off as an estimate, nothing written as "0".
TEST(ReportWords, PValues) {
  const std::vector<std::tuple<double, int, std::string>> cases = {
      {0.43, 0, "p = 0.43"},
      {0.046, 0, "p = 0.046"},
      {0.05, 0, "p = 0.050"},
      {0.0496, 0, "p = 0.0496"},
      {0.0499996, 0, "p = 0.0499996"},
      {2.1e-5, 0, "p = 2.1e-05"},
      {1e-320, 0, "p < 1e-300"},
      {0, 0, "p < 1e-300"},
      {1.0 / 10001, 10000, "p < 0.0001 (none of 10000 fair wheels)"},
      {1.0 / 1001, 1000, "p < 0.001 (none of 1000 fair wheels)"},
      {2.0 / 10001, 10000, "p = 2.0e-04"},
  };
  for (const auto& [p, simulations, text] : cases) {
    EXPECT_EQ(SimulatedPWords(p, simulations), text) << p;
  }
}

// Data for the answer: a wheel of 2000 spins whose figures are set by hand.
Analysis Answered() {
  std::vector<std::uint8_t> spins;
  for (int i = 0; i < 2000; ++i) spins.push_back(static_cast<std::uint8_t>(i * 7 % 37));
  Analysis a = AnalyseSpins(spins);
  a.verdict = {0.43, false, Look::Numbers, 0.2};
  a.power = {{BiasKind::Number, 1, 0.10, 95000, 0.12},
             {BiasKind::Number, 1, 0.50, 3800, 0.79},
             {BiasKind::Arc, 5, 0.25, 9000, 0.4}};
  a.holdout.fraction = 0.5;
  a.holdout.earlier_spins = a.holdout.later_spins = 5000;
  a.holdout.enough = true;
  Candidate arc;
  arc.kind = CandidateKind::Arc;
  arc.pockets = {2, 25, 17, 34, 6};
  arc.hits = 800;
  arc.expected = 5000 * 5 / 37.0;
  arc.adjusted_p = 0.001;
  arc.return_rate = 0.041;
  arc.return_ci = {-0.012, 0.095};
  Candidate number = arc;
  number.kind = CandidateKind::Number;
  number.pockets = {17};
  number.adjusted_p = 0.2;
  a.holdout.candidates = {number, arc};
  a.holdout.best_arc = 1;
  return a;
}

// The answer in plain words and what to do next, for each kind of outcome.
TEST(ReportWords, TheAnswer) {
  struct Case {
    void (*set)(Analysis&);
    std::string words;
  };
  const std::vector<Case> cases = {
      {[](Analysis&) {},
       "no sign the wheel is biased (which is not proof that it is fair); with 2000 spins this "
       "report would catch a pocket 50% hot 8 times in 10 but one 10% hot only 1 time in 10: keep "
       "recording"},
      {[](Analysis& a) { a.verdict.biased = true; },
       "the arc 2 25 17 34 6 came up 18% more often and held up on the later spins; betting 2 25 "
       "17 34 6 straight up on the later 5000 spins would have returned +4.1% (95%: -1.2% to "
       "+9.5%); a fair wheel returns -2.7%: the edge is not established"},
      {[](Analysis& a) {
         a.verdict = {0.01, true, Look::Arc, 0.004};
         a.holdout.candidates[1].adjusted_p = 0.3;
       },
       "the wheel looks biased, led by the best arc, but nothing that looked hot on the earlier "
       "spins held up on the later ones: keep recording before betting anything"},
      {[](Analysis& a) {
         a.verdict.biased = true;
         a.holdout.enough = false;
       },
       "the wheel looks biased, led by the 37 numbers, but too few later spins to check it: keep "
       "recording"},
      {[](Analysis& a) { a.spins = 0; }, "nothing to analyse"},
  };
  for (const Case& c : cases) {
    Analysis a = Answered();
    c.set(a);
    EXPECT_EQ(VerdictWords(a), c.words);
  }
  const std::vector<std::pair<std::string, std::string>> words = {
      {SpinsWords(1), "1 spin"},
      {LevelPercent() + ", " + LevelOfFair() + ", " + LevelOneIn(), "5%, 95 of 100, 1 time in 20"},
      {TestVerdict({Family::Dozen, 11.4, 3, 0.003, "zero", 2.47}),
       "the dozens are uneven, driven by zero: z +2.47"},
      {TestVerdict({Family::Zero, 6.1, 1, 0.013, "zero", 2.47}),
       "zero comes up too often: z +2.47"},
      {TestVerdict({Family::Colour, 1.1, 2, 0.58, "red", 0.9}), "no sign of bias at the 5% level"},
  };
  for (const auto& [got, expected] : words) EXPECT_EQ(got, expected);
}

// Both reports lead with the answer, then the later spins, then the logs, then the details.
TEST(Reports, LeadWithTheAnswer) {
  Analysis a = Answered();
  a.files.push_back(a.files.front());
  a.files.back().name = "second.CSV";
  a.logs_agree = Homogeneity{80.2, 36, 0.00003, false};
  const std::string page = HtmlReport(a);
  const std::string body = page.substr(page.find("<body>"));
  EXPECT_EQ(body.rfind("<body><header id=\"verdict\" class=\"answer\">", 0), 0u)
      << body.substr(0, 80);
  const std::string text = TextReport(a);
  EXPECT_EQ(text.rfind("Verdict: no sign the wheel is biased", 0), 0u) << text.substr(0, 80);
  const std::vector<std::pair<const std::string*, std::vector<std::string_view>>> orders = {
      {&page,
       {"id=\"verdict\"", "betting 2 25 17 34 6",
        "The wheel changed between logs (was it serviced?)", "<svg id=\"counts\"",
        "id=\"details\""}},
      {&text,
       {"Verdict:", "betting 2 25 17 34 6", "The wheel changed between logs (was it serviced?)",
        "Goodness of fit"}},
  };
  for (const auto& [report, parts] : orders) {
    std::size_t last = 0;
    for (const std::string_view part : parts) {
      const std::size_t at = report->find(part);
      EXPECT_NE(at, std::string::npos) << part;
      EXPECT_GE(at, last) << part;
      last = at == std::string::npos ? last : at;
    }
  }
}

TEST(SvgPicture, TickSteps) {
  const std::vector<std::tuple<double, int, double>> cases = {
      {200, 5, 50}, {7, 5, 2}, {1e6, 4, 5e5}, {0.3, 5, 0.1}, {0, 5, 1}};
  for (const auto& [top, ticks, step] : cases) EXPECT_DOUBLE_EQ(TickStep(top, ticks), step) << top;
}

TEST(HtmlReport, OnePageThatFetchesNothingAndNamesEveryPicture) {
  std::vector<std::uint8_t> spins;
  for (int i = 0; i < 740; ++i) spins.push_back(static_cast<std::uint8_t>(i * 7 % 37));
  Analysis a = AnalyseSpins(spins);
  a.files.front().name = kHostileName;
  const std::string page = HtmlReport(a);

  EXPECT_EQ(page.rfind("<!DOCTYPE html>\n<html lang=\"en\">", 0), 0u);
  EXPECT_EQ(Occurrences(page, "&lt;i&gt;x&amp;.CSV"), 1u);
  for (const std::string_view outside :
       {"<i>", "<script", "src=", "href=", "<link", "@import", "url(h", "url(/", "http"}) {
    EXPECT_EQ(page.find(outside), std::string::npos) << outside;
  }
  for (const std::string id : {"counts", "wheel", "sleepers", "groups", "signature"}) {
    EXPECT_EQ(Occurrences(page, "<svg id=\"" + id + "\""), 1u) << id;
    EXPECT_EQ(
        Occurrences(page, "role=\"img\" aria-labelledby=\"" + id + "-title " + id + "-desc\""), 1u)
        << id;
    EXPECT_EQ(Occurrences(page, "<title id=\"" + id + "-title\">"), 1u) << id;
    EXPECT_EQ(Occurrences(page, "<desc id=\"" + id + "-desc\">"), 1u) << id;
  }
  // Ids name one element each, or the pictures' labels point at the wrong one.
  std::set<std::string> ids;
  for (std::size_t at = page.find(" id=\""); at != std::string::npos;
       at = page.find(" id=\"", at + 1)) {
    const std::size_t from = at + 5;
    EXPECT_TRUE(ids.insert(page.substr(from, page.find('"', from) - from)).second)
        << page.substr(from, 20);
  }
  // The numbers are in tables too: a row for every number and group.
  EXPECT_EQ(Occurrences(page, "<span class=\"chip "), 37u);
  EXPECT_EQ(Occurrences(page, "<td>street</td>"), 12u);
}

TEST(HtmlReport, NothingToAnalyse) {
  Analysis a = AnalyseSpins({});
  a.files.front().name = "-";
  const std::string page = HtmlReport(a);
  EXPECT_NE(page.find("Nothing to analyse, the logs hold no spins."), std::string::npos);
  EXPECT_NE(page.find("(standard input)"), std::string::npos);
  EXPECT_EQ(page.find("<svg"), std::string::npos);
  a.files.front().spins = 3000;  // --last 0
  EXPECT_NE(HtmlReport(a).find("0 of 3000 spins analysed from 1 log (--last 0)"),
            std::string::npos);
}

// A tiny log: whole-number ticks, each label once; the best arc, not significant, is not drawn;
// the sleepers have no line that would make a number look due.
TEST(HtmlReport, TinyLogsMislead) {
  const std::string page = HtmlReport(AnalyseSpins(std::vector<std::uint8_t>{17, 0, 32}));
  const std::size_t from = page.find("<svg id=\"counts\"");
  const std::string counts = page.substr(from, page.find("</svg>", from) - from);
  for (const std::string_view tick : {">0<", ">1<", ">2<"}) {
    EXPECT_EQ(Occurrences(counts, std::string("class=\"tick end\"") + std::string(tick)), 1u)
        << tick;
  }
  EXPECT_EQ(Occurrences(page, "class=\"arc-mark\""), 0u);
  const std::size_t sleepers = page.find("<svg id=\"sleepers\"");
  EXPECT_EQ(page.substr(sleepers, page.find("</svg>", sleepers) - sleepers).find("expected"),
            std::string::npos);
  EXPECT_NE(page.find("No number is ever due"), std::string::npos);
}

}  // namespace
}  // namespace vexilo::stats
