// The entry of every Qt test program: one QApplication on the offscreen platform, set up as the
// quiz sets up its own. Death tests re-run the program for each child, so a child has its own.

#include <gtest/gtest.h>

#include <QApplication>

#include "quiz_window/qt/qt_window_host.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  QApplication application(argc, argv);
  quiz_qt::prepare_application(application);
  return RUN_ALL_TESTS();
}
