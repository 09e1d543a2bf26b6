#include <gtest/gtest.h>

#include "DBusTestSupport.h"
#include "suite/AutomationObject.h"
#include "suite/RelayhouseConnection.h"
#include "suite/RelayhouseWait.h"
#include "suite/SuiteStrings.h"

using namespace tolmar::suite;

namespace {

TEST(AutomationObjectTest, CallsAnotherProcessWithTypedArgumentsAndOutArgument) {
  PeerProcess peer(QStringLiteral("Automation peer"));
  ASSERT_EQ(peer.ReadLine(), QStringLiteral("ready"));

  std::unique_ptr<AutomationObject> object =
      AutomationObject::Create(QStringLiteral("TolmarPacs.SuitePeer"));
  ASSERT_NE(object, nullptr);
  object->SetTimeout(5000);
  QVariantList arguments{QStringLiteral("张三"),
                         5,
                         QStringList{QStringLiteral("a"), QStringLiteral("b")},
                         QVariant::fromValue(QList<int>{4, 6, 23}),
                         QVariantList{QStringLiteral("x"), 7},
                         QString()};
  QVariant result;
  QString error;
  ASSERT_TRUE(object->Invoke(3, arguments, result, &error)) << error.toStdString();
  EXPECT_EQ(result.toInt(), 5 + 4 + 6 + 23);
  EXPECT_EQ(arguments[5].toString(), QStringLiteral("张三|a,b|x,7"));
  EXPECT_EQ(arguments[0].toString(), QStringLiteral("张三"));

  QVariantList none;
  EXPECT_EQ(object->InvokeForCode(1, none), 0);
}

TEST(AutomationObjectTest, OutArgumentMayComeBackAsAnArrayOfVariants) {
  PeerProcess peer(QStringLiteral("GetInfo peer"));
  ASSERT_EQ(peer.ReadLine(), QStringLiteral("ready"));
  std::unique_ptr<AutomationObject> object =
      AutomationObject::Create(QStringLiteral("TolmarPacs.SuitePeer"));
  ASSERT_NE(object, nullptr);
  object->SetTimeout(5000);
  QVariantList arguments{QStringLiteral("P0001"), 100, QVariant::fromValue(QList<int>{4, 6, 7}),
                         QVariant()};
  QString error;
  ASSERT_EQ(object->InvokeForCode(4, arguments, &error), 0) << error.toStdString();
  const QVariantList values = arguments[3].toList();
  ASSERT_EQ(values.size(), 3);
  EXPECT_EQ(values[0].toString(), QStringLiteral("P0001:4"));
  EXPECT_EQ(values[2].toString(), QStringLiteral("P0001:7"));
}

TEST(AutomationObjectTest, CallFailuresAreReportedNotHidden) {
  PeerProcess peer(QStringLiteral("Failure peer"));
  ASSERT_EQ(peer.ReadLine(), QStringLiteral("ready"));
  std::unique_ptr<AutomationObject> object =
      AutomationObject::Attach(QStringLiteral("TolmarPacs.SuitePeer"));
  ASSERT_NE(object, nullptr);
  object->SetTimeout(5000);

  QVariantList arguments{1, 2};
  QVariant result;
  QString error;
  EXPECT_FALSE(object->Invoke(99, arguments, result, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(object->Invoke(3, arguments, result, &error));  // wrong argument types
  EXPECT_EQ(object->InvokeForCode(3, arguments), -1);

  object->Detach();
  EXPECT_FALSE(object->IsAttached());
  QVariantList none;
  EXPECT_FALSE(object->Invoke(1, none, result, &error));
}

TEST(AutomationObjectTest, UnknownIdentifierCannotBeCreated) {
  QString error;
  EXPECT_EQ(AutomationObject::Create(QStringLiteral("TolmarPacs.Nowhere"), &error), nullptr);
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(AutomationObject::Attach(QStringLiteral("TolmarPacs.Nowhere")), nullptr);
}

TEST(RelayhouseStandInTest, IsActivatedAndAnswersAddAndQuery) {
  std::unique_ptr<RelayhouseConnection> server = CreateRelayhouseConnection();
  ASSERT_NE(server, nullptr);
  QString requestId;
  ASSERT_EQ(
      server->AddCommand(20, QStringLiteral("/archive"), QString(),
                         QStringLiteral(";~;OBJECT_ID=12"), QStringLiteral("STUDY"), requestId),
      0);
  EXPECT_FALSE(requestId.isEmpty());

  QString answer;
  EXPECT_EQ(server->QueryCommand(QStringLiteral("another station"), requestId, answer), 2);
  EXPECT_FALSE(answer.isEmpty());
  int state = 1;
  ASSERT_TRUE(
      WaitFor([&] { return (state = server->QueryCommand(QString(), requestId, answer)) != 1; }));
  EXPECT_EQ(state, 0);
  EXPECT_NE(server->QueryCommand(QString(), QStringLiteral("no such request"), answer), 0);
}

// The archive manager's rule end to end against the stand-in: the request
// finishes within the first window.
TEST(RelayhouseStandInTest, ArchiveWaitSucceedsAgainstTheRunningServer) {
  class SilentPrompts : public RelayhousePrompts {
   public:
    int shown = 0;
    void ShowMessage(int, const QString&) override { ++shown; }
    bool AskYesNo(int, const QString&) override { return false; }
  } prompts;
  SystemWaitClock clock;
  ArchiveRelayhouseWait wait(CreateRelayhouseConnection, prompts, clock, StowmarkStrings());
  const RelayhouseOutcome outcome =
      wait.Run({2, QStringLiteral("CT1"), QString(), QStringLiteral(";~;PATIENT_NAME=张"),
                QStringLiteral("PATIENT")},
               true);
  EXPECT_TRUE(outcome.succeeded);
  EXPECT_FALSE(outcome.abandoned);
  EXPECT_EQ(prompts.shown, 0);
}

}  // namespace
