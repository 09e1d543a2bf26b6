// Importing DICOM files: the hierarchy in the database matches what pydicom reads
// from the same files, importing again adds nothing, and the tool reports properly.
#include <QDir>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include "EngineFixture.h"
#include "database/StudyColumns.h"
#include "database/StudyImporter.h"

namespace tolmar::db::test {
namespace {

const QString kPydicomFiles = QStringLiteral("/usr/lib/python3/dist-packages/pydicom/data/test_files");
const QString kTolmar = QStringLiteral(TOLMAR_PROGRAM_DIR "/tolmar");

// path -> "studyUID|seriesUID|sopUID" for every file pydicom reads with all three UIDs.
QHash<QString, QString> PydicomHierarchy(const QString& folder) {
  const char* script = R"(
import os, sys, pydicom
for root, dirs, files in os.walk(sys.argv[1]):
    for name in sorted(files):
        path = os.path.join(root, name)
        try:
            ds = pydicom.dcmread(path, stop_before_pixels=True)
            uids = [str(ds.get(k, '')).strip() for k in ('StudyInstanceUID', 'SeriesInstanceUID', 'SOPInstanceUID')]
        except Exception:
            continue
        if all(uids):
            print(os.path.abspath(path) + '\t' + '|'.join(uids))
)";
  QProcess python;
  python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(script), folder});
  QHash<QString, QString> result;
  if (!python.waitForFinished(120000)) {
    python.kill();
    python.waitForFinished(5000);
    return result;
  }
  for (const QString& line : QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts)) {
    const auto parts = line.split(u'\t');
    if (parts.size() == 2) result.insert(parts[0], parts[1]);
  }
  return result;
}

class Import : public EngineTest {
 protected:
  ImportCounts ImportFolder(const QString& folder, int device = 1) {
    StudyImporter importer(*m_db, device);
    EXPECT_TRUE(importer.Begin()) << importer.LastError().toStdString();
    std::vector<std::string> missing;
    for (const auto& [path, named] : StudyImporter::CollectFiles({folder.toStdString()}, missing)) {
      std::string reason;
      const auto result = importer.ImportFile(path, named, reason);
      EXPECT_NE(result, StudyImporter::FileResult::DatabaseError) << reason;
    }
    EXPECT_TRUE(importer.Finish()) << importer.LastError().toStdString();
    return importer.Counts();
  }

  // path -> "studyUID|seriesUID|sopUID" as filed in the database.
  QHash<QString, QString> FiledHierarchy() {
    std::vector<SqlRow> rows;
    EXPECT_TRUE(m_db->Select(QStringLiteral(
                                 "SELECT i.F_FILE_PATH,s.F_STU_UID,e.F_SER_UID,i.F_SOP_UID FROM T_IMAGE i "
                                 "JOIN T_SERIES e ON e.F_SER_ID=i.F_SER_ID JOIN T_STUDY s ON s.F_STU_ID=e.F_STU_ID"),
                             {}, rows));
    QHash<QString, QString> result;
    for (const auto& row : rows) {
      result.insert(row[0].toString(), row[1].toString() + u'|' + row[2].toString() + u'|' + row[3].toString());
    }
    return result;
  }

  qlonglong Count(const QString& table) {
    QVariant value;
    EXPECT_TRUE(m_db->SelectValue(QStringLiteral("SELECT COUNT(*) FROM ") + table, {}, value));
    return value.toLongLong();
  }

  bool MakeDemo(const QString& folder, int slices) {
    QProcess tool;
    tool.start(kTolmar, {QStringLiteral("make-demo"), folder, QStringLiteral("--slices"), QString::number(slices)});
    return tool.waitForFinished(120000) && tool.exitCode() == 0;
  }
};

