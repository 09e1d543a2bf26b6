#include <QDir>
#include <QFile>

#include "ProfileFixture.h"
#include "suite/IniFile.h"
#include "suite/ProfileStore.h"
#include "suite/WindowPlacement.h"

using namespace tolmar::suite;

namespace {

using ProfileStoreTest = ProfileFixture;

TEST_F(ProfileStoreTest, ProgramAndGeneralProfilesAreSeparateFilesBelowTheRoot) {
  ProfileStore viewer(QStringLiteral("Pictorium"));
  ASSERT_TRUE(viewer.WriteProfileString(QStringLiteral("Settings"), QStringLiteral("Font"),
                                        QStringLiteral("宋体")));
  ASSERT_TRUE(viewer.WriteSharedValue(QString(), QStringLiteral("StowmarkName"),
                                      QStringLiteral("Archive")));
  const QString folder = Home() + QStringLiteral("/Tolmar/Tolmar PACS/");
  EXPECT_TRUE(QFile::exists(folder + QStringLiteral("Pictorium.ini")));
  EXPECT_TRUE(QFile::exists(folder + QStringLiteral("General.ini")));

  ProfileStore archive(QStringLiteral("Stowmark"));
  EXPECT_EQ(archive.GetProfileString(QStringLiteral("Settings"), QStringLiteral("Font"),
                                     QStringLiteral("none")),
            QStringLiteral("none"));
  EXPECT_EQ(archive.ReadSharedValue(QString(), QStringLiteral("StowmarkName"),
                                    QStringLiteral("Stowmark")),
            QStringLiteral("Archive"));
  EXPECT_EQ(viewer.GetProfileString(QStringLiteral("settings"), QStringLiteral("FONT"), QString()),
            QStringLiteral("宋体"));
}

TEST_F(ProfileStoreTest, MissingValuesGiveDefaults) {
  ProfileStore store(QStringLiteral("Stowmark"));
  EXPECT_EQ(store.GetProfileInt(QStringLiteral("Settings"), QStringLiteral("RightHeight"), 500),
            500);
  EXPECT_EQ(store.ReadSharedValue(QString(), QStringLiteral("Admin file name"),
                                  QStringLiteral("Stewardry.EXE")),
            QStringLiteral("Stewardry.EXE"));
  EXPECT_EQ(store.ReadSharedValue(QStringLiteral("ExLogin"), QStringLiteral("DllName"),
                                  QStringLiteral("TmGate.dll")),
            QStringLiteral("TmGate.dll"));
}

TEST_F(ProfileStoreTest, IntegersRoundTripAndNonNumbersGiveTheDefault) {
  ProfileStore store(QStringLiteral("Stowmark"));
  ASSERT_TRUE(store.WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("Dlg.left"), -1));
  ASSERT_TRUE(store.WriteProfileString(QStringLiteral("Settings"), QStringLiteral("Bad"),
                                       QStringLiteral("12abc")));
  EXPECT_EQ(store.GetProfileInt(QStringLiteral("Settings"), QStringLiteral("Dlg.left"), 7), -1);
  EXPECT_EQ(store.GetProfileInt(QStringLiteral("Settings"), QStringLiteral("Bad"), 7), 7);
}

TEST_F(ProfileStoreTest, AnyTextSurvivesAndSectionlessValuesStayFirst) {
  ProfileStore store(QStringLiteral("Reporter"));
  const QString awkward = QStringLiteral("  line1\nline2\\n [x]=y\r ");
  ASSERT_TRUE(
      store.WriteProfileString(QStringLiteral("Settings"), QStringLiteral("Text"), awkward));
  ASSERT_TRUE(store.WriteProfileString(QString(), QStringLiteral("Top"), QStringLiteral("1")));
  EXPECT_EQ(store.GetProfileString(QStringLiteral("Settings"), QStringLiteral("Text"), QString()),
            awkward);
  EXPECT_EQ(store.GetProfileString(QString(), QStringLiteral("Top"), QString()),
            QStringLiteral("1"));
  const IniFile reread = IniFile::Load(ProfileStore::ProfilePath(QStringLiteral("Reporter")));
  EXPECT_EQ(reread.Value(QString(), QStringLiteral("top")), QStringLiteral("1"));
}

TEST_F(ProfileStoreTest, WritingLeavesNoTemporaryFilesBehind) {
  ProfileStore store(QStringLiteral("Pictorium"));
  for (int i = 0; i < 5; ++i)
    ASSERT_TRUE(store.WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("N%1").arg(i), i));
  const QStringList files = QDir(ProfileStore::Folder()).entryList(QDir::Files);
  EXPECT_EQ(files, QStringList{QStringLiteral("Pictorium.ini")});
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(store.GetProfileInt(QStringLiteral("Settings"), QStringLiteral("N%1").arg(i), -1), i);
}

