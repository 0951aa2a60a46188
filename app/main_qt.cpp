#include <QApplication>

#include "qt/EmbeddedFaces.h"
#include "qt/Identity.h"
#include "qt/Platform.h"
#include "qt/ScreenFit.h"
#include "qt/TForm1.h"

// The program reads no command line: Qt hears only the program's name, so that none of its own
// options (-qwindowtitle, -reverse, -style ...) change the window. The platform and display come
// from the environment; under XWayland the board asks for X11 first (qt/Platform.h).
int main(int, char** argv) {
  vexilo::RequestPreferredPlatforms();
  char fallbackName[] = "vexilo";
  int qtArgc = 1;
  char* qtArgv[] = {argv[0] != nullptr ? argv[0] : fallbackName, nullptr};
  // A window that would not fit the screen at the desktop's scale is made again at one that does.
  for (bool fitted = false;; fitted = true) {
    QApplication application(qtArgc, qtArgv);
    if (!fitted && vexilo::RequestFittingScale(QSize(vexilo::kOuterWidth, vexilo::kOuterHeight))) {
      continue;
    }
    vexilo::SetApplicationIdentity();
    const vexilo::EmbeddedFaces faces;
    vexilo::TForm1 form;
    form.show();
    QApplication::exec();
    return 0;
  }
}
