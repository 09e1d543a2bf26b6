#include "database/DbConnection.h"

#include <sql.h>
#include <sqlext.h>

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>

namespace tolmar::db {
namespace {

std::atomic<int> g_connectionCounter{0};

QString ErrorText(const QSqlError& error) {
  QString text = error.text().trimmed();
  return text.isEmpty() ? QStringLiteral("unknown database error") : text;
}

QString GetInfoText(const QSqlDatabase& db, SQLUSMALLINT infoType) {
  QVariant handle = db.driver()->handle();
  if (!handle.isValid() || qstrcmp(handle.typeName(), "void*") != 0) return {};
  auto hdbc = *static_cast<SQLHDBC*>(handle.data());
  if (!hdbc) return {};
  SQLWCHAR buffer[1024] = {};
  SQLSMALLINT length = 0;
  const SQLRETURN rc = SQLGetInfoW(hdbc, infoType, buffer, sizeof buffer, &length);
  if (!SQL_SUCCEEDED(rc)) return {};
  static_assert(sizeof(SQLWCHAR) == sizeof(char16_t));
  const qsizetype chars = std::min<qsizetype>(length / 2, 1023);
  return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer), chars);
}

}  // namespace

DbConnection::DbConnection()
    : m_name(QStringLiteral("tolmar-db-%1").arg(g_connectionCounter.fetch_add(1))) {}

DbConnection::~DbConnection() { Close(); }

QSqlDatabase DbConnection::Database() const { return QSqlDatabase::database(m_name, false); }

bool DbConnection::IsOpen() const {
  return QSqlDatabase::contains(m_name) && Database().isOpen();
}

bool DbConnection::Open(const QString& connect) {
  Close();
  QString text = connect.trimmed();
  if (text.startsWith(QStringLiteral("ODBC;"), Qt::CaseInsensitive)) text = text.mid(5);
  // The Qt ODBC driver puts "DSN=" before anything that names no driver or server.
  QString driverText = text;
  if (driverText.startsWith(QStringLiteral("DSN="), Qt::CaseInsensitive)) driverText = driverText.mid(4);
  if (driverText.isEmpty()) {
    m_lastError = QStringLiteral("no data source named in \"%1\"").arg(connect);
    return false;
  }
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_name);
    if (!db.isValid()) {
      m_lastError = QStringLiteral("the Qt ODBC driver (QODBC) is not available");
      QSqlDatabase::removeDatabase(m_name);
      return false;
    }
    db.setDatabaseName(driverText);
    if (!db.open()) {
      m_lastError = ErrorText(db.lastError());
      db = QSqlDatabase();
      QSqlDatabase::removeDatabase(m_name);
      return false;
    }
    m_connect = QStringLiteral("ODBC;") + text;
    m_databaseName = GetInfoText(db, SQL_DATABASE_NAME);
    m_dialect = SqlDialect::FromDbmsName(GetInfoText(db, SQL_DBMS_NAME));
  }
  m_transactionDepth = 0;
  m_lastError.clear();
  return true;
}

void DbConnection::Close() {
  if (!QSqlDatabase::contains(m_name)) return;
  {
    QSqlDatabase db = Database();
    if (m_transactionDepth > 0 && db.isOpen()) {
      QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    }
    db.close();
  }
  QSqlDatabase::removeDatabase(m_name);
  m_transactionDepth = 0;
}

QString DbConnection::GetDatabaseName() const { return m_databaseName; }

bool DbConnection::IsFileDataSource() const {
  return m_databaseName.contains(u'/') || m_databaseName.contains(u'\\');
}

bool DbConnection::ExecuteSQL(const QString& sql, const QVariantList& params) {
  if (!IsOpen()) {
    m_lastError = QStringLiteral("the connection is not open");
    return false;
  }
  QSqlQuery query(Database());
  if (!query.prepare(m_dialect.Translate(sql))) {
    m_lastError = ErrorText(query.lastError());
    return false;
  }
  for (const QVariant& value : params) query.addBindValue(value);
  if (!query.exec()) {
    m_lastError = ErrorText(query.lastError());
    return false;
  }
  return true;
}

bool DbConnection::Select(const QString& sql, const QVariantList& params,
                          std::vector<SqlRow>& rows) {
  if (!IsOpen()) {
    m_lastError = QStringLiteral("the connection is not open");
    return false;
  }
  QSqlQuery query(Database());
  query.setForwardOnly(true);
  if (!query.prepare(m_dialect.Translate(sql))) {
    m_lastError = ErrorText(query.lastError());
    return false;
  }
  for (const QVariant& value : params) query.addBindValue(value);
  if (!query.exec()) {
    m_lastError = ErrorText(query.lastError());
    return false;
  }
  while (query.next()) {
    const int count = query.record().count();
    SqlRow row;
    row.reserve(count);
    for (int i = 0; i < count; ++i) row.append(query.value(i));
    rows.push_back(std::move(row));
  }
  if (query.lastError().isValid()) {
    m_lastError = ErrorText(query.lastError());
    return false;
  }
  return true;
}

bool DbConnection::SelectValue(const QString& sql, const QVariantList& params, QVariant& value,
                               bool* found) {
  std::vector<SqlRow> rows;
  if (!Select(sql, params, rows)) return false;
  if (found) *found = !rows.empty() && !rows.front().isEmpty();
  if (!rows.empty() && !rows.front().isEmpty()) value = rows.front().front();
  return true;
}

bool DbConnection::BeginTransaction() {
  if (m_transactionDepth > 0) {
    ++m_transactionDepth;
    return true;
  }
  if (!IsOpen()) {
    m_lastError = QStringLiteral("the connection is not open");
    return false;
  }
  QSqlQuery query(Database());
  if (!query.exec(m_dialect.BeginWriteTransaction())) {
    m_lastError = ErrorText(query.lastError());
    return false;
  }
  m_transactionDepth = 1;
  m_transactionFailed = false;
  return true;
}

bool DbConnection::CommitTransaction() {
  if (m_transactionDepth == 0) return false;
  if (--m_transactionDepth > 0) return true;
  QSqlQuery query(Database());
  const QString statement =
      m_transactionFailed ? QStringLiteral("ROLLBACK") : QStringLiteral("COMMIT");
  if (!query.exec(statement)) {
    m_lastError = ErrorText(query.lastError());
    QSqlQuery(Database()).exec(QStringLiteral("ROLLBACK"));
    return false;
  }
  return !m_transactionFailed;
}

bool DbConnection::RollbackTransaction() {
  if (m_transactionDepth == 0) return false;
  if (--m_transactionDepth > 0) {
    // An inner failure spoils the whole transaction; the outermost end rolls back.
    m_transactionFailed = true;
    return true;
  }
  QSqlQuery query(Database());
  const bool ok = query.exec(QStringLiteral("ROLLBACK"));
  if (!ok) m_lastError = ErrorText(query.lastError());
  return ok;
}

}  // namespace tolmar::db
