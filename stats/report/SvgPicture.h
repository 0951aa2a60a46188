#pragma once

#include <string>
#include <string_view>

#include "stats/report/Markup.h"

namespace vexilo::stats {

// A coordinate or length in a picture, one decimal, the same on every platform.
std::string Coord(double value);

// A pocket's own colour (red, black or green) as the pictures draw it.
std::string_view PocketColour(int number);

// Opens <svg> of the given size as a picture for assistive technology: role "img", named by its
// <title> and described by its <desc>, whose ids derive from `id`. The caller closes it.
void OpenPicture(Markup& page, std::string_view id, int width, int height, std::string_view title,
                 std::string_view description);

// Step between axis ticks for values 0..top: 1, 2 or 5 times a power of ten, at most `ticks`
// steps.
double TickStep(double top, int ticks);

}  // namespace vexilo::stats
