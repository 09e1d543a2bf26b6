// Unique identifiers from T_UNIQUE_ID on both engines (SQLite takes the cached path of
// a file data source, PostgreSQL the direct path of a server data source).
#include <QCoreApplication>
#include <QProcess>
#include <QSet>
#include <QStringList>

#include "EngineFixture.h"
#include "database/CTableReport.h"
#include "database/UniqueIdAllocator.h"

namespace tolmar::db::test {
namespace {

class UniqueId : public EngineTest {
 protected:
  qlonglong StoredCounter(const QString& key) {
    QVariant value;
    bool found = false;
    EXPECT_TRUE(m_db->SelectValue(QStringLiteral("SELECT F_UNIQUE_ID FROM T_UNIQUE_ID WHERE F_TAB_NAME=?"),
                                  {key}, value, &found));
    return found ? value.toLongLong() : -1;
  }
};

TEST_P(UniqueId, NewKeyHandsOutOneThenTwoAndTheCounterNamesTheNextFree) {
  EXPECT_EQ(m_db->IsFileDataSource(), GetParam() == Engine::Sqlite);
  EXPECT_EQ(AllocUniqueID(m_db.get(), QStringLiteral("[T_RPT_TERM_DICT]")), 1);
  EXPECT_EQ(StoredCounter(QStringLiteral("[T_RPT_TERM_DICT]")), 2);
  EXPECT_EQ(AllocUniqueID(m_db.get(), QStringLiteral("[T_RPT_TERM_DICT]")), 2);
  EXPECT_EQ(StoredCounter(QStringLiteral("[T_RPT_TERM_DICT]")), 3);
}

TEST_P(UniqueId, RequestsInOneProcessAreConsecutive) {
  for (int expected = 1; expected <= 40; ++expected) {
    ASSERT_EQ(AllocUniqueID(m_db.get(), QStringLiteral("TERM_A")), expected);
  }
  EXPECT_EQ(AllocUniqueID(m_db.get(), QStringLiteral("TERM_B")), 1) << "keys count separately";
  EXPECT_EQ(AllocUniqueID(m_db.get(), QStringLiteral("TERM_A")), 41);
}

TEST_P(UniqueId, AHigherStoredCounterIsFollowed) {
  const QString key = QStringLiteral("[T_REPORT]");
  ASSERT_EQ(AllocUniqueID(m_db.get(), key), 1);
  ASSERT_EQ(AllocUniqueID(m_db.get(), key), 2);
  // Another workstation has handed out up to 49 meanwhile.
  ASSERT_TRUE(m_db->ExecuteSQL(QStringLiteral("UPDATE T_UNIQUE_ID SET F_UNIQUE_ID=50 WHERE F_TAB_NAME=?"), {key}));
  EXPECT_EQ(AllocUniqueID(m_db.get(), key), 50);
  EXPECT_EQ(AllocUniqueID(m_db.get(), key), 51);
  EXPECT_EQ(StoredCounter(key), 52);
}

// Only a file data source keeps a cache of the counters.
class UniqueIdOnFile : public UniqueId {};

TEST_P(UniqueIdOnFile, CachedPathNeverGoesBelowWhatItHandedOut) {
  ASSERT_TRUE(m_db->IsFileDataSource());
  const QString key = QStringLiteral("[T_REPORT]");
  for (int i = 1; i <= 10; ++i) ASSERT_EQ(AllocUniqueID(m_db.get(), key), i);
  // The stored counter goes back (an older copy of the database file came back).
  ASSERT_TRUE(m_db->ExecuteSQL(QStringLiteral("UPDATE T_UNIQUE_ID SET F_UNIQUE_ID=3 WHERE F_TAB_NAME=?"), {key}));
  EXPECT_EQ(AllocUniqueID(m_db.get(), key), 11);
  EXPECT_EQ(StoredCounter(key), 12) << "the stored counter is repaired, not merely incremented";
}

TEST_P(UniqueId, BracketedKeyDoesNotMatchThePlainName) {
  ASSERT_TRUE(m_db->ExecuteSQL(
      QStringLiteral("INSERT INTO T_UNIQUE_ID (F_TAB_ID,F_TAB_NAME,F_UNIQUE_ID) VALUES (0,'T_REPORT',100)")));
  EXPECT_EQ(AllocUniqueID(m_db.get(), QStringLiteral("[T_REPORT]")), 1);
  EXPECT_EQ(AllocUniqueID(m_db.get(), QStringLiteral("T_REPORT")), 100);
}

TEST_P(UniqueId, KeyWithQuoteIsAnOrdinaryKey) {
  EXPECT_EQ(AllocUniqueID(m_db.get(), QStringLiteral("O'Brien's terms")), 1);
  EXPECT_EQ(AllocUniqueID(m_db.get(), QStringLiteral("O'Brien's terms")), 2);
}

TEST_P(UniqueId, FailureAnswersZero) {
  EXPECT_EQ(AllocUniqueID(nullptr, QStringLiteral("[T_REPORT]")), 0);
  EXPECT_EQ(AllocUniqueID(m_db.get(), QString()), 0);
  ASSERT_TRUE(m_db->ExecuteSQL(QStringLiteral("DROP VIEW V_RPT_TEMPL_DICT")));
  ASSERT_TRUE(m_db->ExecuteSQL(QStringLiteral("DROP TABLE T_UNIQUE_ID")));
  EXPECT_EQ(AllocUniqueID(m_db.get(), QStringLiteral("[T_REPORT]")), 0);
  EXPECT_FALSE(m_db->InTransaction()) << "a failed allocation leaves no transaction open";
  DbConnection closed;
  EXPECT_EQ(AllocUniqueID(&closed, QStringLiteral("[T_REPORT]")), 0);
}

TEST_P(UniqueId, GetNewIdUsesTheBracketedTableKeyOfTheOpenRecordset) {
  CTableReport reports(m_db.get());
  EXPECT_EQ(reports.GetNewID(), 0) << "a closed recordset has no connection to allocate on";
  reports.m_strFilter = QStringLiteral("1=0");
  ASSERT_TRUE(reports.Open()) << reports.LastError().toStdString();
  EXPECT_EQ(reports.GetNewID(), 1);
  EXPECT_EQ(StoredCounter(QStringLiteral("[T_REPORT]")), 2);
}

// Two programs allocate at the same time; every number is handed out exactly once.
TEST_P(UniqueId, TwoProcessesAllocatingAtOnceReceiveDistinctNumbers) {
  constexpr int kEach = 1000;
  const QString key = QStringLiteral("[T_REPORT]");
  QProcess first;
  QProcess second;
  const QStringList args{QStringLiteral("--allocate-ids"), Connect(), key, QString::number(kEach)};
  first.start(QCoreApplication::applicationFilePath(), args);
  second.start(QCoreApplication::applicationFilePath(), args);
  ASSERT_TRUE(first.waitForFinished(240000)) << "first child did not finish";
  ASSERT_TRUE(second.waitForFinished(240000)) << "second child did not finish";
  ASSERT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
  ASSERT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
  QSet<int> seen;
  for (QProcess* child : {&first, &second}) {
    const QStringList lines = QString::fromLatin1(child->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), kEach);
    for (const QString& line : lines) seen.insert(line.toInt());
  }
  EXPECT_EQ(seen.size(), 2 * kEach);
  EXPECT_TRUE(seen.contains(1) && seen.contains(2 * kEach));
  EXPECT_EQ(StoredCounter(key), 2 * kEach + 1);
}

TOLMAR_ON_BOTH_ENGINES(UniqueId);
INSTANTIATE_TEST_SUITE_P(FileDataSource, UniqueIdOnFile, ::testing::Values(Engine::Sqlite),
                         [](const auto& info) { return EngineName(info.param); });

}  // namespace
}  // namespace tolmar::db::test
