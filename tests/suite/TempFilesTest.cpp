#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>

#include "suite/CommandLine.h"
#include "suite/PatientHandOverFile.h"
#include "suite/TempFiles.h"

using namespace tolmar::suite;

namespace {

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const QByteArray& value)
      : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
    qputenv(name, value);
  }
  ~ScopedEnv() {
    if (m_had)
      qputenv(m_name, m_old);
    else
      qunsetenv(m_name);
  }

 private:
  const char* m_name;
  bool m_had;
  QByteArray m_old;
};

mode_t ModeOf(const QString& path) {
  struct stat info {};
  ::stat(QFile::encodeName(path).constData(), &info);
  return info.st_mode & 0777;
}

std::vector<std::uint8_t> Bytes(const char* text) {
  return std::vector<std::uint8_t>(text, text + std::strlen(text));
}

TEST(TempFilesTest, StartFilesAreUniqueOwnerOnlyAndRecognisedByTheViewer) {
  QTemporaryDir temp;
  ASSERT_TRUE(temp.isValid());
  ScopedEnv tmpdir("TMPDIR", QFile::encodeName(temp.path()));

  const QString first = WriteUniqueTempFile(TempPrefix::kViewerStart, Bytes("one"));
  const QString second = WriteUniqueTempFile(TempPrefix::kViewerStart, Bytes("two"));
  ASSERT_FALSE(first.isEmpty());
  ASSERT_FALSE(second.isEmpty());
  EXPECT_NE(first, second);
  EXPECT_EQ(QFileInfo(first).absolutePath(), QFileInfo(temp.path()).absoluteFilePath());
  EXPECT_TRUE(QFileInfo(first).fileName().startsWith(QStringLiteral("QV")));
  EXPECT_TRUE(IsViewerStartFilePath(first));
  EXPECT_EQ(ModeOf(first), 0600u);

  std::vector<std::uint8_t> read;
  ASSERT_TRUE(ReadWholeFile(first, read));
  EXPECT_EQ(read, Bytes("one"));
}

TEST(TempFilesTest, UnusableTempFolderFallsBackToUniqueNamesInTheDataFolder) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  ScopedEnv tmpdir("TMPDIR", QFile::encodeName(home.path() + QStringLiteral("/missing")));
  ScopedEnv data("XDG_DATA_HOME", QFile::encodeName(home.path() + QStringLiteral("/data")));

  const QString first = WriteUniqueTempFile(TempPrefix::kViewerStart, Bytes("first viewer"));
  const QString second = WriteUniqueTempFile(TempPrefix::kViewerStart, Bytes("second viewer"));
  ASSERT_FALSE(first.isEmpty());
  ASSERT_FALSE(second.isEmpty());
  // Two viewer starts no longer share one fixed name: neither file is lost.
  EXPECT_NE(first, second);
  EXPECT_TRUE(first.startsWith(home.path() + QStringLiteral("/data/")));
  std::vector<std::uint8_t> read;
  ASSERT_TRUE(ReadWholeFile(first, read));
  EXPECT_EQ(read, Bytes("first viewer"));
  EXPECT_EQ(ModeOf(QFileInfo(first).absolutePath()), 0700u);
  EXPECT_EQ(ModeOf(first), 0600u);
  EXPECT_TRUE(PatientHandOverPath().startsWith(QFileInfo(first).absolutePath()));
}

TEST(TempFilesTest, FixedNameFileReplacesTheOldOneOwnerOnly) {
  QTemporaryDir temp;
  ASSERT_TRUE(temp.isValid());
  const QString path = temp.filePath(QString::fromLatin1(kPatientHandOverFileName));
  {
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older and longer hand-over file");
    old.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
  }
  ASSERT_TRUE(WriteFileOwnerOnly(path, Bytes("new")));
  std::vector<std::uint8_t> read;
  ASSERT_TRUE(ReadWholeFile(path, read));
  EXPECT_EQ(read, Bytes("new"));
  EXPECT_EQ(ModeOf(path), 0600u);
}

TEST(TempFilesTest, ReadingRefusesFilesAboveTheLimit) {
  QTemporaryDir temp;
  const QString path = temp.filePath(QStringLiteral("big"));
  ASSERT_TRUE(WriteFileOwnerOnly(path, Bytes("0123456789")));
  std::vector<std::uint8_t> read;
  EXPECT_FALSE(ReadWholeFile(path, read, 9));
  EXPECT_TRUE(ReadWholeFile(path, read, 10));
  EXPECT_FALSE(ReadWholeFile(temp.filePath(QStringLiteral("absent")), read));
}

