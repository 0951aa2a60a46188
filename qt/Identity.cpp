#include "qt/Identity.h"

#include <QApplication>
#include <array>

// The icons are compiled into this static library; an unreferenced resource would be dropped by
// the linker, so it is registered by hand (outside any namespace, as Qt's macro requires).
static void InitIconResource() {
  Q_INIT_RESOURCE(vexilo);
}

namespace vexilo {

QIcon ProgramIcon() {
  InitIconResource();
  constexpr std::array<int, 7> kSizes = {16, 24, 32, 48, 64, 128, 256};
  QIcon icon;
  for (const int size : kSizes) {
    icon.addFile(QStringLiteral(":/icons/vexilo-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

void SetApplicationIdentity() {
  QApplication::setApplicationName(QStringLiteral("vexilo"));
  QApplication::setApplicationVersion(QStringLiteral(VEXILO_VERSION));
  QApplication::setDesktopFileName(QString::fromLatin1(
      kDesktopFileName.data(), static_cast<qsizetype>(kDesktopFileName.size())));
  QApplication::setWindowIcon(ProgramIcon());
}

}  // namespace vexilo
