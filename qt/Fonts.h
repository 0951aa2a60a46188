#pragma once

#include <QFont>
#include <QStringList>

#include "window/Font.h"

namespace vexilo {

// The families a design face is drawn with: the twin the program carries (EmbeddedFaces), then
// the design's own name. Characters the twin lacks come from the system's fallback faces.
QStringList SubstituteFamilies(std::string_view face);

// The font of a design FontSpec: substitute families, pixel height, weight, full hinting.
QFont ToQFont(const FontSpec& design);

}  // namespace vexilo
