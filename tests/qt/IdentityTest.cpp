#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QRegularExpression>
#include <QWindow>

#include "FormDriver.h"
#include "qt/Identity.h"

namespace vexilo::test {
namespace {

// The desktop matches the program's windows to its installed entry, and the window icon is
// built into the program, each size the very image the package installs.
TEST(Identity, TheProgramCarriesItsDesktopEntryAndIcon) {
  SetApplicationIdentity();
  EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("io.vexilo.Vexilo"));
  EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("vexilo"));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$"))
                  .match(QCoreApplication::applicationVersion())
                  .hasMatch())
      << QCoreApplication::applicationVersion().toStdString();
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    const QString file = QStringLiteral("vexilo-%1.png").arg(size);
    const QImage built(QStringLiteral(":/icons/") + file);
    const QImage installed(QStringLiteral(VEXILO_ICON_DIR "/") + file);
    ASSERT_FALSE(installed.isNull()) << size;
    EXPECT_EQ(built.size(), QSize(size, size));
    EXPECT_EQ(built.convertToFormat(QImage::Format_ARGB32),
              installed.convertToFormat(QImage::Format_ARGB32))
        << size;
    EXPECT_TRUE(QApplication::windowIcon().availableSizes().contains(QSize(size, size))) << size;
  }
  FormDriver driver;
  EXPECT_EQ(driver.Form().windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
  EXPECT_EQ(driver.Form().windowHandle()->title(), QStringLiteral("Vexilo"));
}

}  // namespace
}  // namespace vexilo::test
