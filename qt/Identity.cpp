#include "qt/Identity.h"

#include <QApplication>
#include <string_view>

#include "ProductInfo.h"

// The icons are compiled into this static library; an unreferenced resource would be dropped by
// the linker, so it is registered by hand (outside any namespace, as Qt's macro requires).
static void InitIconResource() {
  Q_INIT_RESOURCE(vexilo);
}

namespace vexilo {

namespace {

QString Latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QIcon ProgramIcon() {
  InitIconResource();
  QIcon icon;
  for (const int size : product::kIconSizes) {
    icon.addFile(QStringLiteral(":/icons/vexilo-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

void SetApplicationIdentity() {
  QApplication::setApplicationName(QStringLiteral("vexilo"));
  QApplication::setApplicationVersion(Latin1(product::kVersion));
  // The desktop entry's file name is the application's id.
  QApplication::setDesktopFileName(Latin1(product::kAppId));
  QApplication::setWindowIcon(ProgramIcon());
}

}  // namespace vexilo
