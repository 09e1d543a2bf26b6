#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include "ViewerFixtures.h"
#include "ViewerTestDatabase.h"
#include "image/DisplaySettings.h"
#include "suite/OutsideLibraries.h"
#include "suite/ProfileStore.h"
#include "suite/SuiteStrings.h"
#include "viewer/CPictoriumDoc.h"
#include "viewer/DocumentCommands.h"

namespace tolmar::viewer {
namespace {

// Every test gets its own profile folder.
class DocumentCommandsTest : public ::testing::Test {
 protected:
  void SetRequestKey(const char* key) {
    std::memcpy(doc.StudyBlock().data() + 365, key, std::strlen(key) + 1);
  }

  CPictoriumDoc doc{QString(), nullptr};

 private:
  test::PrivateProfileFolder m_profileFolder;
};

class FakeWindows : public SiblingWindows {
 public:
  QStringList running;
  mutable QStringList placed;
  bool Find(const QString& title) const override { return running.contains(title); }
  bool PlaceBehind(const QString& title, const QString& callerTitle) const override {
    placed << title + QStringLiteral(" behind ") + callerTitle;
    return true;
  }
};

TEST_F(DocumentCommandsTest, SelectNewPatientPutsTheArchiveManagerBehindTheViewer) {
  FakeWindows windows;
  EXPECT_FALSE(SelectNewPatient(windows, QStringLiteral("Pictorium")));
  EXPECT_TRUE(windows.placed.isEmpty());

  windows.running << QStringLiteral("Stowmark");
  EXPECT_TRUE(SelectNewPatient(windows, QStringLiteral("Pictorium")));
  EXPECT_EQ(windows.placed, QStringList{"Stowmark behind Pictorium"});
}

TEST_F(DocumentCommandsTest, SelectNewPatientUsesTheTitleKeptInGeneral) {
  ASSERT_TRUE(suite::WriteProfileValue(suite::ProfileStore::kGeneralProfile, QString(),
                                       QStringLiteral("StowmarkName"), QStringLiteral("归档管理")));
  FakeWindows windows;
  windows.running << QStringLiteral("Stowmark");
  EXPECT_FALSE(SelectNewPatient(windows, QStringLiteral("Pictorium")));
  windows.running << QStringLiteral("归档管理");
  EXPECT_TRUE(SelectNewPatient(windows, QStringLiteral("Pictorium")));
  EXPECT_EQ(windows.placed, QStringList{"归档管理 behind Pictorium"});
}

TEST_F(DocumentCommandsTest, ConsultationKeyLosesTrailingBlanksOnly) {
  EXPECT_TRUE(ConsultationKey(doc).isEmpty());
  SetRequestKey(" REQ 01   ");
  EXPECT_EQ(ConsultationKey(doc), QByteArray(" REQ 01"));
}

TEST_F(DocumentCommandsTest, ConsultationSheetGoesToTheRegistrationTableLibrary) {
  const QString programFolder = QCoreApplication::applicationDirPath() + u'/';
  const suite::RegTabLibrary library(programFolder);
  if (!library.IsAvailable()) GTEST_SKIP() << "the TmRegTab stand-in is not built";
  QTemporaryDir logFolder;
  const QString log = logFolder.filePath(QStringLiteral("regtab.log"));
  qputenv("TOLMAR_REGTAB_LOG", QFile::encodeName(log));
  SetRequestKey("REQ-7  ");
  const bool shown = ShowConsultationSheet(library, 0, doc);
  qunsetenv("TOLMAR_REGTAB_LOG");
  EXPECT_TRUE(shown);
  QFile file(log);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("REQ-7\n"));
}

TEST_F(DocumentCommandsTest, ConsultationSheetWithoutTheLibraryDoesNothing) {
  QTemporaryDir emptyFolder;
  const suite::RegTabLibrary missing(emptyFolder.path() + u'/');
  SetRequestKey("REQ-7");
  EXPECT_FALSE(missing.IsAvailable());
  EXPECT_FALSE(ShowConsultationSheet(missing, 0, doc));
}

TEST_F(DocumentCommandsTest, ResetDefaultsWritesOnlyTheTwoValues) {
  suite::ProfileStore profile(QStringLiteral("Pictorium"));
  profile.WriteProfileInt(QStringLiteral("Bars"), QStringLiteral("V_Bar_MiniImg"), 0);
  profile.WriteProfileInt(QStringLiteral("Bars"), QStringLiteral("V_Bar_Tools"), 0);
  ASSERT_TRUE(ResetDefaultsAtNextStart(profile));
  EXPECT_EQ(profile.GetProfileInt(QStringLiteral("Bars"), QStringLiteral("V_Bar_MiniImg"), -1), 1);
  EXPECT_EQ(profile.GetProfileInt(QStringLiteral("Settings"), QStringLiteral("Reset"), -1), 1);
  EXPECT_EQ(profile.GetProfileInt(QStringLiteral("Bars"), QStringLiteral("V_Bar_Tools"), -1), 0);
  EXPECT_FALSE(suite::PictoriumStrings().Text(kResetDefaultsMessage).isEmpty());
}

// Three cells; the current image is the first, the selection adds the last.
class BackgroundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_saved = CurrentDisplaySettings();
    for (int instance = 1; instance <= 3; ++instance)
      doc.AppendCell(std::make_unique<DisplayCell>(test::MakeImage({1, instance})));
  }
  void TearDown() override { SetDisplaySettings(m_saved); }

  CPictoriumDoc doc{QString(), nullptr};

 private:
  DisplaySettings m_saved;
};