TEST_P(Import, DemoStudyIsOnePatientWithItsSeriesAndEveryImage) {
  QTemporaryDir demo;
  ASSERT_TRUE(MakeDemo(demo.path(), 5));
  const auto expected = PydicomHierarchy(demo.path());
  ASSERT_FALSE(expected.isEmpty()) << "pydicom read nothing from the demo study";
  const ImportCounts counts = ImportFolder(demo.path());
  EXPECT_EQ(counts.failed, 0u);
  EXPECT_EQ(counts.patientsAdded, 1u);
  EXPECT_EQ(counts.studiesAdded, 1u);
  const auto filed = FiledHierarchy();
  for (auto it = expected.begin(); it != expected.end(); ++it) {
    EXPECT_EQ(filed.value(it.key()), it.value()) << it.key().toStdString();
  }
  QSet<QString> series;
  for (const QString& value : expected) series.insert(value.section(u'|', 1, 1));
  EXPECT_EQ(Count(QStringLiteral("T_SERIES")), series.size());

  // The study list fills study records by column id.
  std::vector<STUDY_RECORD> studies;
  ASSERT_TRUE(ReadStudyRecords(*m_db, QStringLiteral("F_DEV_ID=1"), QStringLiteral("F_STU_DATE"), studies))
      << m_db->LastError().toStdString();
  ASSERT_EQ(studies.size(), 1u);
  const STUDY_RECORD& study = studies.front();
  EXPECT_EQ(study.GetColumn(4), "ZHANG^WEI=张伟");
  EXPECT_EQ(study.GetColumn(3), "TM000123");
  EXPECT_EQ(study.GetColumn(6), "M");
  EXPECT_EQ(study.GetColumn(24), "2026.12.01");
  EXPECT_EQ(study.GetColumn(21), "1.2.840.1978.7.1.9.1");
  EXPECT_EQ(study.GetColumn(132), std::to_string(expected.size()));
  EXPECT_EQ(study.GetColumn(131), std::to_string(series.size()));
  EXPECT_EQ(study.GetColumn(43), "") << "a study on no disc has no disc number";

  // The query conditions' columns work on the study list, escaped user text included.
  studies.clear();
  ASSERT_TRUE(ReadStudyRecords(*m_db,
                               QStringLiteral("(F_PAT_NAME LIKE '%张伟%') AND (F_CD_NO is NULL) AND "
                                              "( ( F_STU_DATE >= '2026.12.01' ) AND ( F_STU_DATE < '2026.12.32' ) ) "
                                              "AND ( 'CT,MR' LIKE '%'+F_MODALITY+'%' ) AND (F_SEX='M') AND "
                                              "(F_PAT_NO LIKE '%TM%') AND (F_STU_NO LIKE '%%') AND "
                                              "(F_STU_PLACE LIKE '%%') AND (F_STU_SPARE9 LIKE '%%')"),
                               {}, studies))
      << m_db->LastError().toStdString();
  EXPECT_EQ(studies.size(), 1u);
  studies.clear();
  ASSERT_TRUE(ReadStudyRecords(*m_db, QStringLiteral("F_PAT_NAME=") + SqlDialect::Literal(QStringLiteral("O'Brien")), {},
                               studies));
  EXPECT_TRUE(studies.empty());
}

TEST_P(Import, ImportingTheSameFilesAgainAddsNothing) {
  QTemporaryDir demo;
  ASSERT_TRUE(MakeDemo(demo.path(), 5));
  const ImportCounts first = ImportFolder(demo.path());
  const qlonglong images = Count(QStringLiteral("T_IMAGE"));
  ASSERT_GT(images, 0);
  const ImportCounts second = ImportFolder(demo.path());
  EXPECT_EQ(second.imagesAdded, 0u);
  EXPECT_EQ(second.alreadyPresent, first.imagesAdded + first.alreadyPresent);
  EXPECT_EQ(second.patientsAdded + second.studiesAdded + second.seriesAdded, 0u);
  EXPECT_EQ(Count(QStringLiteral("T_IMAGE")), images);
  EXPECT_EQ(Count(QStringLiteral("T_PATIENT")), 1);
  // Another device files its own copy.
  const ImportCounts other = ImportFolder(demo.path(), 2);
  EXPECT_EQ(other.imagesAdded, first.imagesAdded);
  EXPECT_EQ(Count(QStringLiteral("T_STUDY")), 2);
}

