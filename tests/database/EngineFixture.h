#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "TestDatabases.h"
#include "database/DatabaseSchema.h"
#include "database/DbConnection.h"

namespace tolmar::db::test {

// Runs a test on each engine with a fresh database holding the whole schema.
// PostgreSQL cases are skipped only when its server programs are not installed.
template <typename Param>
class EngineFixtureBase : public ::testing::TestWithParam<Param> {
 protected:
  virtual Engine CurrentEngine() const = 0;

  void SetUp() override {
    auto& databases = TestDatabases::Instance();
    QString reason;
    if (CurrentEngine() == Engine::Postgres) {
      bool missing = false;
      if (!databases.EnsurePostgres(reason, missing)) {
        if (missing) GTEST_SKIP() << reason.toStdString();
        FAIL() << reason.toStdString();
      }
    }
    ASSERT_TRUE(databases.Wipe(CurrentEngine(), reason)) << reason.toStdString();
    m_db = std::make_unique<DbConnection>();
    ASSERT_TRUE(m_db->Open(Connect())) << m_db->LastError().toStdString();
    ASSERT_TRUE(CreateSchema(*m_db)) << m_db->LastError().toStdString();
  }

  void TearDown() override { m_db.reset(); }

  QString Connect() const { return QStringLiteral("ODBC;DSN=") + TestDatabases::DsnName(CurrentEngine()); }

  std::unique_ptr<DbConnection> m_db;
};

class EngineTest : public EngineFixtureBase<Engine> {
 protected:
  Engine CurrentEngine() const override { return GetParam(); }
};

inline std::string EngineName(Engine engine) {
  return engine == Engine::Sqlite ? "Sqlite" : "Postgres";
}

#define TOLMAR_ON_BOTH_ENGINES(Suite)                                                          \
  INSTANTIATE_TEST_SUITE_P(Engines, Suite,                                                     \
                           ::testing::Values(::tolmar::db::test::Engine::Sqlite,               \
                                             ::tolmar::db::test::Engine::Postgres),            \
                           [](const auto& info) { return ::tolmar::db::test::EngineName(info.param); })

}  // namespace tolmar::db::test
