#include "stats/report/WheelPicture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "stats/analysis/Wheel.h"
#include "stats/report/Palette.h"
#include "stats/report/ReportWords.h"
#include "stats/report/SvgPicture.h"
#include "stats/report/TextFormat.h"

namespace vexilo::stats {
namespace {

using palette::kColder;
using palette::kEven;
using palette::kHotter;
constexpr double kScaleEnd = 3;     // the z-score drawn in the full colour
constexpr double kDarkFill = 0.55;  // from this far along the scale the number is written white

// Geometry of the picture, in its own units.
constexpr double kSize = 460;
constexpr double kCentre = kSize / 2;
constexpr double kInner = 138;
constexpr double kOuter = 196;
constexpr double kRim = 208;
constexpr double kArcMark = 216;
constexpr double kLabel = (kInner + kOuter) / 2;
constexpr double kLegendTop = 468;
constexpr double kLegendLeft = 80;
constexpr double kLegendWidth = 300;
constexpr int kHeight = 545;
constexpr double kPocketAngle = 2 * std::numbers::pi / kPockets;

double Along(double z) {
  return std::isfinite(z) ? std::clamp(z / kScaleEnd, -1.0, 1.0) : 0.0;
}

// A point at radius r and angle a, clockwise from the top.
std::string Point(double r, double a) {
  return Coord(kCentre + r * std::sin(a)) + " " + Coord(kCentre - r * std::cos(a));
}

// The ring between radii inner and outer from angle a0 to a1, clockwise.
std::string Band(double inner, double outer, double a0, double a1) {
  const std::string large = a1 - a0 > std::numbers::pi ? " 1 " : " 0 ";
  return "M" + Point(outer, a0) + " A" + Coord(outer) + " " + Coord(outer) + " 0" + large + "1 " +
         Point(outer, a1) + " L" + Point(inner, a1) + " A" + Coord(inner) + " " + Coord(inner) +
         " 0" + large + "0 " + Point(inner, a0) + " Z";
}

// The best arc is drawn only when it stands out from what fair wheels give.
bool MarksArc(const Analysis& a) {
  return a.best_arc >= 0 && IsSignificant(a.arc_p_value);
}

void Pockets(Markup& page, const Analysis& a) {
  for (int place = 0; place < kPockets; ++place) {
    const int number = kWheelOrder[place];
    const NumberFigures& f = a.numbers[number];
    const double middle = place * kPocketAngle;
    const double from = middle - kPocketAngle / 2;
    const double to = middle + kPocketAngle / 2;
    page.Open("g");
    page.Element("title", PocketWords(f));
    page.Empty("path", {{"d", Band(kInner, kOuter, from, to)},
                        {"fill", DeviationColour(f.z)},
                        {"stroke", Hex(palette::kPaper)},
                        {"stroke-width", "1"}});
    page.Empty("path", {{"d", Band(kOuter, kRim, from, to)}, {"fill", PocketColour(number)}});
    const bool dark = std::abs(Along(f.z)) >= kDarkFill;
    page.Element("text",
                 {{"x", Coord(kCentre + kLabel * std::sin(middle))},
                  {"y", Coord(kCentre - kLabel * std::cos(middle))},
                  {"class", dark ? "pocket on-dark" : "pocket"}},
                 std::to_string(number));
    page.Close();
  }
}

void BestArcMark(Markup& page, const Analysis& a) {
  if (!MarksArc(a)) return;
  const ArcFigures& arc = a.arcs[a.best_arc];
  const double from = (kWheelPlace[arc.pockets.front()] - 0.5) * kPocketAngle;
  const double to = from + arc.length * kPocketAngle;
  page.Empty("path", {{"d", Band(kRim + 3, kArcMark, from, to)}, {"class", "arc-mark"}});
  page.Empty("rect", {{"x", Coord(kLegendLeft)},
                      {"y", Coord(kLegendTop + 62)},
                      {"width", "22"},
                      {"height", "5"},
                      {"class", "arc-mark"}});
  page.Element("text", {{"x", Coord(kLegendLeft + 30)}, {"y", Coord(kLegendTop + 65)}},
               ArcMarkWords(a));
}

void Legend(Markup& page) {
  page.Open("defs");
  page.Open("linearGradient", {{"id", "deviation-scale"}});
  page.Empty("stop", {{"offset", "0"}, {"stop-color", Hex(kColder)}});
  page.Empty("stop", {{"offset", "0.5"}, {"stop-color", Hex(kEven)}});
  page.Empty("stop", {{"offset", "1"}, {"stop-color", Hex(kHotter)}});
  page.Close().Close();
  page.Empty("rect", {{"x", Coord(kLegendLeft)},
                      {"y", Coord(kLegendTop)},
                      {"width", Coord(kLegendWidth)},
                      {"height", "14"},
                      {"fill", "url(#deviation-scale)"},
                      {"stroke", Hex(palette::kOutline)}});
  for (int z = -3; z <= 3; ++z) {
    const double x = kLegendLeft + kLegendWidth * (z + kScaleEnd) / (2 * kScaleEnd);
    page.Empty("line", {{"x1", Coord(x)},
                        {"x2", Coord(x)},
                        {"y1", Coord(kLegendTop + 14)},
                        {"y2", Coord(kLegendTop + 19)},
                        {"stroke", Hex(palette::kFaint)}});
    page.Element("text", {{"x", Coord(x)}, {"y", Coord(kLegendTop + 31)}, {"class", "tick"}},
                 (z > 0 ? "+" : "") + std::to_string(z));
  }
  page.Element("text",
               {{"x", Coord(kLegendLeft - 8)}, {"y", Coord(kLegendTop + 11)}, {"class", "end"}},
               WheelLabelWords().colder);
  page.Element("text",
               {{"x", Coord(kLegendLeft + kLegendWidth + 8)}, {"y", Coord(kLegendTop + 11)}},
               WheelLabelWords().hotter);
  page.Element("text", {{"x", Coord(kCentre)}, {"y", Coord(kLegendTop + 52)}, {"class", "tick"}},
               WordsOf(Chart::Wheel).axis);
}

}  // namespace

std::string DeviationColour(double z) {
  const double t = Along(z);
  const Rgb& end = t < 0 ? kColder : kHotter;
  const double w = std::abs(t);
  const auto mix = [w](int from, int to) {
    return static_cast<int>(std::lround(from + w * (to - from)));
  };
  return Hex({mix(kEven.r, end.r), mix(kEven.g, end.g), mix(kEven.b, end.b)});
}

void WheelPicture(Markup& page, const Analysis& a) {
  OpenPicture(page, "wheel", static_cast<int>(kSize), kHeight, WordsOf(Chart::Wheel).title,
              WheelDescription(a, kScaleEnd, MarksArc(a)));
  Pockets(page, a);
  BestArcMark(page, a);
  page.Element("text", {{"x", Coord(kCentre)}, {"y", Coord(kCentre - 6)}, {"class", "centre"}},
               SpinsWords(a.spins));
  page.Element("text", {{"x", Coord(kCentre)}, {"y", Coord(kCentre + 16)}, {"class", "tick"}},
               WheelLabelWords().direction);
  Legend(page);
  page.Close();
}

}  // namespace vexilo::stats
