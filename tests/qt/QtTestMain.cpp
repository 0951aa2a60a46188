#include <gtest/gtest.h>

#include <QApplication>

// The tests share one application object, made before any test runs. A test that needs a
// display of its own makes it itself and skips this (VEXILO_NO_APPLICATION).
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
#ifndef VEXILO_NO_APPLICATION
  if (!::testing::GTEST_FLAG(list_tests)) {  // listing the tests needs no display
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
  }
#endif
  return RUN_ALL_TESTS();
}
