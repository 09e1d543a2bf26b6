#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "database/CFieldExchange.h"
#include "database/SqlDialect.h"

namespace tolmar::db {

class DbConnection;

struct TableSchema {
  QString name;
  std::vector<ColumnDef> columns;
  QStringList primaryKey;
};

struct ViewSchema {
  QString name;
  QString select;  // written the programs' way; the dialect translates it
};

// Every table of the suite database, described by the recordset classes that bind
// them (so the column order of a table is its binding order), and every view.
std::vector<TableSchema> SchemaTables();
std::vector<ViewSchema> SchemaViews();

// The statements that create the schema on an engine; each can run again harmlessly.
QStringList SchemaStatements(const SqlDialect& dialect);

// Creates what is missing and seeds the column configuration; false with the
// connection's error on failure.
bool CreateSchema(DbConnection& db);

}  // namespace tolmar::db
