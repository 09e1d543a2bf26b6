#include <gtest/gtest.h>

#include <QApplication>

// The model tests need a Qt application for the loader's hand-over to the
// user-interface thread and for JPEG reading; the few widget tests need it to
// be a widget application. No display is used.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
