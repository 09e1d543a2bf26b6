#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdio>

// The D-Bus tests run on the private bus that ctest starts for them
// (dbus-run-session with this build's service folder). Run by hand outside
// it, they skip rather than touch the user's own session bus.
int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  if (!qEnvironmentVariableIsSet("TOLMAR_TEST_PRIVATE_BUS")) {
    std::printf("D-Bus tests need the private test bus; run them through ctest.\n");
    ::testing::GTEST_FLAG(filter) = "-*";
  }
  return RUN_ALL_TESTS();
}