TEST_F(BackgroundTest, DialogStartsFromTheColourTheCurrentImageShows) {
  EXPECT_FALSE(BackgroundOfCurrentImage(nullptr).has_value());
  DisplaySettings settings = CurrentDisplaySettings();
  settings.background = 0x00302010;  // 0x00BBGGRR
  SetDisplaySettings(settings);
  const std::optional<QColor> colour = BackgroundOfCurrentImage(&doc.Cell(0).Image(0));
  ASSERT_TRUE(colour.has_value());
  EXPECT_EQ(*colour, QColor(0x10, 0x20, 0x30));
}

TEST_F(BackgroundTest, ChosenColourReachesTheCurrentAndSelectedImages) {
  const DicomImage* current = &doc.Cell(0).Image(0);
  const TakesPartFunction lastCell = [this](const DisplayCell& cell, int) {
    return &cell == &doc.Cell(2);
  };
  EXPECT_EQ(SetBackgroundOfSelection(doc, current, lastCell, QColor(0x11, 0x22, 0x33)), 2);
  EXPECT_EQ(CurrentDisplaySettings().background, 0x00332211u);
  EXPECT_EQ(*BackgroundOfCurrentImage(current), QColor(0x11, 0x22, 0x33));
}

TEST_F(BackgroundTest, NothingChangesWithoutImagesOrWithAnInvalidColour) {
  const uint32_t before = CurrentDisplaySettings().background;
  EXPECT_EQ(SetBackgroundOfSelection(doc, nullptr, {}, QColor(Qt::red)), 0);
  EXPECT_EQ(SetBackgroundOfSelection(doc, &doc.Cell(0).Image(0), {}, QColor()), 0);
  EXPECT_EQ(CurrentDisplaySettings().background, before);
}

class PreliminaryDiagnosisTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& database = test::ViewerTestDatabase::Instance();
    db = database.Db();
    if (!db) GTEST_SKIP() << "no SQLite data source: " << database.Reason().toStdString();
    ASSERT_TRUE(database.Empty());
    const QString insert = QStringLiteral(
        "INSERT INTO T_QUICK_REPORT (F_QRPT_ID,F_STU_ID,F_MEMO_SPARE1,F_MEMO_SPARE2) VALUES "
        "(?,?,?,?)");
    ASSERT_TRUE(db->ExecuteSQL(
        insert, {1, 20, QStringLiteral("两肺纹理增粗   "), QStringLiteral("second memo")}));
    ASSERT_TRUE(db->ExecuteSQL(insert, {2, 21, QStringLiteral("other study"), QString()}));
  }

  db::DbConnection* db = nullptr;
};

TEST_F(PreliminaryDiagnosisTest, TextOfTheStudysQuickReportWithoutTrailingBlanks) {
  const PreliminaryDiagnosis found = ReadPreliminaryDiagnosis(db, 20);
  EXPECT_EQ(found.outcome, PreliminaryDiagnosis::Outcome::Found);
  EXPECT_EQ(found.text, QStringLiteral("两肺纹理增粗"));
}

TEST_F(PreliminaryDiagnosisTest, NoRecordNoConnectionAndDatabaseErrorShowNoText) {
  EXPECT_EQ(ReadPreliminaryDiagnosis(db, 99).outcome, PreliminaryDiagnosis::Outcome::NoRecord);
  EXPECT_EQ(ReadPreliminaryDiagnosis(nullptr, 20).outcome,
            PreliminaryDiagnosis::Outcome::NoConnection);

  ASSERT_TRUE(db->ExecuteSQL(QStringLiteral("ALTER TABLE T_QUICK_REPORT RENAME TO T_QR_AWAY")));
  const PreliminaryDiagnosis failed = ReadPreliminaryDiagnosis(db, 20);
  ASSERT_TRUE(db->ExecuteSQL(QStringLiteral("ALTER TABLE T_QR_AWAY RENAME TO T_QUICK_REPORT")));
  EXPECT_EQ(failed.outcome, PreliminaryDiagnosis::Outcome::DatabaseError);
  EXPECT_FALSE(failed.error.isEmpty());
  EXPECT_TRUE(failed.text.isEmpty());
}

}  // namespace
}  // namespace tolmar::viewer
