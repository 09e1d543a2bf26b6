#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <memory>
#include <vector>

#include "database/SqlDialect.h"

class QSqlDatabase;

namespace tolmar::db {

// The connect text every program uses unless told otherwise.
inline constexpr const char* kDefaultConnect = "ODBC;DSN=TolmarPacs";

using SqlRow = QVariantList;

// One ODBC connection (the programs' database object). Statements go through the
// dialect helper; values are bound, never pasted into the text. Failures answer
// false and keep the driver's message in LastError().
class DbConnection {
 public:
  DbConnection();
  ~DbConnection();
  DbConnection(const DbConnection&) = delete;
  DbConnection& operator=(const DbConnection&) = delete;

  // "ODBC;DSN=TolmarPacs" or "ODBC;DSN=Name;Key=Value..." or "ODBC;DRIVER=...".
  bool Open(const QString& connect = QString::fromLatin1(kDefaultConnect));
  void Close();
  bool IsOpen() const;

  // The connect text the connection was opened with.
  QString GetConnect() const { return m_connect; }
  // The driver's database name: a file path for a file data source (SQLite), the
  // database's own name for a server data source.
  QString GetDatabaseName() const;
  bool IsFileDataSource() const;
  const SqlDialect& Dialect() const { return m_dialect; }

  // Runs a statement that returns no rows. The text is translated by the dialect.
  bool ExecuteSQL(const QString& sql, const QVariantList& params = {});
  // Runs a query and appends every row to `rows`.
  bool Select(const QString& sql, const QVariantList& params, std::vector<SqlRow>& rows);
  // Runs a query and answers the first column of its first row; nothing read when
  // there is no row (`found` false).
  bool SelectValue(const QString& sql, const QVariantList& params, QVariant& value,
                   bool* found = nullptr);

  // Nested transactions share the outermost one; a write transaction takes the
  // write lock at once on engines that would otherwise take it late.
  bool BeginTransaction();
  bool CommitTransaction();
  bool RollbackTransaction();
  bool InTransaction() const { return m_transactionDepth > 0; }

  QString LastError() const { return m_lastError; }
  // The Qt connection, for callers that prepare a statement once and run it often.
  QSqlDatabase Database() const;
  void SetLastError(const QString& error) { m_lastError = error; }

 private:
  QString m_name;     // Qt connection name, unique per object
  QString m_connect;  // as given to Open
  QString m_databaseName;
  SqlDialect m_dialect;
  int m_transactionDepth = 0;
  bool m_transactionFailed = false;
  QString m_lastError;
};

}  // namespace tolmar::db
