#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <map>

#include "suite/OptionalLibrary.h"
#include "suite/OutsideLibraries.h"
#include "suite/ProfileStore.h"
#include "suite/SuiteApplication.h"

using namespace tolmar::suite;

namespace {

const QString kProgramFolder = QStringLiteral(TOLMAR_PROGRAM_DIR "/");

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const QByteArray& value) : m_name(name) { qputenv(name, value); }
  ~ScopedEnv() { qunsetenv(m_name); }

 private:
  const char* m_name;
};

struct NameCase {
  const char* name;
  const char* fileName;
};

class SharedLibraryNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(SharedLibraryNameTest, MapsWindowsNamesIntoTheProgramFolderOnly) {
  EXPECT_EQ(SharedLibraryFileName(QString::fromUtf8(GetParam().name)),
            QString::fromUtf8(GetParam().fileName));
}

INSTANTIATE_TEST_SUITE_P(Names, SharedLibraryNameTest,
                         ::testing::Values(NameCase{"TmGate.dll", "libTmGate.so"},
                                           NameCase{"Pixcodec.DLL", "libPixcodec.so"},
                                           NameCase{"TmRegTab", "libTmRegTab.so"},
                                           NameCase{"../evil.dll", ""},
                                           NameCase{"C:\\x\\TmGate.dll", ""},
                                           NameCase{"/usr/lib/libc.so.6", ""}, NameCase{".dll", ""},
                                           NameCase{"", ""}));

TEST(OptionalLibraryTest, StandInsExportTheirEntries) {
  const std::map<QString, const char*> entries{{QStringLiteral("TmRegTab.dll"), "EXPShowRegTable"},
                                               {QStringLiteral("TmBCode.dll"), "EXPCreateBarCode"},
                                               {QStringLiteral("TmTrigger.dll"), "EXPHaveFunction"},
                                               {QStringLiteral("TmGate.dll"), "EXPLogout"}};
  for (const auto& [name, entry] : entries) {
    const std::unique_ptr<OptionalLibrary> library = OptionalLibrary::Open(kProgramFolder, name);
    ASSERT_NE(library, nullptr) << name.toStdString();
    EXPECT_NE(library->Resolve(entry), nullptr) << entry;
    EXPECT_EQ(library->Resolve("NoSuchEntry"), nullptr);
  }
  std::unique_ptr<OptionalLibrary> gate =
      OptionalLibrary::Open(kProgramFolder, QStringLiteral("TmGate.dll"));
  EXPECT_NE(gate->Resolve("EXPLogin"), nullptr);
  EXPECT_EQ(OptionalLibrary::Open(kProgramFolder, QStringLiteral("Missing.dll")), nullptr);
  EXPECT_NE(OptionalLibrary::OpenSystem(QStringLiteral("libz.so.1")), nullptr);
}

TEST(RegTabLibraryTest, ShowsNonEmptyKeysAndMissingLibraryDoesNothing) {
  QTemporaryDir temp;
  const QString log = temp.filePath(QStringLiteral("regtab.log"));
  ScopedEnv env("TOLMAR_REGTAB_LOG", QFile::encodeName(log));
  const RegTabLibrary library(kProgramFolder);
  ASSERT_TRUE(library.IsAvailable());
  EXPECT_TRUE(library.Show(0, "REQ-0042"));
  EXPECT_FALSE(library.Show(0, ""));
  QFile file(log);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("REQ-0042\n"));

  const RegTabLibrary missing(temp.path() + QLatin1Char('/'));
  EXPECT_FALSE(missing.IsAvailable());
  EXPECT_FALSE(missing.Show(0, "REQ-0042"));
}

TEST(TriggerLibraryTest, AnswersPerKeyAndAMissingLibraryAllows) {
  ScopedEnv env("TOLMAR_TRIGGER_DENY", "REQ-DENIED");
  const TriggerLibrary library(kProgramFolder);
  EXPECT_TRUE(library.HaveFunction("REQ-1"));
  EXPECT_FALSE(library.HaveFunction("REQ-DENIED"));
  QTemporaryDir empty;
  EXPECT_TRUE(TriggerLibrary(empty.path() + QLatin1Char('/')).HaveFunction("REQ-DENIED"));
}

TEST(LoginLibraryTest, LogoutDecidesWhetherTheProgramMayClose) {
  QTemporaryDir home;
  ScopedEnv config("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
  LoginLibrarySettings settings = ReadLoginLibrarySettings();
  EXPECT_EQ(settings.dllName, QStringLiteral("TmGate.dll"));
  EXPECT_EQ(settings.funLogout, QStringLiteral("EXPLogout"));
  EXPECT_TRUE(LogoutAllowsClose(kProgramFolder, settings, 0, "doctor"));
  {
    ScopedEnv keep("TOLMAR_GATE_KEEP_OPEN", "1");
    EXPECT_FALSE(LogoutAllowsClose(kProgramFolder, settings, 0, "doctor"));
    // A missing entry or library lets the program close.
    ASSERT_TRUE(WriteProfileValue(ProfileStore::kGeneralProfile, QStringLiteral("ExLogin"),
                                  QStringLiteral("FunLogout"), QStringLiteral("Nope")));
    settings = ReadLoginLibrarySettings();
    EXPECT_TRUE(LogoutAllowsClose(kProgramFolder, settings, 0, "doctor"));
    settings.dllName = QStringLiteral("Missing.dll");
    EXPECT_TRUE(LogoutAllowsClose(kProgramFolder, settings, 0, "doctor"));
  }
}

TEST(LoginLibraryTest, OnlyTheArchiveManagerAsksTheLoginLibraryAtClose) {
  QTemporaryDir home;
  ScopedEnv config("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
  ScopedEnv keep("TOLMAR_GATE_KEEP_OPEN", "1");
  const SuiteApplication archive(SuiteProgram::Stowmark, kProgramFolder,
                                 QStringLiteral("Stowmark"));
  const SuiteApplication viewer(SuiteProgram::Pictorium, kProgramFolder,
                                QStringLiteral("Pictorium"));
  EXPECT_FALSE(archive.MayCloseDocument(0, "doctor"));
  EXPECT_TRUE(viewer.MayCloseDocument(0, "doctor"));
}

}  // namespace
