#include <QApplication>

#include "bench/qt/BareForm.h"

// The bare window as a program of its own, measured from start to first paint beside Vexilo.
int main(int argc, char** argv) {
  QApplication application(argc, argv);
  vexilo::BareForm form;
  form.show();
  return QApplication::exec();
}
