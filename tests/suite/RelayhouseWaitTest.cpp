#include <gtest/gtest.h>

#include <deque>

#include "suite/RelayhouseWait.h"
#include "suite/SuiteStrings.h"

using namespace tolmar::suite;

namespace {

// Time passes only when the waiting rule sleeps.
class FakeClock : public WaitClock {
 public:
  std::int64_t WholeSeconds() override { return m_ms / 1000; }
  void Sleep(int milliseconds) override { m_ms += milliseconds; }
  std::int64_t Milliseconds() const { return m_ms; }

 private:
  std::int64_t m_ms = 1'700'000'000'500;  // not on a whole second
};

// Answers "in progress" a given number of times, then the final state.
class FakeRelayhouse : public RelayhouseConnection {
 public:
  int addResult = 0;
  QString addText = QStringLiteral("R1");
  int pendingQueries = 0;
  int finalState = kFinished;
  QString finalText = QStringLiteral(";~;/a/1.dcm");
  int queries = 0;
  RelayhouseCommand added;
  QString queriedPeer;
  QString queriedId;

  int AddCommand(int code, const QString& device, const QString& peer, const QString& commandText,
                 const QString& level, QString& out) override {
    added = {code, device, peer, commandText, level};
    out = addText;
    return addResult;
  }
  int QueryCommand(const QString& peer, const QString& requestId, QString& out) override {
    ++queries;
    queriedPeer = peer;
    queriedId = requestId;
    if (pendingQueries != 0) {
      --pendingQueries;  // a negative count never finishes
      out.clear();
      return kInProgress;
    }
    out = finalText;
    return finalState;
  }
};

class ScriptedPrompts : public RelayhousePrompts {
 public:
  std::deque<bool> answers;    // Yes/No answers in turn; No when exhausted
  int cancelAfterChecks = -1;  // -1: never cancel
  std::vector<std::pair<int, QString>> messages;
  std::vector<int> questions;
  std::vector<std::int64_t> questionTimesMs;
  FakeClock* clock = nullptr;
  int checks = 0;
  bool cursor = false;
  int cursorChanges = 0;

  void ShowMessage(int id, const QString& text) override { messages.emplace_back(id, text); }
  bool AskYesNo(int id, const QString&) override {
    questions.push_back(id);
    if (clock) questionTimesMs.push_back(clock->Milliseconds());
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
  }
  void SetWaitCursor(bool on) override {
    cursor = on;
    ++cursorChanges;
  }
  bool ProcessEventsAndCheckCancelled() override {
    return cancelAfterChecks >= 0 && ++checks > cancelAfterChecks;
  }
};

struct ViewerWaitFixture : ::testing::Test {
  FakeClock clock;
  ScriptedPrompts prompts;
  FakeRelayhouse* server = nullptr;
  bool createFails = false;

