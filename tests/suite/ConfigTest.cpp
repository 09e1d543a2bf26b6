#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "suite/Gb18030.h"
#include "suite/LanguageFile.h"
#include "suite/PrivateProfile.h"
#include "suite/SuiteConfig.h"

using namespace tolmar::suite;

namespace {

struct ProfileCase {
  const char* name;
  QByteArray ini;
  const char* section;
  const char* key;
  QString expected;
};

class PrivateProfileTest : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(PrivateProfileTest, ReadsLikeAWindowsPrivateProfile) {
  const ProfileCase& c = GetParam();
  const PrivateProfile profile = PrivateProfile::FromBytes(c.ini);
  EXPECT_EQ(profile.GetString(QString::fromUtf8(c.section), QString::fromUtf8(c.key),
                              QStringLiteral("<default>")),
            c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PrivateProfileTest,
    ::testing::Values(
        ProfileCase{"PlainValue", "[Trelmnd4.0]\nLANGUAGE=ENU\n", "Trelmnd4.0", "LANGUAGE", "ENU"},
        ProfileCase{"KeysAndSectionsIgnoreCase", "[trelmnd4.0]\nhospital name=X\n", "Trelmnd4.0",
                    "HOSPITAL NAME", "X"},
        ProfileCase{"BlanksAroundKeyAndValueTrimmed", "[S]\r\n  VIEWER  =  Pictorium  \r\n", "S",
                    "viewer", "Pictorium"},
        ProfileCase{"EnclosingQuotesRemoved", "[S]\nK=\"a; b\"\n", "S", "K", "a; b"},
        ProfileCase{"ValueKeptRawWithoutEscapes", "[S]\nK=C:\\Tolmar\\n;x\n", "S", "K",
                    "C:\\Tolmar\\n;x"},
        ProfileCase{"FirstKeyWins", "[S]\nK=1\nK=2\n", "S", "K", "1"},
        ProfileCase{"OtherSectionNotRead", "[A]\nK=1\n[B]\nJ=2\n", "B", "K", "<default>"},
        ProfileCase{"MissingKeyGivesDefault", "[S]\nK=1\n", "S", "L", "<default>"},
        ProfileCase{"CommentLineIsNoKey", "[S]\n;K=1\n", "S", ";K", "<default>"},
        ProfileCase{"EmptyValueIsEmpty", "[S]\nK=\n", "S", "K", ""},
        ProfileCase{"Gb18030Text",
                    QByteArray("[S]\nHOSPITAL NAME=") +
                        QByteArray("\xB5\xDA\xD2\xBB\xD2\xBD\xD4\xBA") + "\n",
                    "S", "HOSPITAL NAME", QStringLiteral("第一医院")},
        ProfileCase{"ByteOrderMarkSkipped", "\xEF\xBB\xBF[S]\nK=v\n", "S", "K", "v"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrivateProfileValueTest, LongValueIsCutToTheBufferWithoutSplittingACharacter) {
  // 1022 ASCII bytes and then two-byte characters: the cut at 1023 bytes
  // would split the first of them.
  QByteArray value(1022, 'a');
  for (int i = 0; i < 10; ++i) value += "\xD6\xD0";  // 中
  const PrivateProfile profile = PrivateProfile::FromBytes("[S]\nK=" + value + "\n");
  const QString text = profile.GetString(QStringLiteral("S"), QStringLiteral("K"), QString());
  EXPECT_EQ(text, QString(1022, QLatin1Char('a')));
}

TEST(Gb18030Test, RoundTripsChineseAndReplacesBrokenBytes) {
  const QString text = QStringLiteral("张三 Zhang 𠀀");
  EXPECT_EQ(FromGb18030(ToGb18030(text)), text);
  EXPECT_EQ(FromGb18030(QByteArray("a\xD6")), QStringLiteral("a") + QChar(0xFFFD));
}

TEST(SuiteConfigTest, MissingFileGivesDefaults) {
  QTemporaryDir folder;
  const SuiteConfig config = SuiteConfig::Read(folder.path() + QLatin1Char('/'));
  EXPECT_EQ(config.language, QStringLiteral("CHS"));
  EXPECT_EQ(config.hospitalName, QString());
  EXPECT_EQ(config.viewer, QStringLiteral("Discorium.EXE"));
  EXPECT_EQ(config.reporter, QStringLiteral("Discscribe.EXE"));
}

TEST(SuiteConfigTest, ReadsTheInstallationValues) {
  QTemporaryDir folder;
  QFile file(folder.filePath(QStringLiteral("CONFIG.INI")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(
      "[Other]\nVIEWER=wrong\n[Trelmnd4.0]\nLanguage=ENU\nHOSPITAL "
      "NAME=\xB5\xDA\xD2\xBB\xD2\xBD\xD4\xBA\nVIEWER=Pictorium\n");
  file.close();
  const QString programFolder = folder.path() + QLatin1Char('/');
  const SuiteConfig config = SuiteConfig::Read(programFolder);
  EXPECT_EQ(config.language, QStringLiteral("ENU"));
  EXPECT_EQ(config.hospitalName, QStringLiteral("第一医院"));
  EXPECT_EQ(config.viewer, QStringLiteral("Pictorium"));
  EXPECT_EQ(config.reporter, QStringLiteral("Discscribe.EXE"));
  EXPECT_EQ(ReadLanguageCode(programFolder), QStringLiteral("ENU"));
}

struct LanguageCase {
  const char* module;
  const char* expected;
};

class LanguageFileNameTest : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(LanguageFileNameTest, UsesAtMostTheFirstFiveCharactersOfTheModule) {
  EXPECT_EQ(LanguageFileName(QString::fromUtf8(GetParam().module), QStringLiteral("CHS")),
            QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Modules, LanguageFileNameTest,
                         ::testing::Values(LanguageCase{"Pictorium", "PictoCHS.qm"},
                                           LanguageCase{"Stowmark", "StowmCHS.qm"},
                                           LanguageCase{"Tolma", "TolmaCHS.qm"},
                                           LanguageCase{"Rep", "RepCHS.qm"},
                                           LanguageCase{"", "CHS.qm"}));

TEST(LanguageFileTest, MissingFileLoadsNothing) {
  QTemporaryDir folder;
  EXPECT_EQ(LoadLanguageFile(folder.path() + QLatin1Char('/'), QStringLiteral("Pictorium"),
                             QStringLiteral("ENU")),
            nullptr);
}

}  // namespace
