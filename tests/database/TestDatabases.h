#pragma once

#include <QString>
#include <memory>

#include "database/DbConnection.h"

namespace tolmar::db::test {

enum class Engine { Sqlite, Postgres };

// Data sources for the tests, in a private odbc.ini named by ODBCINI:
//   "TolmarPacs" - SQLite through the SQLite3 ODBC driver on a file in a temporary folder
//   "TolmarPg"   - a PostgreSQL server this process starts on a loopback port
class TestDatabases {
 public:
  static TestDatabases& Instance();

  // The temporary folder of this process.
  QString Folder() const { return m_folder; }
  QString SqliteFile() const;
  QString OdbcIni() const;
  // Starts the server on first use. False with a reason when it cannot; `missing`
  // is set when the server programs are not installed at all.
  bool EnsurePostgres(QString& reason, bool& missing);
  void StopPostgres();

  static QString DsnName(Engine engine) {
    return engine == Engine::Sqlite ? QStringLiteral("TolmarPacs") : QStringLiteral("TolmarPg");
  }
  // Empties the engine's database so that a test starts from nothing.
  bool Wipe(Engine engine, QString& reason);

  ~TestDatabases();

 private:
  TestDatabases();
  void WriteOdbcIni();

  QString m_folder;
  QString m_pgFolder;
  int m_pgPort = 0;
  long m_pgPid = 0;
  bool m_pgTried = false;
  bool m_pgFresh = false;
  bool m_pgMissing = false;
  QString m_pgReason;
};

// A process-wide environment that stops the server at the end.
void RegisterTestDatabaseEnvironment();

}  // namespace tolmar::db::test
