#include "stats/report/SvgPicture.h"

#include <array>
#include <cmath>

#include "engine/PocketTable.h"
#include "stats/report/Palette.h"
#include "stats/report/TextFormat.h"

namespace vexilo::stats {
namespace {

// Indexed by ColourCode: red, black, green.
const std::array<std::string, 3> kPocketColours = {Hex(palette::kRed), Hex(palette::kBlack),
                                                   Hex(palette::kGreen)};

}  // namespace

std::string Coord(double value) {
  return Fixed(value, 1);
}

std::string_view PocketColour(int number) {
  return kPocketColours[ColourIndex(PocketOf(number).color)];
}

void OpenPicture(Markup& page, std::string_view id, int width, int height, std::string_view title,
                 std::string_view description) {
  const std::string titleId = std::string(id) + "-title";
  const std::string descId = std::string(id) + "-desc";
  const std::string labelledBy = titleId + " " + descId;
  const std::string viewBox = "0 0 " + std::to_string(width) + " " + std::to_string(height);
  page.Open("svg", {{"id", id},
                    {"viewBox", viewBox},
                    {"width", std::to_string(width)},
                    {"role", "img"},
                    {"aria-labelledby", labelledBy}});
  page.Element("title", {{"id", titleId}}, title);
  page.Element("desc", {{"id", descId}}, description);
}

double TickStep(double top, int ticks) {
  if (!(top > 0)) return 1;
  const double power = std::pow(10.0, std::floor(std::log10(top / ticks)));
  for (const double step : {1.0, 2.0, 5.0, 10.0}) {
    if (top / (step * power) <= ticks) return step * power;
  }
  return 10 * power;
}

}  // namespace vexilo::stats
