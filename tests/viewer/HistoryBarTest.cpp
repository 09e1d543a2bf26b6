#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <set>

#include "ViewerFixtures.h"
#include "ViewerTestDatabase.h"
#include "database/StudyRecord.h"
#include "suite/ProfileStore.h"
#include "suite/SuiteStrings.h"
#include "viewer/HistoryBar.h"

namespace tolmar::viewer {
namespace {

struct AutomationCall {
  QString object;
  int method;  // kDetach for a detach
  QVariantList arguments;
};
constexpr int kDetach = -1;

// Records every call; answers 0 unless told otherwise.
class FakeAutomation : public HistoryAutomation {
 public:
  std::set<QString> creatable{HistoryBar::kPictoriumObject, HistoryBar::kReporterObject};
  std::map<int, int> results;  // method -> result
  std::set<int> failing;       // methods whose call itself fails
  std::vector<AutomationCall> calls;

  std::unique_ptr<HistoryAutomationObject> Create(const QString& identifier) override;
};

class FakeObject : public HistoryAutomationObject {
 public:
  FakeObject(FakeAutomation& owner, QString identifier)
      : m_owner(owner), m_identifier(std::move(identifier)) {}
  bool Call(int method, QVariantList arguments, int& result, QString& error) override {
    m_owner.calls.push_back({m_identifier, method, arguments});
    if (m_owner.failing.count(method)) {
      error = QStringLiteral("server gone");
      return false;
    }
    const auto it = m_owner.results.find(method);
    result = it == m_owner.results.end() ? 0 : it->second;
    return true;
  }
  void Detach() override { m_owner.calls.push_back({m_identifier, kDetach, {}}); }

 private:
  FakeAutomation& m_owner;
  QString m_identifier;
};

std::unique_ptr<HistoryAutomationObject> FakeAutomation::Create(const QString& identifier) {
  if (!creatable.count(identifier)) return nullptr;
  return std::make_unique<FakeObject>(*this, identifier);
}

class FakePrompts : public HistoryPrompts {
 public:
  std::vector<std::pair<int, QString>> messages;
  int cursorDepth = 0;
  int cursorShown = 0;
  void ShowMessage(int id, const QString& text) override { messages.emplace_back(id, text); }
  void SetWaitCursor(bool on) override {
    cursorDepth += on ? 1 : -1;
    if (on) ++cursorShown;
  }
};

HistoryEntry Entry(const QString& storageKey, const QString& studyKey, const QString& studyUid,
                   const QString& reportUid) {
  HistoryEntry entry;
  entry.fields[HistoryField::kStorageKey] = storageKey;
  entry.fields[HistoryField::kPatientNo] = QStringLiteral("P0001");
  entry.fields[HistoryField::kStudyKey] = studyKey;
  entry.fields[HistoryField::kStudyUid] = studyUid;
  entry.fields[HistoryField::kReportUid] = reportUid;
  return entry;
}

class HistoryBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<HistoryEntry> entries{
        Entry("7", "20", "1.2.3", "9.8.7"),   // complete
        Entry("7", "21", "", ""),             // no study UID, no report
        Entry("99", "22", "1.2.4", "9.8.8"),  // storage key without a folder
        Entry("7", "", "1.2.5", "9.8.9"),     // no study key
    };
    bar.SetRows(std::move(entries), {{7, QStringLiteral("CT-Archive")}});
  }

  QString Message353(int result, const char* word) const {
    return suite::PictoriumStrings().Format(353, {QString::number(result), QLatin1String(word)});
  }

  FakeAutomation automation;
  FakePrompts prompts;
  HistoryBar bar{automation, prompts, suite::PictoriumStrings()};
};

TEST_F(HistoryBarTest, FolderTextComesFromTheStorageKeyTable) {
  EXPECT_EQ(bar.FolderText(bar.Entries()[0]), QStringLiteral("CT-Archive"));
  EXPECT_EQ(bar.FolderText(bar.Entries()[2]), QString());
  EXPECT_EQ(HistoryBar::ObjectText(bar.Entries()[0]), QStringLiteral(";~;OBJECT_ID=20"));
}