TEST(IniFileTest, HandEditedFileKeepsFirstValueAndIgnoresComments) {
  const IniFile ini =
      IniFile::Parse(QStringLiteral("; note\r\nA=1\r\n[S]\r\nk=v\r\nK=w\r\n# x\r\n"));
  EXPECT_EQ(ini.Value(QString(), QStringLiteral("a")), QStringLiteral("1"));
  EXPECT_EQ(ini.Value(QStringLiteral("s"), QStringLiteral("K")), QStringLiteral("v"));
  EXPECT_FALSE(ini.Value(QStringLiteral("S"), QStringLiteral("; note")).has_value());
}

// Main window placement of the archive manager.
struct PlacementCase {
  const char* name;
  ScreenRect saved;
  bool clip;
  ScreenRect clipRect;
  ScreenRect expected;
};

const ScreenRect kDesktop{0, 0, 1920, 1080};

class MainWindowPlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(MainWindowPlacementTest, ClipsTheSavedRectangleOrFallsBackToTheDesktop) {
  const PlacementCase& c = GetParam();
  EXPECT_EQ(PlaceMainWindow(c.saved, c.clip, c.clipRect, kDesktop), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainWindowPlacementTest,
    ::testing::Values(
        PlacementCase{"SavedRectangleUsed", {10, 20, 810, 620}, false, {}, {10, 20, 810, 620}},
        PlacementCase{"NothingSavedGivesDesktop", {}, false, {}, kDesktop},
        PlacementCase{"ClippedToOverlap",
                      {0, 0, 1000, 800},
                      true,
                      {100, 100, 500, 400},
                      {100, 100, 500, 400}},
        PlacementCase{
            "NoOverlapGivesDesktop", {0, 0, 100, 100}, true, {200, 200, 400, 400}, kDesktop},
        PlacementCase{
            "TouchingEdgesGiveDesktop", {0, 0, 100, 100}, true, {100, 0, 200, 100}, kDesktop}),
    [](const auto& info) { return std::string(info.param.name); });

using WindowSettingsTest = ProfileFixture;

TEST_F(WindowSettingsTest, ClippingIsReadFromGeneralAndTheRectangleFromSettings) {
  ProfileStore store(QStringLiteral("Stowmark"));
  ASSERT_TRUE(SaveMainWindowRect(store, {50, 50, 1050, 850}, false));
  EXPECT_EQ(PlaceMainWindow(store, kDesktop), (ScreenRect{50, 50, 1050, 850}));
  ASSERT_TRUE(store.WriteSharedValue(QStringLiteral("ClipWnd"), QStringLiteral("Clip"),
                                     QStringLiteral("1")));
  ASSERT_TRUE(store.WriteSharedValue(QStringLiteral("ClipWnd"), QStringLiteral("MainWnd.left"),
                                     QStringLiteral("0")));
  ASSERT_TRUE(store.WriteSharedValue(QStringLiteral("ClipWnd"), QStringLiteral("MainWnd.top"),
                                     QStringLiteral("0")));
  ASSERT_TRUE(store.WriteSharedValue(QStringLiteral("ClipWnd"), QStringLiteral("MainWnd.right"),
                                     QStringLiteral("800")));
  ASSERT_TRUE(store.WriteSharedValue(QStringLiteral("ClipWnd"), QStringLiteral("MainWnd.bottom"),
                                     QStringLiteral("600")));
  EXPECT_EQ(PlaceMainWindow(store, kDesktop), (ScreenRect{50, 50, 800, 600}));
}

TEST_F(WindowSettingsTest, MinimisedWindowLeavesTheSavedRectangle) {
  ProfileStore store(QStringLiteral("Stowmark"));
  ASSERT_TRUE(SaveMainWindowRect(store, {1, 2, 300, 400}, false));
  ASSERT_TRUE(SaveMainWindowRect(store, {-32000, -32000, -31840, -31970}, true));
  EXPECT_EQ(PlaceMainWindow(store, kDesktop), (ScreenRect{1, 2, 300, 400}));
}

TEST_F(WindowSettingsTest, DialogPositionNeedsBothValuesAtLeastZero) {
  ProfileStore store(QStringLiteral("Stowmark"));
  EXPECT_FALSE(SavedDialogPosition(store).has_value());
  ASSERT_TRUE(store.WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("Dlg.left"), -1));
  ASSERT_TRUE(store.WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("Dlg.top"), 200));
  EXPECT_FALSE(SavedDialogPosition(store).has_value());
  ASSERT_TRUE(SaveDialogPosition(store, {0, 200}));
  EXPECT_EQ(SavedDialogPosition(store), (ScreenPoint{0, 200}));
}

}  // namespace
