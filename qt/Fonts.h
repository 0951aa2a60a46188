#pragma once

#include <QFont>
#include <QStringList>

#include "window/Font.h"

namespace vexilo {

// The faces of the design are not on a Linux desktop. Each maps to a chain of installed faces,
// the first of which reproduces the design's text extents with full hinting at pixel sizes.
QStringList SubstituteFamilies(std::string_view face);

// The font of a design FontSpec: substitute families, pixel height, weight, full hinting.
QFont ToQFont(const FontSpec& design);

}  // namespace vexilo
