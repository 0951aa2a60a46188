#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "stats/analysis/Analyse.h"
#include "stats/report/HtmlReport.h"
#include "stats/report/Markup.h"
#include "stats/report/SvgPicture.h"
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
  EXPECT_NE(page.find("Nothing to analyse: the logs hold no spins."), std::string::npos);
  EXPECT_NE(page.find("(standard input)"), std::string::npos);
  EXPECT_EQ(page.find("<svg"), std::string::npos);
}

}  // namespace
}  // namespace vexilo::stats
