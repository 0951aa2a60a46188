#pragma once

#include <QSize>

class QScreen;

namespace vexilo {

// The scale the window may have on a screen: the board's rule (window/Scale.h) with Qt's own
// device pixel ratio, the screen's available area and the window with its frame at scale 1.
double FittingScale(double devicePixelRatio, QSize availableDevicePixels, QSize window);

// When the window at the primary screen's scale would not fit, sets the scale factor Qt reads
// when the application object is made and returns true: the caller makes it afresh.
bool RequestFittingScale(QSize window);

}  // namespace vexilo
