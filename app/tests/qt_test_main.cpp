#include <gtest/gtest.h>

#include <QApplication>

// Window tests need a QApplication; the offscreen platform lets them run without a display.
int main(int argc, char* argv[]) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
