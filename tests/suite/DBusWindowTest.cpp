#include <gtest/gtest.h>

#include "DBusTestSupport.h"
#include "suite/WindowMessenger.h"

using namespace tolmar::suite;

namespace {

TEST(WindowMessengerTest, CommandReachesTheProgramWithThatTitle) {
  const QString title = QStringLiteral("Stowmark 档案");
  WindowMessenger messenger;
  EXPECT_FALSE(messenger.Find(title));

  PeerProcess peer(title);
  ASSERT_EQ(peer.ReadLine(), QStringLiteral("ready"));
  ASSERT_TRUE(messenger.Find(title));
  EXPECT_FALSE(messenger.Find(QStringLiteral("Stowmark")));

  ASSERT_TRUE(messenger.SendCommand(title, 32788));
  EXPECT_EQ(peer.ReadLine(), QStringLiteral("command 32788"));
  ASSERT_TRUE(messenger.Activate(title));
  EXPECT_EQ(peer.ReadLine(), QStringLiteral("activate"));
  ASSERT_TRUE(messenger.PlaceBehind(title, QStringLiteral("Pictorium")));
  EXPECT_EQ(peer.ReadLine(), QStringLiteral("behind Pictorium"));
  ASSERT_TRUE(messenger.PostCommand(title, 32771));
  EXPECT_EQ(peer.ReadLine(), QStringLiteral("command 32771"));

  // The exit command ends the program; its name goes with it.
  ASSERT_TRUE(messenger.PostCommand(title, 57665));
  EXPECT_EQ(peer.ReadLine(), QStringLiteral("command 57665"));
  EXPECT_TRUE(peer.Process().waitForFinished(5000));
  EXPECT_TRUE(WaitFor([&] { return !messenger.Find(title); }));
}

TEST(WindowMessengerTest, MissingWindowGetsNothing) {
  WindowMessenger messenger;
  EXPECT_FALSE(messenger.SendCommand(QStringLiteral("Paperlift"), 1));
  EXPECT_FALSE(messenger.PostCommand(QStringLiteral("Paperlift"), 1));
  EXPECT_FALSE(messenger.Activate(QStringLiteral("Paperlift")));
}

TEST(WindowMessengerTest, SecondWindowCannotTakeATitleInUse) {
  const QString title = QStringLiteral("Capturon");
  PeerProcess first(title);
  ASSERT_EQ(first.ReadLine(), QStringLiteral("ready"));
  WindowEndpoint second;
  EXPECT_FALSE(second.Claim(title));
}

TEST(WindowBusNameTest, AnyTitleGivesAValidBusName) {
  for (const QString& title : {QStringLiteral("Reporter"), QStringLiteral("影像 报告 (1)"),
                               QString(400, QLatin1Char('x')), QString()}) {
    const QString name = WindowBusName(title);
    EXPECT_LE(name.size(), 255);
    EXPECT_TRUE(name.startsWith(QStringLiteral("TolmarPacs.Window.T")));
    for (const QChar c : name)
      EXPECT_TRUE(c.isLetterOrNumber() || c == QLatin1Char('.') || c == QLatin1Char('_'))
          << name.toStdString();
  }
  EXPECT_NE(WindowBusName(QStringLiteral("Reporter")), WindowBusName(QStringLiteral("reporter")));
}

}  // namespace
