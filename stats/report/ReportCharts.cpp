#include "stats/report/ReportCharts.h"

#include <algorithm>
#include <array>
#include <boost/math/distributions/normal.hpp>
#include <cmath>
#include <limits>
#include <numeric>
#include <string>
#include <string_view>

#include "stats/report/Palette.h"
#include "stats/report/ReportWords.h"
#include "stats/report/SvgPicture.h"
#include "stats/report/TextFormat.h"
#include "stats/report/WheelPicture.h"

namespace vexilo::stats {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr double kFair = 1.0 / kPockets;

// The count (or share) a fair wheel gives a cell hit with chance p in n trials, and the range
// 95% of fair wheels fall in, by the normal approximation.
struct FairRange {
  double expected = kNone;
  double low = kNone;
  double high = kNone;
};

double TwoSidedZ() {
  return boost::math::quantile(boost::math::complement(boost::math::normal(), kLevel / 2));
}

FairRange CountRange(std::int64_t trials, double p) {
  const double n = static_cast<double>(trials);
  const double spread = TwoSidedZ() * std::sqrt(n * p * (1 - p));
  return {n * p, std::max(0.0, n * p - spread), n * p + spread};
}

std::string Whole(double value) {
  return Fixed(value, 0);
}

// 37 bars, one per number or distance, over a shaded band and under a reference line.
struct BarChart {
  std::string_view id;
  Chart words;
  std::string description;
  std::array<double, kPockets> values{};
  std::array<double, kPockets> behind{};  // a lighter bar behind each; none when all 0
  bool pocketColours = true;              // each bar on its number's colour
  double line = kNone;
  FairRange band;
};

class BarLayout {
 public:
  static constexpr int kWidth = 760;
  static constexpr int kHeight = 270;
  static constexpr double kLeft = 52;
  static constexpr double kRight = 10;
  static constexpr double kTop = 14;
  static constexpr double kBottom = 46;
  static constexpr double kSlot = (kWidth - kLeft - kRight) / kPockets;

  explicit BarLayout(double top) : top_(top) {}

  double Y(double value) const {
    return kHeight - kBottom - (kHeight - kTop - kBottom) * std::min(value, top_) / top_;
  }
  static double X(int slot) { return kLeft + slot * kSlot; }
  double Top() const { return top_; }

