#include <gtest/gtest.h>

#include <QGuiApplication>

#include "annotation/DrawObjList.h"

// Text drawing needs the font database, so a (display-less) application runs
// for the whole program.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                  : qgetenv("QT_QPA_PLATFORM"));
  QGuiApplication app(argc, argv);
  tolmar::InstallDrawObjects();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