TEST_P(Import, PydicomTestFilesAreFiledUnderTheirOwnStudiesAndSeries) {
  if (!QDir(kPydicomFiles).exists()) GTEST_SKIP() << "python3-pydicom test files are not installed";
  const auto expected = PydicomHierarchy(kPydicomFiles);
  ASSERT_GT(expected.size(), 20);
  const ImportCounts counts = ImportFolder(kPydicomFiles);
  const auto filed = FiledHierarchy();
  // A file is filed once per image; copies with another transfer syntax share the
  // SOP instance UID and are "already present".
  EXPECT_GT(filed.size() + counts.alreadyPresent, static_cast<size_t>(expected.size()) / 2);
  for (auto it = filed.begin(); it != filed.end(); ++it) {
    if (!expected.contains(it.key())) continue;  // pydicom could not read it
    EXPECT_EQ(it.value(), expected.value(it.key())) << it.key().toStdString();
  }
  EXPECT_GT(counts.notDicom + counts.failed, 0u) << "the folder holds files that are no images";
  // Every study's counts agree with its rows.
  std::vector<SqlRow> rows;
  ASSERT_TRUE(m_db->Select(QStringLiteral("SELECT s.F_IMG_COUNT,(SELECT COUNT(*) FROM T_IMAGE i JOIN T_SERIES e ON "
                                          "e.F_SER_ID=i.F_SER_ID WHERE e.F_STU_ID=s.F_STU_ID) FROM T_STUDY s"),
                           {}, rows));
  for (const auto& row : rows) EXPECT_EQ(row[0].toLongLong(), row[1].toLongLong());
}

TOLMAR_ON_BOTH_ENGINES(Import);

struct ToolRun {
  int exitCode = -1;
  QString out;
  QString err;
};

ToolRun RunTool(const QStringList& args) {
  QProcess tool;
  tool.start(kTolmar, args);
  ToolRun run;
  if (!tool.waitForFinished(120000)) {
    tool.kill();
    tool.waitForFinished(5000);
    return run;
  }
  run.exitCode = tool.exitCode();
  run.out = QString::fromUtf8(tool.readAllStandardOutput());
  run.err = QString::fromUtf8(tool.readAllStandardError());
  return run;
}

TEST(ImportTool, ReportsProgressSummaryAndExitCodes) {
  QString reason;
  ASSERT_TRUE(TestDatabases::Instance().Wipe(Engine::Sqlite, reason));
  ASSERT_EQ(RunTool({QStringLiteral("db"), QStringLiteral("init")}).exitCode, 0);
  ASSERT_EQ(RunTool({QStringLiteral("db"), QStringLiteral("init")}).exitCode, 0) << "init runs again harmlessly";
  QTemporaryDir demo;
  ASSERT_EQ(RunTool({QStringLiteral("make-demo"), demo.path(), QStringLiteral("--slices"), QStringLiteral("5")}).exitCode, 0);

  const ToolRun first = RunTool({QStringLiteral("import"), demo.path()});
  EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
  EXPECT_TRUE(first.out.startsWith(QStringLiteral("imported "))) << first.out.toStdString();
  EXPECT_TRUE(first.err.contains(QStringLiteral("100%"))) << first.err.toStdString();
  const ToolRun again = RunTool({QStringLiteral("import"), demo.path(), QStringLiteral("--device"), QStringLiteral("1")});
  EXPECT_EQ(again.exitCode, 0);
  EXPECT_TRUE(again.out.contains(QStringLiteral(" 0 images added"))) << again.out.toStdString();

  // A named file that is no DICOM file is a failure; a missing path too.
  QFile junk(demo.path() + QStringLiteral("/junk.txt"));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write("not an image");
  junk.close();
  const ToolRun bad = RunTool({QStringLiteral("import"), junk.fileName(), demo.path() + QStringLiteral("/missing")});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_TRUE(bad.err.contains(QStringLiteral("tolmar: ") + junk.fileName() + QStringLiteral(": "))) << bad.err.toStdString();
  EXPECT_TRUE(bad.err.contains(QStringLiteral("no such file or folder")));

  EXPECT_EQ(RunTool({QStringLiteral("import")}).exitCode, 2);
  EXPECT_EQ(RunTool({QStringLiteral("import"), demo.path(), QStringLiteral("--device"), QStringLiteral("x")}).exitCode, 2);
  EXPECT_EQ(RunTool({QStringLiteral("import"), demo.path(), QStringLiteral("--bogus")}).exitCode, 2);
  const ToolRun noSource = RunTool({QStringLiteral("import"), demo.path(), QStringLiteral("--dsn"), QStringLiteral("NoSuchSource")});
  EXPECT_EQ(noSource.exitCode, 1);
  EXPECT_TRUE(noSource.err.startsWith(QStringLiteral("tolmar: NoSuchSource: "))) << noSource.err.toStdString();
}

}  // namespace
}  // namespace tolmar::db::test
