#include <QFile>
#include <QTemporaryDir>

#include "ProfileFixture.h"
#include "suite/SuiteApplication.h"
#include "suite/SuiteStrings.h"

using namespace tolmar::suite;

namespace {

// Records every step the start-up takes, in order.
class RecordingSteps : public StartupSteps {
 public:
  bool automationOk = true;
  bool socketsOk = true;
  bool commandLineOk = true;
  QStringList calls;
  int shownMessage = 0;
  QString shownText;

  bool InitialiseAutomation() override {
    return calls.append(QStringLiteral("automation")), automationOk;
  }
  bool InitialiseSockets() override { return calls.append(QStringLiteral("sockets")), socketsOk; }
  void RegisterAppId() override { calls.append(QStringLiteral("appid")); }
  void EnableControlHosting() override { calls.append(QStringLiteral("controls")); }
  void ReadSettings(ProfileStore& profile) override {
    calls.append(QStringLiteral("settings:") + profile.ProgramName());
  }
  void LoadRecentFiles(int count) override { calls.append(QStringLiteral("recent:%1").arg(count)); }
  bool ProcessCommandLine(const QStringList&) override {
    return calls.append(QStringLiteral("commandline")), commandLineOk;
  }
  void StartThumbnailThread() override { calls.append(QStringLiteral("thumbnails")); }
  void ShowMainWindow(MainWindowShow show) override {
    calls.append(show == MainWindowShow::Restored ? QStringLiteral("show:restored")
                                                  : QStringLiteral("show:normal"));
  }
  void ShowMessage(int id, const QString& text) override {
    shownMessage = id;
    shownText = text;
  }
};

class SuiteApplicationTest : public ProfileFixture {
 protected:
  void SetUp() override {
    ProfileFixture::SetUp();
    QFile file(m_folder.filePath(QStringLiteral("CONFIG.INI")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Trelmnd4.0]\nHOSPITAL NAME=General Hospital\n");
  }
  QString Folder() const { return m_folder.path() + QLatin1Char('/'); }

 private:
  QTemporaryDir m_folder;
};

struct OrderCase {
  const char* name;
  SuiteProgram program;
  QStringList arguments;
  QStringList calls;
  bool configRead;
};

class StartupOrderTest : public SuiteApplicationTest,
                         public ::testing::WithParamInterface<OrderCase> {};

TEST_P(StartupOrderTest, RunsTheProgramsStepsInOrder) {
  const OrderCase& c = GetParam();
  SuiteApplication app(c.program, Folder(), QStringLiteral("Module"));
  RecordingSteps steps;
  ASSERT_TRUE(app.Startup(steps, c.arguments));
  EXPECT_EQ(steps.calls, c.calls);
  EXPECT_EQ(app.ConfigRead(), c.configRead);
  EXPECT_EQ(app.Config().hospitalName,
            c.configRead ? QStringLiteral("General Hospital") : QString());
}

INSTANTIATE_TEST_SUITE_P(
    Programs, StartupOrderTest,
    ::testing::Values(
        OrderCase{"ArchiveManager",
                  SuiteProgram::Stowmark,
                  {},
                  {"automation", "sockets", "appid", "controls", "settings:Stowmark", "recent:4",
                   "commandline", "thumbnails", "show:restored"},
                  true},
        OrderCase{"ArchiveManagerReadsConfigDespiteInit",
                  SuiteProgram::Stowmark,
                  {"/Init"},
                  {"automation", "sockets", "appid", "controls", "settings:Stowmark", "recent:4",
                   "commandline", "thumbnails", "show:restored"},
                  true},
        OrderCase{"Viewer",
                  SuiteProgram::Pictorium,
                  {"/tmp/QV1.tmp"},
                  {"automation", "controls", "settings:Pictorium", "recent:8", "commandline",
                   "show:restored"},
                  true},
        OrderCase{"ViewerSkipsConfigOnInit",
                  SuiteProgram::Pictorium,
                  {"/Init"},
                  {"automation", "controls", "settings:Pictorium", "recent:8", "commandline",
                   "show:restored"},
                  false},
        OrderCase{"ReportWriter",
                  SuiteProgram::Reporter,
                  {"/tmp/KTQV1.tmp"},
                  {"automation", "controls", "settings:Reporter", "commandline", "show:normal"},
                  true},
        OrderCase{"ReportWriterSkipsConfigOnInit",
                  SuiteProgram::Reporter,
                  {"/Init"},
                  {"automation", "controls", "settings:Reporter", "commandline", "show:normal"},
                  false}),
    [](const auto& info) { return std::string(info.param.name); });

struct FailureCase {
  const char* name;
  SuiteProgram program;
  bool automationOk;
  bool socketsOk;
  bool started;
  int message;
};

class StartupFailureTest : public SuiteApplicationTest,
                           public ::testing::WithParamInterface<FailureCase> {};

TEST_P(StartupFailureTest, ShowsTheProgramsMessageOrGoesOn) {
  const FailureCase& c = GetParam();
  SuiteApplication app(c.program, Folder(), QStringLiteral("Module"));
  RecordingSteps steps;
  steps.automationOk = c.automationOk;
  steps.socketsOk = c.socketsOk;
  EXPECT_EQ(app.Startup(steps, {}), c.started);
  EXPECT_EQ(steps.shownMessage, c.message);
  if (c.message != 0) {
    EXPECT_FALSE(steps.shownText.isEmpty());
    EXPECT_FALSE(steps.calls.contains(QStringLiteral("commandline")));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Programs, StartupFailureTest,
    ::testing::Values(FailureCase{"ArchiveManagerWithoutAutomation", SuiteProgram::Stowmark, false,
                                  true, false, 283},
                      FailureCase{"ArchiveManagerWithoutSockets", SuiteProgram::Stowmark, true,
                                  false, false, 104},
                      FailureCase{"ViewerWithoutAutomation", SuiteProgram::Pictorium, false, true,
                                  false, 351},
                      FailureCase{"ReportWriterIgnoresAutomationFailure", SuiteProgram::Reporter,
                                  false, true, true, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SuiteApplicationTest, FailedCommandLineEndsBeforeTheWindowShows) {
  SuiteApplication app(SuiteProgram::Pictorium, Folder(), QStringLiteral("Pictorium"));
  RecordingSteps steps;
  steps.commandLineOk = false;
  EXPECT_FALSE(app.Startup(steps, {QStringLiteral("/missing.tmp")}));
  EXPECT_FALSE(steps.calls.contains(QStringLiteral("show:restored")));
}

TEST_F(SuiteApplicationTest, MissingLanguageFileKeepsTheBuiltInTexts) {
  SuiteApplication app(SuiteProgram::Stowmark, Folder(), QStringLiteral("Stowmark"));
  RecordingSteps steps;
  ASSERT_TRUE(app.Startup(steps, {}));
  EXPECT_FALSE(app.LanguageFileLoaded());
  EXPECT_EQ(app.Strings().Text(286), QStringLiteral("Relayhouse COM对象建立失败！"));
}

class RecordingShutdown : public ShutdownSteps {
 public:
  bool minimised = false;
  ScreenRect rect{10, 20, 810, 620};
  QStringList calls;

  void StopTimers() override { calls.append(QStringLiteral("timers")); }
  void SaveControlBarState() override { calls.append(QStringLiteral("bars")); }
  bool IsMinimised() const override { return minimised; }
  ScreenRect MainWindowRect() const override { return rect; }
  void SaveSettings(ProfileStore&) override { calls.append(QStringLiteral("settings")); }
};

TEST_F(SuiteApplicationTest, ArchiveManagerKeepsItsWindowRectangleUnlessMinimised) {
  SuiteApplication app(SuiteProgram::Stowmark, Folder(), QStringLiteral("Stowmark"));
  RecordingShutdown steps;
  app.CloseMainWindow(steps);
  EXPECT_EQ(steps.calls, (QStringList{"timers", "bars", "settings"}));
  EXPECT_EQ(
      app.Profile().GetProfileInt(QStringLiteral("Settings"), QStringLiteral("MainWnd.right"), 0),
      810);

  steps.minimised = true;
  steps.rect = {-32000, -32000, -31840, -31970};
  app.CloseMainWindow(steps);
  EXPECT_EQ(
      app.Profile().GetProfileInt(QStringLiteral("Settings"), QStringLiteral("MainWnd.left"), 0),
      10);
}

TEST_F(SuiteApplicationTest, ViewerDoesNotWriteTheArchiveManagersRectangle) {
  SuiteApplication app(SuiteProgram::Pictorium, Folder(), QStringLiteral("Pictorium"));
  RecordingShutdown steps;
  app.CloseMainWindow(steps);
  EXPECT_EQ(steps.calls, (QStringList{"timers", "bars", "settings"}));
  EXPECT_EQ(
      app.Profile().GetProfileInt(QStringLiteral("Settings"), QStringLiteral("MainWnd.left"), -7),
      -7);
  EXPECT_TRUE(app.MayCloseDocument(0, "doctor"));
}

TEST(StringTableTest, EachProgramHasItsOwnNumbers) {
  EXPECT_EQ(StowmarkStrings().Text(57344), QStringLiteral("Stowmark"));
  EXPECT_EQ(PictoriumStrings().Text(57344), QStringLiteral("Pictorium"));
  EXPECT_EQ(ReporterStrings().Text(57344), QStringLiteral("Reporter"));
  EXPECT_EQ(PictoriumStrings().Text(354),
            QStringLiteral("命令应答超时，请检查Relayhouse，是否继续等待？"));
  EXPECT_EQ(StowmarkStrings().Text(140),
            QStringLiteral("命令应答超时，请检查Relayhouse，是否继续等待？"));
  EXPECT_EQ(ReporterStrings().Text(159), QStringLiteral("请先打印报告单！"));
  EXPECT_EQ(StowmarkStrings().Text(999999), QString());
}

TEST(StringTableTest, FormatFillsPrintfConversionsInOrder) {
  EXPECT_EQ(StowmarkStrings().Format(285, {QStringLiteral("-5"), QStringLiteral("bad device")}),
            QStringLiteral("COM调用错误！\r\n错误码：-5\r\n详细内容：bad device"));
  EXPECT_EQ(FormatPrintf(QStringLiteral("100%% of %5ld and %s"), {QStringLiteral("7")}),
            QStringLiteral("100% of 7 and "));
}

}  // namespace