TEST_F(HistoryBarTest, DoubleClickRequestsTheLoadOnceAndMarksTheEntry) {
  std::vector<QStringList> requests;
  const HistoryBar::LoadRequest record = [&](const QString& folder, const QString& kind,
                                             const QString& object) {
    requests.push_back({folder, kind, object});
  };
  ASSERT_TRUE(bar.OpenEntry(0, record));
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], (QStringList{"CT-Archive", "STUDY", ";~;OBJECT_ID=20"}));
  EXPECT_TRUE(bar.Entries()[0].loaded);

  EXPECT_FALSE(bar.OpenEntry(0, record));
  EXPECT_EQ(requests.size(), 1u);
}

TEST_F(HistoryBarTest, DoubleClickWithoutFolderStudyKeyOrEntryDoesNothing) {
  int requests = 0;
  const HistoryBar::LoadRequest count = [&](const QString&, const QString&, const QString&) {
    ++requests;
  };
  for (const int index : {2, 3, -1, 4}) {
    EXPECT_FALSE(bar.OpenEntry(index, count)) << "entry " << index;
  }
  EXPECT_EQ(requests, 0);
  EXPECT_FALSE(bar.Entries()[2].loaded);
}

TEST_F(HistoryBarTest, MarkLoadedFindsTheEntryByStudyKey) {
  bar.MarkLoaded(QStringLiteral("21"));
  EXPECT_FALSE(bar.Entries()[0].loaded);
  EXPECT_TRUE(bar.Entries()[1].loaded);
  int requests = 0;
  EXPECT_FALSE(
      bar.OpenEntry(1, [&](const QString&, const QString&, const QString&) { ++requests; }));
}

TEST_F(HistoryBarTest, ViewInAnotherViewerSetsPatientLoadsShowsAndDetaches) {
  ASSERT_TRUE(bar.ViewInAnotherViewer(0));
  const QString viewer = HistoryBar::kPictoriumObject;
  ASSERT_EQ(automation.calls.size(), 4u);
  EXPECT_EQ(automation.calls[0].method, 7);
  EXPECT_EQ(automation.calls[0].arguments, (QVariantList{"CT-Archive", "1.2.3"}));
  EXPECT_EQ(automation.calls[1].method, 5);
  EXPECT_EQ(automation.calls[1].arguments,
            (QVariantList{"CT-Archive", "STUDY", ";~;OBJECT_ID=20"}));
  EXPECT_EQ(automation.calls[2].method, 1);
  EXPECT_TRUE(automation.calls[2].arguments.isEmpty());
  EXPECT_EQ(automation.calls[3].method, kDetach);
  for (const AutomationCall& call : automation.calls) EXPECT_EQ(call.object, viewer);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(prompts.cursorDepth, 0);
  EXPECT_EQ(prompts.cursorShown, 1);
}

TEST_F(HistoryBarTest, ViewInAnotherViewerSkipsSetPatientWithoutStudyUid) {
  ASSERT_TRUE(bar.ViewInAnotherViewer(1));
  ASSERT_EQ(automation.calls.size(), 3u);
  EXPECT_EQ(automation.calls[0].method, 5);
  EXPECT_EQ(automation.calls[0].arguments[2], QStringLiteral(";~;OBJECT_ID=21"));
}

TEST_F(HistoryBarTest, LoadImagesErrorIsShownAndTheViewerStillComesForward) {
  automation.results[5] = 42;
  ASSERT_TRUE(bar.ViewInAnotherViewer(0));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].first, 353);
  EXPECT_EQ(prompts.messages[0].second, Message353(42, "LoadImagesC"));
  ASSERT_EQ(automation.calls.size(), 4u);
  EXPECT_EQ(automation.calls[2].method, 1);
  EXPECT_EQ(automation.calls[3].method, kDetach);
}

TEST_F(HistoryBarTest, FailedCallEndsTheCommandWithOneMessage) {
  automation.failing.insert(5);
  ASSERT_TRUE(bar.ViewInAnotherViewer(0));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_TRUE(prompts.messages[0].second.contains(QStringLiteral("server gone")));
  ASSERT_EQ(automation.calls.size(), 2u);  // 7 and the failed 5; no 1, no detach
  EXPECT_EQ(prompts.cursorDepth, 0);
}

TEST_F(HistoryBarTest, ObjectsThatCannotBeCreatedShowNothingAndDropTheWaitCursor) {
  automation.creatable.clear();
  EXPECT_FALSE(bar.ViewInAnotherViewer(0));
  EXPECT_FALSE(bar.OpenReport(0));
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_TRUE(automation.calls.empty());
  EXPECT_EQ(prompts.cursorShown, 2);
  EXPECT_EQ(prompts.cursorDepth, 0);
}

