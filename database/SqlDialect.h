#pragma once

#include <QString>

namespace tolmar::db {

enum class SqlEngine { Sqlite, Postgres };

enum class FieldType { Long, Int, Text, Memo, Double };

// The one place where SQL text meets an engine. Programs write statements and
// filters the way they always have ("[T_REPORT]", LEN(...), '%'+F_MODALITY+'%',
// bare upper-case column names); Translate turns that into SQL that both SQLite
// and PostgreSQL accept: double-quoted identifiers, LENGTH, ||.
class SqlDialect {
 public:
  explicit SqlDialect(SqlEngine engine = SqlEngine::Sqlite) : m_engine(engine) {}

  // From the DBMS name an ODBC driver reports ("SQLite", "PostgreSQL").
  static SqlDialect FromDbmsName(const QString& dbmsName);

  SqlEngine Engine() const { return m_engine; }

  // Outside string literals: [NAME] and bare names beginning with F_, T_ or V_
  // become "NAME"; LEN( becomes LENGTH(; a + with a string literal on either side
  // becomes ||. String literals pass unchanged.
  QString Translate(const QString& sql) const;

  static QString QuoteIdentifier(const QString& name);
  // A value as an SQL string literal, single quotes doubled. For texts that must
  // become part of a filter; everything else is bound as a parameter.
  static QString Literal(const QString& value);
  // A value for the pattern of LIKE '%...%' with its own % and _ taken literally;
  // use with LikeEscapeClause().
  static QString LikePattern(const QString& value);
  static QString LikeEscapeClause() { return QStringLiteral(" ESCAPE '\\'"); }

  QString ColumnType(FieldType type, int width) const;
  // "CREATE VIEW IF NOT EXISTS" (SQLite) or "CREATE OR REPLACE VIEW" (PostgreSQL).
  QString CreateViewPrefix() const;
  // Starts a transaction that holds the write lock from its first statement, so that
  // a read after an update in the same transaction sees no other writer.
  QString BeginWriteTransaction() const;

 private:
  SqlEngine m_engine;
};

}  // namespace tolmar::db
