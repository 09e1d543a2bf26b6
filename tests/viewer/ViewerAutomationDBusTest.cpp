#include <gtest/gtest.h>
#include <signal.h>

#include <QDBusConnectionInterface>
#include <QFile>

#include "DBusTestSupport.h"
#include "suite/AutomationObject.h"
#include "suite/SuiteStrings.h"
#include "viewer/HistoryBar.h"
#include "viewer/ViewerAutomation.h"

namespace tolmar::viewer {
namespace {

class SilentPrompts : public HistoryPrompts {
 public:
  QStringList messages;
  void ShowMessage(int, const QString& text) override { messages << text; }
  void SetWaitCursor(bool) override {}
};

// The history bar's commands through the session bus to a viewer's
// automation object and a report writer in another process.
class HistoryBarOverBusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(peer.ReadLine(), QStringLiteral("ready"));
    HistoryEntry entry;
    entry.fields = {{HistoryField::kStorageKey, "7"},
                    {HistoryField::kPatientNo, "P0001"},
                    {HistoryField::kStudyKey, "20"},
                    {HistoryField::kStudyUid, "1.2.3"},
                    {HistoryField::kReportUid, "9.8.7"}};
    bar.SetRows({entry}, {{7, QStringLiteral("CT-Archive")}});
  }

  PeerProcess peer{QStringLiteral("viewer automation")};
  std::unique_ptr<HistoryAutomation> automation = MakeBusAutomation();
  SilentPrompts prompts;
  HistoryBar bar{*automation, prompts, suite::PictoriumStrings()};
};

TEST_F(HistoryBarOverBusTest, AnotherViewerGetsPatientLoadAndShow) {
  ASSERT_TRUE(bar.ViewInAnotherViewer(0));
  EXPECT_EQ(peer.ReadLine(), QStringLiteral("SetPatient|CT-Archive|1.2.3"));
  EXPECT_EQ(peer.ReadLine(), QStringLiteral("LoadImages|CT-Archive|STUDY|;~;OBJECT_ID=20"));
  EXPECT_EQ(peer.ReadLine(), QStringLiteral("Show"));
  EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join(u'\n').toStdString();
}

TEST_F(HistoryBarOverBusTest, ReportWriterGetsItsThreeCalls) {
  ASSERT_TRUE(bar.OpenReport(0));
  EXPECT_EQ(peer.ReadLine(), QStringLiteral("Reporter|1|true"));
  EXPECT_EQ(peer.ReadLine(), QStringLiteral("Reporter|7|CT-Archive,P0001,1.2.3,9.8.7"));
  EXPECT_EQ(peer.ReadLine(), QStringLiteral("Reporter|2|"));
  EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join(u'\n').toStdString();
}

TEST_F(HistoryBarOverBusTest, LoadImagesDJoinsTheArrayAndBadArgumentsAreRefused) {
  std::unique_ptr<suite::AutomationObject> viewer =
      suite::AutomationObject::Attach(ViewerAutomation::kIdentifier);
  ASSERT_NE(viewer, nullptr);
  viewer->SetTimeout(5000);
  QVariantList arguments{
      QStringLiteral("CT-Archive"), QStringLiteral("STUDY"),
      QStringList{QStringLiteral(";~;OBJECT_ID=1"), QStringLiteral(";~;OBJECT_ID=2")}};
  QString error;
  ASSERT_EQ(viewer->InvokeForCode(ViewerAutomation::kLoadImagesD, arguments, &error), 0)
      << error.toStdString();
  EXPECT_EQ(peer.ReadLine(),
            QStringLiteral("LoadImages|CT-Archive|STUDY|;~;OBJECT_ID=1;~;OBJECT_ID=2"));

  QVariantList tooFew{QStringLiteral("CT-Archive")};
  EXPECT_EQ(viewer->InvokeForCode(ViewerAutomation::kLoadImagesC, tooFew, &error), -1);
  EXPECT_FALSE(error.isEmpty());
}

// The viewer itself, started by the bus through its activation file.
TEST(ViewerActivationTest, BusStartsTheViewerForALoadAndItAnswers) {
  std::unique_ptr<suite::AutomationObject> viewer =
      suite::AutomationObject::Create(ViewerAutomation::kIdentifier);
  ASSERT_NE(viewer, nullptr);
  const QDBusReply<uint> pid =
      QDBusConnection::sessionBus().interface()->servicePid(ViewerAutomation::kIdentifier);
  ASSERT_TRUE(pid.isValid());
  QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(pid.value()));
  ASSERT_TRUE(commandLine.open(QIODevice::ReadOnly));
  EXPECT_TRUE(commandLine.readAll().split('\0').contains("-Automation"));

  viewer->SetTimeout(10000);
  QVariantList patient{QStringLiteral("CT-Archive"), QString()};
  EXPECT_EQ(viewer->InvokeForCode(ViewerAutomation::kSetPatient, patient), 0);
  QVariantList none;
  EXPECT_EQ(viewer->InvokeForCode(ViewerAutomation::kShow, none), 0);
  viewer->Detach();

  // The test started this viewer; it ends it by its process id.
  ASSERT_EQ(::kill(static_cast<pid_t>(pid.value()), SIGTERM), 0);
  EXPECT_TRUE(WaitFor([&] { return !QFile::exists(commandLine.fileName()); }, 10000));
}

}  // namespace
}  // namespace tolmar::viewer
