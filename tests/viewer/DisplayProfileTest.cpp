#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "suite/ProfileStore.h"
#include "viewer/DisplayProfile.h"

namespace tolmar::viewer {
namespace {

class DisplayProfile : public ::testing::Test {
 protected:
  void SetUp() override {
    m_old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
  }
  void TearDown() override { qputenv("XDG_CONFIG_HOME", m_old); }

  QTemporaryDir m_dir;
  QByteArray m_old;
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

}  // namespace
}  // namespace tolmar::viewer
