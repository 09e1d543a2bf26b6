#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "database/DatabaseSchema.h"
#include "database/DbConnection.h"

namespace tolmar::viewer::test {

// The data source "TolmarPacs" on a SQLite file of this test process, with the
// suite's schema. unixODBC keeps what it read of odbc.ini, so there is one per
// process; each test empties the tables it fills.
class ViewerTestDatabase {
 public:
  static ViewerTestDatabase& Instance() {
    static ViewerTestDatabase database;
    return database;
  }

  // Null (the reason in Reason()) when the driver or the schema is missing.
  db::DbConnection* Db() { return m_ready ? &m_db : nullptr; }
  const QString& Reason() const { return m_reason; }

  bool Empty() {
    for (const char* table : {"T_PATIENT", "T_STUDY", "T_DEVICE", "T_QUICK_REPORT"}) {
      if (!m_db.ExecuteSQL(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table))))
        return false;
    }
    return true;
  }

 private:
  ViewerTestDatabase() {
    if (!m_folder.isValid()) {
      m_reason = QStringLiteral("no temporary folder");
      return;
    }
    const QString ini = m_folder.filePath(QStringLiteral("odbc.ini"));
    QFile file(ini);
    if (!file.open(QIODevice::WriteOnly)) {
      m_reason = QStringLiteral("cannot write odbc.ini");
      return;
    }
    file.write(QStringLiteral("[TolmarPacs]\nDriver=SQLite3\nDatabase=%1\nTimeout=10000\n")
                   .arg(m_folder.filePath(QStringLiteral("pacs.db")))
                   .toUtf8());
    file.close();
    setenv("ODBCINI", QFile::encodeName(ini).constData(), 1);
    if (!m_db.Open() || !db::CreateSchema(m_db)) {
      m_reason = m_db.LastError();
      return;
    }
    m_ready = true;
  }

  QTemporaryDir m_folder;
  db::DbConnection m_db;
  bool m_ready = false;
  QString m_reason;
};

}  // namespace tolmar::viewer::test