TEST_F(HistoryBarTest, OpenReportDrivesTheReportWriterInOrder) {
  ASSERT_TRUE(bar.OpenReport(0));
  ASSERT_EQ(automation.calls.size(), 4u);
  EXPECT_EQ(automation.calls[0].object, HistoryBar::kReporterObject);
  EXPECT_EQ(automation.calls[0].method, 1);
  EXPECT_EQ(automation.calls[0].arguments, (QVariantList{true}));
  EXPECT_EQ(automation.calls[1].method, 7);
  EXPECT_EQ(automation.calls[1].arguments, (QVariantList{"CT-Archive", "P0001", "1.2.3", "9.8.7"}));
  EXPECT_EQ(automation.calls[2].method, 2);
  EXPECT_EQ(automation.calls[3].method, kDetach);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(HistoryBarTest, ModifyReportErrorIsShownAndTheWriterIsStillShown) {
  automation.results[7] = 3;
  ASSERT_TRUE(bar.OpenReport(0));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].second, Message353(3, "ModifyReport"));
  EXPECT_EQ(automation.calls.back().method, kDetach);
}

TEST_F(HistoryBarTest, OpenReportNeedsFolderAndReportUid) {
  EXPECT_FALSE(bar.OpenReport(1));  // no report UID
  EXPECT_FALSE(bar.OpenReport(2));  // no folder
  EXPECT_TRUE(automation.calls.empty());
  EXPECT_EQ(prompts.cursorShown, 0);
}

class HistorySettingsTest : public ::testing::Test {
 private:
  test::PrivateProfileFolder m_profileFolder;
};

TEST_F(HistorySettingsTest, CasebookValuesHaveTheirDefaultsAndAreRead) {
  suite::ProfileStore profile(QStringLiteral("Pictorium"));
  const HistoryBarSettings defaults = HistoryBarSettings::Read(profile);
  EXPECT_FALSE(defaults.visible);
  EXPECT_EQ(defaults.width, 100);
  EXPECT_EQ(defaults.height, 100);
  EXPECT_EQ(defaults.showFlag, 1);
  EXPECT_EQ(defaults.casebookId, 20);

  const QString section = QStringLiteral("Casebook");
  profile.WriteProfileInt(section, QStringLiteral("IsView"), 1);
  profile.WriteProfileInt(section, QStringLiteral("Width"), 240);
  profile.WriteProfileString(section, QStringLiteral("Height"), QStringLiteral("tall"));
  const HistoryBarSettings read = HistoryBarSettings::Read(profile);
  EXPECT_TRUE(read.visible);
  EXPECT_EQ(read.width, 240);
  EXPECT_EQ(read.height, 100);
}

TEST(HistoryPatientTest, StudyBlockNamesThePatientByKeyAndNumber) {
  db::STUDY_RECORD record;
  record.SetInteger(1, 31);
  record.SetColumn(HistoryField::kPatientNo, "P0031  ");
  const std::vector<uint8_t> bytes = record.ToBytes();
  const HistoryPatient patient = HistoryPatient::FromStudyBlock(bytes.data(), bytes.size());
  EXPECT_EQ(patient.patientKey, 31);
  EXPECT_EQ(patient.patientNo, QStringLiteral("P0031"));

  EXPECT_TRUE(HistoryPatient::FromStudyBlock(bytes.data(), bytes.size() - 1).IsEmpty());
  EXPECT_TRUE(HistoryPatient::FromStudyBlock(nullptr, 0).IsEmpty());
  const std::vector<uint8_t> zeros(db::STUDY_RECORD::kSize, 0);
  EXPECT_TRUE(HistoryPatient::FromStudyBlock(zeros.data(), zeros.size()).IsEmpty());
}