 private:
  double top_;
};

// A line across the whole plot at height y.
void AcrossPlot(Markup& page, const std::string& y, std::string_view style) {
  page.Empty("line", {{"x1", Coord(BarLayout::kLeft)},
                      {"x2", Coord(BarLayout::kWidth - BarLayout::kRight)},
                      {"y1", y},
                      {"y2", y},
                      {"class", style}});
}

void Axis(Markup& page, const BarLayout& layout, double step) {
  for (double tick = 0; tick <= layout.Top() + step / 2; tick += step) {
    const std::string y = Coord(layout.Y(tick));
    AcrossPlot(page, y, "grid");
    page.Element("text", {{"x", Coord(BarLayout::kLeft - 6)}, {"y", y}, {"class", "tick end"}},
                 Whole(tick));
  }
}

// One bar per slot, `width` of the slot wide, coloured by colourOf(slot).
template <typename ColourOf>
void Bars(Markup& page, const BarLayout& layout, const std::array<double, kPockets>& values,
          double width, ColourOf colourOf) {
  for (int i = 0; i < kPockets; ++i) {
    const double x = BarLayout::X(i) + BarLayout::kSlot * (1 - width) / 2;
    const double y = layout.Y(values[i]);
    page.Empty("rect", {{"x", Coord(x)},
                        {"y", Coord(y)},
                        {"width", Coord(BarLayout::kSlot * width)},
                        {"height", Coord(layout.Y(0) - y)},
                        {"fill", colourOf(i)}});
  }
}

void DrawBarChart(Markup& page, const BarChart& chart) {
  const double highest = std::max({*std::max_element(chart.values.begin(), chart.values.end()),
                                   *std::max_element(chart.behind.begin(), chart.behind.end()),
                                   std::isfinite(chart.band.high) ? chart.band.high : 0,
                                   std::isfinite(chart.line) ? chart.line : 0, 1.0});
  // Counts are whole: a tick between two of them would repeat a label ("0, 0, 1, 1").
  const double step = std::max(1.0, TickStep(highest * 1.05, 5));
  const BarLayout layout(std::ceil(highest * 1.05 / step) * step);

  OpenPicture(page, chart.id, BarLayout::kWidth, BarLayout::kHeight, WordsOf(chart.words).title,
              chart.description);
  Axis(page, layout, step);
  if (std::isfinite(chart.band.high)) {
    page.Empty("rect", {{"x", Coord(BarLayout::kLeft)},
                        {"y", Coord(layout.Y(chart.band.high))},
                        {"width", Coord(BarLayout::kSlot * kPockets)},
                        {"height", Coord(layout.Y(chart.band.low) - layout.Y(chart.band.high))},
                        {"class", "band"}});
  }
  if (std::any_of(chart.behind.begin(), chart.behind.end(), [](double v) { return v > 0; })) {
    const std::string behind = Hex(palette::kBehind);
    Bars(page, layout, chart.behind, 0.86, [&behind](int) { return std::string_view(behind); });
  }
  const std::string plain = Hex(palette::kPlain);
  Bars(page, layout, chart.values, 0.7, [&chart, &plain](int i) {
    return chart.pocketColours ? PocketColour(i) : std::string_view(plain);
  });
  if (std::isfinite(chart.line)) AcrossPlot(page, Coord(layout.Y(chart.line)), "expected");
  const std::string labelY = Coord(BarLayout::kHeight - BarLayout::kBottom + 13);
  for (int i = 0; i < kPockets; ++i) {
    page.Element(
        "text",
        {{"x", Coord(BarLayout::X(i) + BarLayout::kSlot / 2)}, {"y", labelY}, {"class", "tick"}},
        std::to_string(i));
  }
  page.Element("text",
               {{"x", Coord(BarLayout::kLeft + BarLayout::kSlot * kPockets / 2)},
                {"y", Coord(BarLayout::kHeight - 6)},
                {"class", "tick"}},
               WordsOf(chart.words).axis);
  page.Close();
}

template <typename Value>
std::array<double, kPockets> AsDoubles(const std::array<Value, kPockets>& values) {
  std::array<double, kPockets> out{};
  std::copy(values.begin(), values.end(), out.begin());
  return out;
}

// What a chart with a fair wheel's band says: what the bars are, the band and the extremes.
std::string BandedDescription(const BarChart& chart, std::int64_t spins) {
  return BarsWords(chart.words, spins) + " " +
         FairBandWords(chart.band.expected, chart.band.low, chart.band.high) +
         ExtremesWords(chart.words, chart.values);
}

}  // namespace

void CountsPicture(Markup& page, const Analysis& a) {
  BarChart chart;
  chart.id = "counts";
  chart.words = Chart::Counts;
  chart.band = CountRange(a.spins, kFair);
  for (int n = 0; n < kPockets; ++n) chart.values[n] = static_cast<double>(a.numbers[n].count);
  chart.line = chart.band.expected;
  chart.description = BandedDescription(chart, a.spins);
  DrawBarChart(page, chart);
}

void SignaturePicture(Markup& page, const Analysis& a) {
  const std::int64_t steps =
      std::accumulate(a.signature.counts.begin(), a.signature.counts.end(), std::int64_t{0});
  BarChart chart;
  chart.id = "signature";
  chart.words = Chart::Signature;
  chart.values = AsDoubles(a.signature.counts);
  chart.pocketColours = false;
  chart.band = CountRange(steps, kFair);
  chart.line = chart.band.expected;
  chart.description = BandedDescription(chart, steps);
  DrawBarChart(page, chart);
}

void SleepersPicture(Markup& page, const Analysis& a) {
  BarChart chart;
  chart.id = "sleepers";
  chart.words = Chart::Sleepers;
  for (int n = 0; n < kPockets; ++n) {
    chart.values[n] = static_cast<double>(a.numbers[n].since_last);
    chart.behind[n] = static_cast<double>(a.numbers[n].longest_absence);
  }
  chart.description = BarsWords(chart.words, a.spins) + ExtremesWords(chart.words, chart.values);
  DrawBarChart(page, chart);
}

namespace {

constexpr int kGroupsWidth = 760;
constexpr double kGroupRow = 17;
constexpr double kFamilyRow = 24;
constexpr double kAxisRow = 34;
constexpr double kMiddle = 436;  // the expectation
constexpr double kHalfWidth = 196;
constexpr double kGroupsTop = 4;
constexpr double kLeastZ = 4;  // the scale reaches at least this far either side

// Bars are drawn in standard errors from the expectation, so that every family shares one
// scale and the band of fair wheels is as wide on every row.
class GroupScale {
 public:
  explicit GroupScale(const Analysis& a) {
    for (const GroupFigures& g : a.groups) {
      if (std::isfinite(g.z)) reach_ = std::max(reach_, std::ceil(std::abs(g.z)));
    }
  }
  double X(double z) const { return kMiddle + kHalfWidth * std::clamp(z / reach_, -1.0, 1.0); }
  double Reach() const { return reach_; }

