#pragma once

#include <QColor>
#include <QPalette>

#include "engine/Color.h"

namespace vexilo {

// A system colour number resolved against the palette, as the platform would resolve it.
QColor SystemQColor(const QPalette& palette, int index);
// Any TColor, literal or system, as a QColor.
QColor ToQColor(TColor color, const QPalette& palette);
inline TColor FromQColor(const QColor& color) {
  return MakeColor(color.red(), color.green(), color.blue());
}

}  // namespace vexilo