// The patient's studies as the database holds them.
class PatientHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& database = test::ViewerTestDatabase::Instance();
    db = database.Db();
    if (!db) GTEST_SKIP() << "no SQLite data source: " << database.Reason().toStdString();
    ASSERT_TRUE(database.Empty());
    Run("INSERT INTO T_DEVICE (F_DEV_ID,F_DEV_NAME,F_TYPE_ID,F_DEV_OWNER,F_DEV_FLAG) "
        "VALUES (?,?,0,0,0)",
        {7, "CT-Archive"});
    Run("INSERT INTO T_PATIENT (F_PAT_ID,F_DEV_ID,F_PAT_NO,F_PAT_NAME) VALUES (?,?,?,?)",
        {1, 7, "P0001", "张三"});
    Run("INSERT INTO T_PATIENT (F_PAT_ID,F_DEV_ID,F_PAT_NO,F_PAT_NAME) VALUES (?,?,?,?)",
        {2, 7, "O'Brien", "other"});
    Study(20, 1, "2001.03.09", "1.2.20", "9.20");
    Study(21, 1, "2003.05.01", "1.2.21", "");
    Study(22, 2, "2002.01.01", "1.2.22", "9.22");
  }
  void Run(const char* sql, const QVariantList& params) {
    ASSERT_TRUE(db->ExecuteSQL(QString::fromUtf8(sql), params)) << db->LastError().toStdString();
  }
  void Study(int key, int patient, const char* date, const char* uid, const char* reportUid) {
    Run("INSERT INTO T_STUDY (F_STU_ID,F_PAT_ID,F_DEV_ID,F_STU_UID,F_STU_NO,F_STU_DATE,"
        "F_MODALITY,F_RPT_UID) VALUES (?,?,?,?,?,?,?,?)",
        {key, patient, 7, uid, QStringLiteral("S%1").arg(key), date, "CT", reportUid});
  }
  QStringList StudyKeys(const HistoryPatient& patient) {
    std::vector<HistoryEntry> entries;
    std::map<int32_t, QString> folders;
    EXPECT_TRUE(ReadPatientHistory(*db, patient, entries, folders))
        << db->LastError().toStdString();
    QStringList keys;
    for (const HistoryEntry& entry : entries) keys << entry.Field(HistoryField::kStudyKey);
    return keys;
  }

  db::DbConnection* db = nullptr;
};

TEST_F(PatientHistoryTest, ListsThePatientsStudiesNewestFirstWithTheirFields) {
  std::vector<HistoryEntry> entries;
  std::map<int32_t, QString> folders;
  HistoryPatient patient;
  patient.patientKey = 1;
  ASSERT_TRUE(ReadPatientHistory(*db, patient, entries, folders));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].Field(HistoryField::kStudyKey), QStringLiteral("21"));
  const HistoryEntry& older = entries[1];
  EXPECT_EQ(older.Field(HistoryField::kStorageKey), QStringLiteral("7"));
  EXPECT_EQ(older.Field(HistoryField::kPatientNo), QStringLiteral("P0001"));
  EXPECT_EQ(older.Field(HistoryField::kStudyUid), QStringLiteral("1.2.20"));
  EXPECT_EQ(older.Field(HistoryField::kReportUid), QStringLiteral("9.20"));
  EXPECT_EQ(older.Field(HistoryField::kStudyDate), QStringLiteral("2001.03.09"));
  EXPECT_EQ(folders, (std::map<int32_t, QString>{{7, QStringLiteral("CT-Archive")}}));
}

TEST_F(PatientHistoryTest, PatientIsFoundByKeyNumberOrStudyUid) {
  struct Case {
    const char* name;
    HistoryPatient patient;
    QStringList keys;
  };
  const Case cases[] = {
      {"key", {1, {}, {}}, {"21", "20"}},
      {"number", {0, QStringLiteral("P0001"), {}}, {"21", "20"}},
      {"number with a quote", {0, QStringLiteral("O'Brien"), {}}, {"22"}},
      {"study UID", {0, {}, QStringLiteral("1.2.22")}, {"22"}},
      {"unknown study UID", {0, {}, QStringLiteral("1.2.99")}, {}},
      {"nobody", {}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(StudyKeys(c.patient), c.keys) << c.name;
}

TEST_F(PatientHistoryTest, NumberIsBoundNotPastedIntoTheStatement) {
  HistoryPatient patient;
  patient.patientNo = QStringLiteral("x' OR '1'='1");
  EXPECT_TRUE(StudyKeys(patient).isEmpty());
  patient.patientNo = QStringLiteral("x'; DELETE FROM T_STUDY; --");
  EXPECT_TRUE(StudyKeys(patient).isEmpty());
  EXPECT_EQ(StudyKeys({2, {}, {}}), QStringList{"22"});
}

}  // namespace
}  // namespace tolmar::viewer
