#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QThread>
#include <string>

#include "qt/EmbeddedFaces.h"
#include "qt/Fonts.h"
#include "window/FormTable.h"

namespace vexilo {
namespace {

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;

// A virtual X server on a display number of its own choosing, black root, no window manager.
class VirtualDisplay {
 public:
  VirtualDisplay() {
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid_t child = ::fork();
    if (child == 0) {
      ::close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      const std::string screen =
          std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24";
      ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-br",
               "-nolisten", "tcp", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    pid_ = child;
    char digit = 0;
    while (::read(fds[0], &digit, 1) == 1 && digit != '\n') name_ += digit;
    ::close(fds[0]);
    if (!name_.empty()) name_ = ":" + name_;
  }
  ~VirtualDisplay() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  const std::string& Name() const { return name_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
};

QRgb At(const QImage& image, QPoint origin, int x, int y) {
  return image.pixel(origin + QPoint(x, y)) & 0xFFFFFF;
}

// The program, started as a user would, on a real X server: the screenshot shows the window
// centred, 834 x 711, the pocket colours in place and the zero display without placeholders.
TEST(Screenshot, TheRealProgramOnAnXServer) {
  const VirtualDisplay display;
  if (display.Name().empty()) GTEST_SKIP() << "Xvfb is not available";
  ::setenv("DISPLAY", display.Name().c_str(), 1);
  ::unsetenv("QT_QPA_PLATFORM");
  int argc = 1;
  char name[] = "qt_screen_tests";
  char* argv[] = {name, nullptr};
  QGuiApplication application(argc, argv);
  const EmbeddedFaces faces;  // the program's faces, to measure its labels with

  QProcess program;
  program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  program.start(QStringLiteral(VEXILO_PROGRAM), {});
  ASSERT_TRUE(program.waitForStarted(10000));

  // The window is centred: no frame without a window manager, so the client area is the outer
  // window, 834 x 711 at ((1280 - 834) / 2, (1024 - 711) / 2).
  const QPoint origin(223, 156);
  const QPoint zeroButton(16 + 10, 8 + 20);
  QImage shot;
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < 30000) {
    shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
    // Drawn, and active: the first control in tab order shows the active frame.
    if (At(shot, origin, zeroButton.x(), zeroButton.y()) == 0x00FF00 &&
        At(shot, origin, 16, 8) == 0x003F00 && At(shot, origin, 832, 709) != 0) {
      break;
    }
    QThread::msleep(100);
  }
  ASSERT_EQ(shot.size(), QSize(kScreenWidth, kScreenHeight));
  const QImage window = shot.copy(QRect(origin, QSize(kClientWidth, kClientHeight)));
  window.save(QStringLiteral("screenshot.png"));
  program.terminate();
  program.waitForFinished(5000);

  // Exactly the client area differs from the black root.
  QRect drawn;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      if ((shot.pixel(x, y) & 0xFFFFFF) != 0) drawn |= QRect(x, y, 1, 1);
    }
  }
  EXPECT_EQ(drawn, QRect(origin, QSize(kClientWidth, kClientHeight)));

  EXPECT_EQ(At(shot, origin, zeroButton.x(), zeroButton.y()), 0x00FF00u);  // 0 on lime
  EXPECT_EQ(At(shot, origin, 16, 8), 0x003F00u);            // with the focus: the active frame
  EXPECT_EQ(At(shot, origin, 64 + 8, 104 + 8), 0xFF0000u);  // 1 on red
  EXPECT_EQ(At(shot, origin, 64 + 8, 56 + 8), 0x000000u);   // 2 on black
  EXPECT_EQ(At(shot, origin, 592 + 8, 8 + 8), 0xFF0000u);   // 36 on red

  // Zero display: each count or share label shows only "0" or "0%" at its right edge; the
  // rest of its design box is the window's face, where a placeholder would have shown.
  const QRgb face = At(shot, origin, 0, 0);
  int checked = 0;
  for (const Control& c : FormControls()) {
    const bool count = c.text == "xxxx";
    if (c.kind != ControlKind::Label || (!count && c.text != "xx.xx")) continue;
    const int zeroWidth =
        QFontMetrics(ToQFont(c.font))
            .horizontalAdvance(count ? QStringLiteral("0") : QStringLiteral("0%"));
    for (int y = c.top; y < c.top + c.height; ++y) {
      for (int x = c.left; x < c.left + c.width - zeroWidth; ++x) {
        ASSERT_EQ(At(shot, origin, x, y), face) << c.name.view() << " at " << x << ',' << y;
      }
    }
    ++checked;
  }
  EXPECT_EQ(checked, 131);
  // The strip is empty, on the face colour (below the command buttons' bottom row).
  for (int y = 273; y < 299; ++y) {
    for (int x = 40; x < 667; ++x) ASSERT_EQ(At(shot, origin, x, y), face) << x << ',' << y;
  }
}

}  // namespace
}  // namespace vexilo
