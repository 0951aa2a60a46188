#include "stats/report/SeriesCharts.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "stats/analysis/Bettor.h"
#include "stats/analysis/Evidence.h"
#include "stats/report/ReportWords.h"
#include "stats/report/SvgPicture.h"
#include "stats/report/TextFormat.h"

namespace vexilo::stats {
namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 260;
constexpr double kLeft = 56;
constexpr double kRight = 26;
constexpr double kTop = 14;
constexpr double kBottom = 40;
// The scale reaches at least this far below and above 1, in powers of ten, and no further
// down than kDeepest: the evidence of a long fair record can fall far below what matters.
constexpr int kLeastDown = -1;
constexpr int kLeastUp = 2;
constexpr int kDeepest = -6;
constexpr int kMostTicks = 6;

struct SeriesChart {
  std::string_view id;
  Chart chart;
  std::string description;
  const std::vector<SpinFigure>* series = nullptr;
  double line = 1;  // the reference line's value
  std::string lineLabel;
  std::int64_t reached = -1;  // a point marked on the line, -1: none
};

class Scale {
 public:
  Scale(const SeriesChart& c, std::int64_t spins) : spins_(std::max<std::int64_t>(spins, 1)) {
    double low = c.line, high = c.line;
    for (const SpinFigure& f : *c.series) {
      if (f.value > 0) low = std::min(low, f.value);
      high = std::max(high, f.value);
    }
    bottom_ = std::clamp(static_cast<int>(std::floor(std::log10(low))), kDeepest, kLeastDown);
    top_ = std::max(static_cast<int>(std::ceil(std::log10(high))), kLeastUp);
  }
  double X(double spins) const {
    return kLeft + (kWidth - kLeft - kRight) * spins / static_cast<double>(spins_);
  }
  double Y(double value) const {
    const double decades =
        std::clamp(value > 0 ? std::log10(value) : bottom_, 1.0 * bottom_, 1.0 * top_);
    return kHeight - kBottom - (kHeight - kTop - kBottom) * (decades - bottom_) / (top_ - bottom_);
  }
  int Bottom() const { return bottom_; }
  int Top() const { return top_; }
  std::int64_t Spins() const { return spins_; }

 private:
  std::int64_t spins_;
  int bottom_ = kLeastDown, top_ = kLeastUp;
};

void Line(Markup& page, double x1, double y1, double x2, double y2, std::string_view style) {
  page.Empty("line", {{"x1", Coord(x1)},
                      {"y1", Coord(y1)},
                      {"x2", Coord(x2)},
                      {"y2", Coord(y2)},
                      {"class", style}});
}

void Axes(Markup& page, const Scale& s) {
  // Every decade, or every 2, 5, 10, ... of them, on round powers: 1, 1e+20, 1e+40.
  const int every = std::max(1, static_cast<int>(TickStep(s.Top() - s.Bottom(), kMostTicks)));
  const int first = static_cast<int>(std::ceil(static_cast<double>(s.Bottom()) / every)) * every;
  for (int decade = first; decade <= s.Top(); decade += every) {
    const double y = s.Y(std::pow(10.0, decade));
    Line(page, kLeft, y, kWidth - kRight, y, "grid");
    page.Element("text", {{"x", Coord(kLeft - 6)}, {"y", Coord(y)}, {"class", "tick end"}},
                 Significant(std::pow(10.0, decade), 1));
  }
  const double step = std::max(1.0, TickStep(static_cast<double>(s.Spins()), 5));
  for (double spins = 0; spins <= static_cast<double>(s.Spins()) + step / 2; spins += step) {
    page.Element(
        "text", {{"x", Coord(s.X(spins))}, {"y", Coord(kHeight - kBottom + 13)}, {"class", "tick"}},
        Fixed(spins, 0));
  }
  page.Element(
      "text",
      {{"x", Coord((kLeft + kWidth - kRight) / 2)}, {"y", Coord(kHeight - 6)}, {"class", "tick"}},
      WordsOf(Chart::Evidence).axis);
}

void Draw(Markup& page, const Analysis& a, const SeriesChart& c) {
  const Scale s(c, a.spins);
  OpenPicture(page, c.id, kWidth, kHeight, WordsOf(c.chart).title, c.description);
  Axes(page, s);
  // Each log's end but the last, which is the right edge.
  std::int64_t end = 0;
  for (std::size_t i = 0; i + 1 < a.files.size(); ++i) {
    end += a.files[i].analysed;
    if (end > 0 && end < a.spins) {
      Line(page, s.X(static_cast<double>(end)), kTop, s.X(static_cast<double>(end)),
           kHeight - kBottom, "log-end");
    }
  }
  const double lineY = s.Y(c.line);
  Line(page, kLeft, lineY, kWidth - kRight, lineY, "limit");
  page.Element("text", {{"x", Coord(kWidth - kRight)}, {"y", Coord(lineY - 8)}, {"class", "end"}},
               c.lineLabel);
  std::string points;
  for (const SpinFigure& f : *c.series) {
    points += (points.empty() ? "" : " ") + Coord(s.X(static_cast<double>(f.spin))) + "," +
              Coord(s.Y(f.value));
  }
  page.Empty("polyline", {{"points", points}, {"class", "trace"}});
  if (c.reached >= 0) {
    page.Empty("circle", {{"cx", Coord(s.X(static_cast<double>(c.reached)))},
                          {"cy", Coord(lineY)},
                          {"r", "4"},
                          {"class", "reached"}});
  }
  if (a.files.size() > 1) {
    page.Element("text", {{"x", Coord(kLeft + 4)}, {"y", Coord(kTop + 6)}}, LogEndsLabel());
  }
  page.Close();
}

}  // namespace

void EvidencePicture(Markup& page, const Analysis& a) {
  Draw(page, a,
       {"evidence", Chart::Evidence, EvidenceDescription(a), &a.evidence.series, kEvidenceNeeded,
        ThresholdLabel(), a.evidence.reached_at});
}

void BankrollPicture(Markup& page, const Analysis& a) {
  Draw(page, a,
       {"bankroll", Chart::Bankroll, BankrollDescription(a), &a.bettor.series, kBettorStart,
        StartLabel(), -1});
}

}  // namespace vexilo::stats
