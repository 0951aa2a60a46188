#include <QApplication>

#include "qt/EmbeddedFaces.h"
#include "qt/Identity.h"
#include "qt/ScreenFit.h"
#include "qt/TForm1.h"

int main(int argc, char** argv) {
  // A window that would not fit the screen at the desktop's scale is made again at one that does.
  for (bool fitted = false;; fitted = true) {
    QApplication application(argc, argv);
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
