#include <gtest/gtest.h>

#include <QApplication>

#include "qt/EmbeddedFaces.h"

// The tests share one application object, with the program's faces, made before any test runs.
// A test that needs a display of its own makes it itself and skips this (VEXILO_NO_APPLICATION).
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
#ifndef VEXILO_NO_APPLICATION
  if (!::testing::GTEST_FLAG(list_tests)) {  // listing the tests needs no display
    QApplication application(argc, argv);
    const vexilo::EmbeddedFaces faces;
    return RUN_ALL_TESTS();
  }
#endif
  return RUN_ALL_TESTS();
}
