#include <gtest/gtest.h>

#include <QGuiApplication>

// The model tests need a Qt application for the loader's hand-over to the
// user-interface thread and for JPEG reading; no display is used.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
