#include "qt/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>

#include "window/Scale.h"

namespace vexilo {

double FittingScale(double devicePixelRatio, QSize availableDevicePixels, QSize window) {
  return FittingScale(devicePixelRatio,
                      Size{availableDevicePixels.width(), availableDevicePixels.height()},
                      Size{window.width(), window.height()});
}

bool RequestFittingScale(QSize window) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return false;
  const double ratio = screen->devicePixelRatio();
  const QSize available = screen->availableGeometry().size() * ratio;
  const double scale = FittingScale(ratio, available, window);
  if (scale >= ratio - 1e-6) return false;
  bool set = false;
  double factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&set);
  if (!set || factor <= 0) factor = 1.0;
  qputenv("QT_SCALE_FACTOR", QByteArray::number(factor * scale / ratio, 'g', 6));
  return true;
}

}  // namespace vexilo
