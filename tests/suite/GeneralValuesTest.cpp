#include "ProfileFixture.h"
#include "suite/GeneralValues.h"
#include "suite/ProfileStore.h"

using namespace tolmar::suite;

namespace {

using GeneralValuesTest = ProfileFixture;

TEST_F(GeneralValuesTest, SiblingTitlesFallBackToTheirDefaults) {
  const std::vector<std::pair<SiblingProgram, QString>> defaults{
      {SiblingProgram::Stowmark, QStringLiteral("Stowmark")},
      {SiblingProgram::Reporter, QStringLiteral("Reporter")},
      {SiblingProgram::Pellicor, QStringLiteral("Pellicor")},
      {SiblingProgram::Paperlift, QStringLiteral("Paperlift")},
      {SiblingProgram::Vidrake, QStringLiteral("Capturon")}};
  for (const auto& [program, title] : defaults) EXPECT_EQ(SiblingWindowTitle(program), title);
  EXPECT_EQ(AdminFileName(), QStringLiteral("Stewardry.EXE"));
  EXPECT_EQ(PellicorFileName(), QStringLiteral("Pellicor.EXE"));
  EXPECT_EQ(AppType(), 0);
}

TEST_F(GeneralValuesTest, StoredValuesSitDirectlyInGeneral) {
  ASSERT_TRUE(WriteProfileValue(ProfileStore::kGeneralProfile, QString(),
                                QStringLiteral("VidrakeName"), QStringLiteral("视频采集")));
  ASSERT_TRUE(WriteProfileValue(ProfileStore::kGeneralProfile, QString(), QStringLiteral("AppType"),
                                QStringLiteral(" 2 ")));
  // A value in a section of the same name is not the sectionless one.
  ASSERT_TRUE(WriteProfileValue(ProfileStore::kGeneralProfile, QStringLiteral("Other"),
                                QStringLiteral("StowmarkName"), QStringLiteral("Wrong")));
  EXPECT_EQ(SiblingWindowTitle(SiblingProgram::Vidrake), QStringLiteral("视频采集"));
  EXPECT_EQ(SiblingWindowTitle(SiblingProgram::Stowmark), QStringLiteral("Stowmark"));
  EXPECT_EQ(AppType(), 2);
  ASSERT_TRUE(WriteProfileValue(ProfileStore::kGeneralProfile, QString(), QStringLiteral("AppType"),
                                QStringLiteral("two")));
  EXPECT_EQ(AppType(), 0);
}

}  // namespace
