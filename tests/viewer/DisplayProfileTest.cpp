#include <gtest/gtest.h>

#include "ViewerFixtures.h"

#include "suite/ProfileStore.h"
#include "viewer/DisplayProfile.h"
#include "viewer/RecentFiles.h"

namespace tolmar::viewer {
namespace {

class DisplayProfile : public ::testing::Test {
 protected:
  test::PrivateProfileFolder m_folder;
};

TEST_F(DisplayProfile, AnEmptyProfileGivesTheInstallationDefaults) {
  suite::ProfileStore profile(QStringLiteral("Pictorium"));
  const DisplaySettings d = ReadDisplaySettings(profile, QStringLiteral("/opt/tolmar"));
  EXPECT_EQ(d.programFolder, "/opt/tolmar/");
  EXPECT_TRUE(d.quickFlush);
  EXPECT_EQ(d.mouseMulti, 3);
  EXPECT_EQ(d.fontWeight, 700);
  EXPECT_EQ(d.hSpace, 0);
  EXPECT_EQ(d.wcRectMaxSize, 640);
  EXPECT_EQ(d.wcRectWidth, 200);
  const AnnotationStyle s = ReadMeasureStyle(profile);
  EXPECT_EQ(s.normalColour, 65280u);
  EXPECT_EQ(s.activeColour, 255u);
  EXPECT_EQ(s.font.pitchAndFamily, 38);
}

TEST_F(DisplayProfile, ExitSettingsReadBackAndKeepThePitchBit) {
  suite::ProfileStore profile(QStringLiteral("Pictorium"));
  DisplaySettings display;
  display.interpolation = false;
  display.showAnnotation = false;
  AnnotationStyle style;
  style.normalColour = 0x123456;
  style.showTracker = true;
  style.font.faceName = "DejaVu Sans";
  WriteExitSettings(profile, display, style);

  const DisplaySettings readDisplay = ReadDisplaySettings(profile, QString());
  EXPECT_FALSE(readDisplay.interpolation);
  EXPECT_FALSE(readDisplay.showAnnotation);
  AnnotationStyle expected = style;
  expected.font.pitchAndFamily = 38 | 4;
  const AnnotationStyle readStyle = ReadMeasureStyle(profile);
  EXPECT_EQ(readStyle.font, expected.font);
  EXPECT_EQ(readStyle.normalColour, 0x123456u);
  EXPECT_TRUE(readStyle.showTracker);
  // Writing again does not move the family further.
  WriteExitSettings(profile, display, readStyle);
  EXPECT_EQ(ReadMeasureStyle(profile).font.pitchAndFamily, 38 | 4);
}

TEST_F(DisplayProfile, RecentFilesKeepEightNewestFirstWithoutRepeats) {
  RecentFileList recent;
  for (int i = 1; i <= 10; ++i) recent.Add(QStringLiteral("/images/%1.dcm").arg(i));
  recent.Add(QStringLiteral("/images/5.dcm"));
  recent.Add(QString());
  const QStringList expected{"/images/5.dcm", "/images/10.dcm", "/images/9.dcm", "/images/8.dcm",
                             "/images/7.dcm", "/images/6.dcm",  "/images/4.dcm", "/images/3.dcm"};
  EXPECT_EQ(recent.Files(), expected);

  suite::ProfileStore profile(QStringLiteral("Pictorium"));
  recent.Save(profile);
  recent.Remove(0);
  recent.Remove(99);
  recent.Save(profile);  // a shorter list leaves no stale eighth entry
  RecentFileList reread;
  reread.Load(profile);
  EXPECT_EQ(reread.Files(), expected.mid(1));
}

}  // namespace
}  // namespace tolmar::viewer