 private:
  double reach_ = kLeastZ;
};

int GroupsHeight(const Analysis& a) {
  double height = kGroupsTop + kAxisRow;
  for (std::size_t i = 0; i < a.groups.size(); ++i) {
    if (i == 0 || a.groups[i].family != a.groups[i - 1].family) height += kFamilyRow;
    height += kGroupRow;
  }
  return static_cast<int>(std::ceil(height));
}

// The group furthest from its share, by |z|; none with no spins.
const GroupFigures* Furthest(const Analysis& a) {
  const auto furthest = std::max_element(
      a.groups.begin(), a.groups.end(), [](const GroupFigures& x, const GroupFigures& y) {
        return std::abs(x.z) < std::abs(y.z) || (std::isnan(x.z) && !std::isnan(y.z));
      });
  return furthest != a.groups.end() && std::isfinite(furthest->z) ? &*furthest : nullptr;
}

void GroupRow(Markup& page, const GroupScale& scale, const GroupFigures& g, double y) {
  page.Element("text", {{"x", "16"}, {"y", Coord(y + 8)}, {"class", "label"}}, g.name);
  const double z = std::isfinite(g.z) ? g.z : 0;
  const double from = std::min(scale.X(0), scale.X(z));
  page.Empty("rect", {{"x", Coord(from)},
                      {"y", Coord(y + 3)},
                      {"width", Coord(std::abs(scale.X(z) - scale.X(0)))},
                      {"height", Coord(kGroupRow - 6)},
                      {"fill", DeviationColour(z > 0 ? kLeastZ : -kLeastZ)}});
  page.Element("text",
               {{"x", Coord(kMiddle + kHalfWidth + 10)}, {"y", Coord(y + 8)}, {"class", "label"}},
               GroupBarWords(g));
}

void GroupAxis(Markup& page, const GroupScale& scale, double top, double bottom) {
  const double band = TwoSidedZ();
  page.Empty("rect", {{"x", Coord(scale.X(-band))},
                      {"y", Coord(top)},
                      {"width", Coord(scale.X(band) - scale.X(-band))},
                      {"height", Coord(bottom - top)},
                      {"class", "band"}});
  const double step = TickStep(scale.Reach(), 4);
  for (double z = -scale.Reach(); z <= scale.Reach() + step / 2; z += step) {
    const std::string x = Coord(scale.X(z));
    page.Empty("line", {{"x1", x},
                        {"x2", x},
                        {"y1", Coord(bottom)},
                        {"y2", Coord(bottom + 4)},
                        {"stroke", Hex(palette::kFaint)}});
    page.Element("text", {{"x", x}, {"y", Coord(bottom + 12)}, {"class", "tick"}},
                 (z > 0 ? "+" : "") + Whole(z));
  }
  page.Element("text", {{"x", Coord(kMiddle)}, {"y", Coord(bottom + 27)}, {"class", "tick"}},
               WordsOf(Chart::Groups).axis);
}

}  // namespace

void GroupsPicture(Markup& page, const Analysis& a) {
  const int height = GroupsHeight(a);
  const GroupScale scale(a);
  OpenPicture(page, "groups", kGroupsWidth, height, WordsOf(Chart::Groups).title,
              GroupsDescription(Furthest(a)));
  const double bottom = height - kAxisRow;
  GroupAxis(page, scale, kGroupsTop, bottom);
  double y = kGroupsTop;
  for (std::size_t i = 0; i < a.groups.size(); ++i) {
    const GroupFigures& g = a.groups[i];
    if (i == 0 || g.family != a.groups[i - 1].family) {
      page.Element("text", {{"x", "4"}, {"y", Coord(y + 14)}, {"class", "family"}},
                   FamilyRowWords(g));
      y += kFamilyRow;
    }
    GroupRow(page, scale, g, y);
    y += kGroupRow;
  }
  const std::string middle = Coord(kMiddle);
  page.Empty("line", {{"x1", middle},
                      {"x2", middle},
                      {"y1", Coord(kGroupsTop)},
                      {"y2", Coord(bottom)},
                      {"class", "expected"}});
  page.Close();
}

}  // namespace vexilo::stats
