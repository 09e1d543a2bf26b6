#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>

#include "suite/SharedMemory.h"

using namespace tolmar::suite;

namespace {

TEST(SharedMemoryTest, OpenedObjectSeesTheCreatorsBytes) {
  // A name of this test run, so parallel runs never meet.
  const QString name = QStringLiteral("TolmarTest_%1").arg(::getpid());
  std::unique_ptr<SharedMemory> created = SharedMemory::Create(name, 4096);
  ASSERT_NE(created, nullptr);
  created->Data()[0] = 0x42;
  created->Data()[4095] = 0x24;
  {
    std::unique_ptr<SharedMemory> opened = SharedMemory::Open(name);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->Size(), 4096u);
    EXPECT_EQ(opened->Data()[0], 0x42);
    EXPECT_EQ(opened->Data()[4095], 0x24);
    opened->Data()[1] = 0x99;
  }
  EXPECT_EQ(created->Data()[1], 0x99);
  EXPECT_TRUE(SharedMemory::Remove(name));
  EXPECT_EQ(SharedMemory::Open(name), nullptr);
}

TEST(SharedMemoryTest, BadNamesAndSizesAreRefused) {
  EXPECT_EQ(SharedMemory::Create(QString(), 16), nullptr);
  EXPECT_EQ(SharedMemory::Create(QStringLiteral("a/b"), 16), nullptr);
  EXPECT_EQ(SharedMemory::Create(QStringLiteral("TolmarTestZero"), 0), nullptr);
  EXPECT_EQ(SharedMemory::Open(QStringLiteral("TolmarTestNeverMade")), nullptr);
}

}  // namespace