TEST(TempFilesTest, TakingAStartFileReadsThenDeletesIt) {
  QTemporaryDir temp;
  ScopedEnv tmpdir("TMPDIR", QFile::encodeName(temp.path()));
  const QString path = WriteUniqueTempFile(TempPrefix::kReportStart, Bytes("report"));
  std::vector<std::uint8_t> read;
  ASSERT_TRUE(TakeStartFile(path, read));
  EXPECT_EQ(read, Bytes("report"));
  EXPECT_FALSE(QFile::exists(path));
  EXPECT_FALSE(TakeStartFile(path, read));
}

TEST(TempFilesTest, HandOverMoveReplacesAnOlderFile) {
  QTemporaryDir temp;
  ScopedEnv tmpdir("TMPDIR", QFile::encodeName(temp.path()));
  const QString handOver = PatientHandOverPath();
  ASSERT_TRUE(WriteFileOwnerOnly(handOver, Bytes("stale")));
  const QString written = WriteUniqueTempFile(TempPrefix::kReportStart, Bytes("capture start"));
  ASSERT_TRUE(MoveFileReplacing(written, handOver));
  std::vector<std::uint8_t> read;
  ASSERT_TRUE(ReadWholeFile(handOver, read));
  EXPECT_EQ(read, Bytes("capture start"));
  EXPECT_FALSE(QFile::exists(written));
}

TEST(CommandLineTest, StartedProgramGetsAStartFilePathWithBlanksAsOneArgument) {
  QTemporaryDir folder;
  const QString programFolder = folder.path() + QLatin1Char('/');
  const QString output = folder.filePath(QStringLiteral("args.txt"));
  {
    QFile script(programFolder + QStringLiteral("Viewer"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(
        "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"$0.out.tmp\" && mv \"$0.out.tmp\" \"$(dirname "
        "\"$0\")/args.txt\"\n");
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  const QString startFile = QStringLiteral("/tmp/my studies/QV12.tmp");
  qint64 pid = 0;
  ASSERT_TRUE(StartProgramDetached(programFolder, QStringLiteral("Viewer"), {startFile}, &pid));
  EXPECT_GT(pid, 0);
  for (int i = 0; i < 250 && !QFile::exists(output); ++i) ::usleep(20000);
  QFile result(output);
  ASSERT_TRUE(result.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(result.readAll()), QStringLiteral("1|") + startFile);
  EXPECT_FALSE(StartProgramDetached(programFolder, QStringLiteral("Missing"), {startFile}));
}

struct PathCase {
  const char* name;
  const char* path;
  bool startFile;
};

class ViewerStartFileRecognitionTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(ViewerStartFileRecognitionTest, UpperCasedPathContainingDotTmpIsAStartFile) {
  EXPECT_EQ(IsViewerStartFilePath(QString::fromUtf8(GetParam().path)), GetParam().startFile);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ViewerStartFileRecognitionTest,
    ::testing::Values(PathCase{"LowerCaseExtension", "/tmp/QVab12cd.tmp", true},
                      PathCase{"UpperCaseExtension", "/tmp/QVAB.TMP", true},
                      PathCase{"DotTmpInsideFolderName", "/data/x.tmpfiles/1.dcm", true},
                      PathCase{"ImageFile", "/data/images/1.dcm", false},
                      PathCase{"TmpWithoutDot", "/tmp/QVabc", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLineTest, ProgramIsQuotedAndFollowedByTheStartFile) {
  EXPECT_EQ(FormatCommandLine(QStringLiteral("/opt/tolmar/"), QStringLiteral("Pictorium"),
                              QStringLiteral("/tmp/QV1.tmp")),
            QStringLiteral("\"/opt/tolmar/Pictorium\" /tmp/QV1.tmp"));
}

TEST(CommandLineTest, InitSwitchIsFoundAnywhereInTheCommandLine) {
  EXPECT_TRUE(HasInitSwitch({QStringLiteral("/Init")}));
  EXPECT_TRUE(HasInitSwitch({QStringLiteral("a.dcm"), QStringLiteral("/Init")}));
  EXPECT_FALSE(HasInitSwitch({}));
  EXPECT_FALSE(HasInitSwitch({QStringLiteral("/init")}));
}

}  // namespace