  RelayhouseFactory Factory() {
    return [this]() -> std::unique_ptr<RelayhouseConnection> {
      if (createFails) return nullptr;
      auto fake = std::make_unique<FakeRelayhouse>();
      server = fake.get();
      *fake = pending;
      return fake;
    };
  }
  FakeRelayhouse pending;
  RelayhouseCommand Load() const {
    return {20, QStringLiteral("/archive"), QString(), QStringLiteral(";~;OBJECT_ID=7"),
            QStringLiteral("STUDY")};
  }
};

using ViewerRelayhouseWaitTest = ViewerWaitFixture;

TEST_F(ViewerRelayhouseWaitTest, AnswerAfterSomePollsSucceedsWithoutQuestions) {
  pending.pendingQueries = 30;
  ViewerRelayhouseWait wait(Factory(), prompts, clock, PictoriumStrings());
  const RelayhouseOutcome outcome = wait.Run(Load());
  EXPECT_TRUE(outcome.succeeded);
  EXPECT_EQ(outcome.answer, QStringLiteral(";~;/a/1.dcm"));
  EXPECT_TRUE(prompts.questions.empty());
  EXPECT_EQ(server->queries, 31);
  EXPECT_EQ(server->added.code, 20);
  EXPECT_EQ(server->added.level, QStringLiteral("STUDY"));
  EXPECT_EQ(server->queriedId, QStringLiteral("R1"));
}

TEST_F(ViewerRelayhouseWaitTest, ServerThatStaysBusyIsQuestionedOncePerTwentySeconds) {
  pending.pendingQueries = -1;
  prompts.clock = &clock;
  prompts.answers = {true, true, false};
  const std::int64_t start = clock.Milliseconds();
  ViewerRelayhouseWait wait(Factory(), prompts, clock, PictoriumStrings());
  const RelayhouseOutcome outcome = wait.Run(Load());
  EXPECT_FALSE(outcome.succeeded);
  EXPECT_TRUE(outcome.abandoned);
  ASSERT_EQ(prompts.questions, (std::vector<int>{354, 354, 354}));
  // Each period ends when the whole-second clock has moved 20 seconds.
  std::int64_t previous = start;
  for (const std::int64_t at : prompts.questionTimesMs) {
    EXPECT_GE(at - previous, 19'000);
    EXPECT_LE(at - previous, 20'600);
    previous = at;
  }
}

TEST_F(ViewerRelayhouseWaitTest, YesAfterTimeoutKeepsWaitingUntilTheAnswer) {
  pending.pendingQueries = 500;  // 25 seconds of polls
  prompts.answers = {true};
  ViewerRelayhouseWait wait(Factory(), prompts, clock, PictoriumStrings());
  const RelayhouseOutcome outcome = wait.Run(Load());
  EXPECT_TRUE(outcome.succeeded);
  EXPECT_EQ(prompts.questions.size(), 1u);
}

TEST_F(ViewerRelayhouseWaitTest, CancellingTheWaitWindowFailsWithoutAQuestion) {
  pending.pendingQueries = -1;
  prompts.cancelAfterChecks = 10;
  ViewerRelayhouseWait wait(Factory(), prompts, clock, PictoriumStrings());
  const RelayhouseOutcome outcome = wait.Run(Load());
  EXPECT_FALSE(outcome.succeeded);
  EXPECT_TRUE(prompts.questions.empty());
  EXPECT_EQ(server->queries, 10);
}

TEST_F(ViewerRelayhouseWaitTest, ErrorResultsShowMessageThreeFiftyThree) {
  pending.finalState = 7;
  pending.finalText = QStringLiteral("device offline");
  ViewerRelayhouseWait wait(Factory(), prompts, clock, PictoriumStrings());
  EXPECT_FALSE(wait.Run(Load()).succeeded);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].first, 353);
  EXPECT_EQ(prompts.messages[0].second,
            QStringLiteral("COM调用错误！\r\n错误码：7\r\n详细内容：device offline"));

  prompts.messages.clear();
  pending.addResult = -3;
  pending.addText = QStringLiteral("queue full");
  EXPECT_FALSE(wait.Run(Load()).succeeded);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_TRUE(prompts.messages[0].second.contains(QStringLiteral("-3")));
  EXPECT_EQ(server->queries, 0);
}

TEST_F(ViewerRelayhouseWaitTest, MissingServerShowsMessageThreeFiftyTwo) {
  createFails = true;
  ViewerRelayhouseWait wait(Factory(), prompts, clock, PictoriumStrings());
  EXPECT_FALSE(wait.Run(Load()).succeeded);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].first, 352);
  EXPECT_EQ(prompts.messages[0].second,
            QStringLiteral("Relayhouse COM对象建立失败，请重新安装系统！"));
}

using ArchiveRelayhouseWaitTest = ViewerWaitFixture;

TEST_F(ArchiveRelayhouseWaitTest, NoAfterTheTenSecondWindowCountsAsSuccess) {
  pending.pendingQueries = -1;
  prompts.clock = &clock;
  prompts.answers = {true, false};
  const std::int64_t start = clock.Milliseconds();
  ArchiveRelayhouseWait wait(Factory(), prompts, clock, StowmarkStrings());
  const RelayhouseOutcome outcome =
      wait.Run({2, QStringLiteral("CT1"), QString(), QString(), QStringLiteral("PATIENT")}, true);
  EXPECT_TRUE(outcome.succeeded);
  EXPECT_TRUE(outcome.abandoned);
  ASSERT_EQ(prompts.questions, (std::vector<int>{140, 140}));
  EXPECT_GE(prompts.questionTimesMs[0] - start, 9'000);
  EXPECT_LE(prompts.questionTimesMs[0] - start, 10'600);
  EXPECT_FALSE(prompts.cursor);
  EXPECT_GE(prompts.cursorChanges, 2);
}

TEST_F(ArchiveRelayhouseWaitTest, CommandWithoutWaitingSucceedsOnceQueued) {
  pending.pendingQueries = -1;
  ArchiveRelayhouseWait wait(Factory(), prompts, clock, StowmarkStrings());
  EXPECT_TRUE(
      wait.Run({22, QStringLiteral("DISC"), QString(), QStringLiteral("1;~;3"), QString()}, false)
          .succeeded);
  EXPECT_EQ(server->queries, 0);
}

TEST_F(ArchiveRelayhouseWaitTest, FailuresShowTheArchiveManagersMessages) {
  pending.finalState = 9;
  pending.finalText = QStringLiteral("SQL error");
  ArchiveRelayhouseWait wait(Factory(), prompts, clock, StowmarkStrings());
  EXPECT_FALSE(wait.Run({3, QStringLiteral("CT1"), QString(), QStringLiteral(";~;OBJECT_ID=4"),
                         QStringLiteral("STUDY")},
                        true)
                   .succeeded);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].first, 285);
  EXPECT_TRUE(prompts.messages[0].second.endsWith(QStringLiteral("SQL error")));

  prompts.messages.clear();
  createFails = true;
  EXPECT_FALSE(wait.Run({3, QString(), QString(), QString(), QString()}, true).succeeded);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].first, 286);
}

}  // namespace
