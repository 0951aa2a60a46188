#include "qt/Platform.h"

#include <QByteArray>
#include <QtGlobal>

namespace vexilo {

namespace {

std::string_view View(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace

void RequestPreferredPlatforms() {
  const QByteArray qtPlatform = qgetenv("QT_QPA_PLATFORM");
  const QByteArray x11Display = qgetenv("DISPLAY");
  const std::string_view platforms = PreferredPlatforms({View(qtPlatform), View(x11Display)});
  if (platforms.empty()) return;
  qputenv("QT_QPA_PLATFORM",
          QByteArray(platforms.data(), static_cast<qsizetype>(platforms.size())));
}

}  // namespace vexilo
