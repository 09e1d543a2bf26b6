#include "ProfileFixture.h"
#include "suite/ArchiveSettings.h"

using namespace tolmar::suite;

namespace {

using ArchiveSettingsTest = ProfileFixture;

TEST_F(ArchiveSettingsTest, FreshProfileGivesTheBuiltInStates) {
  const ArchiveSettings settings = ArchiveSettings::Read(ProfileStore(QStringLiteral("Stowmark")));
  EXPECT_EQ(settings.rightHeight, 500);
  EXPECT_FALSE(settings.showMiniImages);
  EXPECT_EQ(settings.doubleClickAction, 0);
  EXPECT_EQ(settings.autoTimeSpace, 0);
  EXPECT_FALSE(settings.autoRefresh);
  EXPECT_FALSE(settings.conditionDate);
  EXPECT_TRUE(settings.conditionModality.isEmpty());
}

TEST_F(ArchiveSettingsTest, WrittenChoicesAreReadBackAtTheNextStart) {
  ProfileStore profile(QStringLiteral("Stowmark"));
  ASSERT_TRUE(WriteShowMiniImages(profile, true));
  ASSERT_TRUE(WriteParameterPage(profile, 3, 120, true));
  ASSERT_TRUE(WriteQueryBar(profile, true, QStringLiteral("CT")));
  ASSERT_TRUE(WriteListStyle(profile, 0x50000003));
  const ArchiveSettings settings = ArchiveSettings::Read(profile);
  EXPECT_TRUE(settings.showMiniImages);
  EXPECT_EQ(settings.doubleClickAction, 3);
  EXPECT_EQ(settings.autoTimeSpace, 120);
  EXPECT_TRUE(settings.autoRefresh);
  EXPECT_TRUE(settings.conditionDate);
  EXPECT_EQ(settings.conditionModality, QStringLiteral("CT"));
  EXPECT_EQ(settings.listStyle, 3);
}

TEST_F(ArchiveSettingsTest, OutOfRangeValuesFallBackToSafeStates) {
  ProfileStore profile(QStringLiteral("Stowmark"));
  ASSERT_TRUE(WriteParameterPage(profile, 9, -5, false));
  const ArchiveSettings settings = ArchiveSettings::Read(profile);
  EXPECT_EQ(settings.doubleClickAction, 0);
  EXPECT_EQ(settings.autoTimeSpace, 0);
}

}  // namespace
