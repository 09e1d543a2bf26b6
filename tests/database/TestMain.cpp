// The database test program. Besides running the tests it serves as the child process
// of the concurrency test: "--allocate-ids CONNECT KEY COUNT" prints COUNT identifiers.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdio>
#include <cstring>

#include "TestDatabases.h"
#include "database/DbConnection.h"
#include "database/UniqueIdAllocator.h"

namespace {

int AllocateIds(const char* connect, const char* key, int count) {
  tolmar::db::DbConnection db;
  if (!db.Open(QString::fromUtf8(connect))) {
    std::fprintf(stderr, "open: %s\n", qPrintable(db.LastError()));
    return 1;
  }
  for (int i = 0; i < count; ++i) {
    const int32_t id = tolmar::db::AllocUniqueID(&db, QString::fromUtf8(key));
    if (id == 0) {
      std::fprintf(stderr, "allocate: %s\n", qPrintable(db.LastError()));
      return 1;
    }
    std::printf("%d\n", id);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc == 5 && std::strcmp(argv[1], "--allocate-ids") == 0) {
    return AllocateIds(argv[2], argv[3], std::atoi(argv[4]));
  }
  ::testing::InitGoogleTest(&argc, argv);
  tolmar::db::test::RegisterTestDatabaseEnvironment();
  return RUN_ALL_TESTS();
}
