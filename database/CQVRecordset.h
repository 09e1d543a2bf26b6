#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>
#include <vector>

#include "database/CFieldExchange.h"
#include "database/DbConnection.h"

namespace tolmar::db {

// Base of every table and view class: a snapshot recordset. Open reads every row the
// filter selects into memory, in the sort order; the members show the current row.
// Without a database object the recordset opens its own connection from the default
// connect text on Open and releases it on Close.
class CQVRecordset {
 public:
  enum class EditMode { None, Edit, AddNew };

  // `database` is borrowed and must outlive the recordset; null means "own connection".
  explicit CQVRecordset(DbConnection* database = nullptr) : m_pDatabase(database) {}
  virtual ~CQVRecordset();
  CQVRecordset(const CQVRecordset&) = delete;
  CQVRecordset& operator=(const CQVRecordset&) = delete;

  // Replaces the class's own table name as the statement Open runs, when not empty.
  QString m_strDefaultSQL;
  // WHERE clause without the word WHERE, and ORDER BY list without the words.
  QString m_strFilter;
  QString m_strSort;

  virtual QString GetDefaultSQL() const { return m_strDefaultSQL; }
  virtual void SetDefaultSQL(const QString& text) { m_strDefaultSQL = text; }
  virtual QString GetDefaultConnect() const { return QString::fromLatin1(kDefaultConnect); }
  virtual void DoFieldExchange(CFieldExchange& fx) = 0;

  bool Open();
  void Close();
  bool IsOpen() const { return m_open; }
  // Runs the statement again with the current filter and sort.
  bool Requery();

  bool IsEOF() const { return !m_open || m_current >= m_rows.size(); }
  bool IsBOF() const { return !m_open || m_rows.empty(); }
  void MoveNext();
  void MoveFirst();
  long GetRecordCount() const { return static_cast<long>(m_rows.size()); }

  // AddNew clears the members; Edit keeps the current row's. Update writes them.
  bool AddNew();
  bool Edit();
  bool Update();
  void CancelUpdate() { m_editMode = EditMode::None; }
  // Deletes the current row; the recordset then shows the row after it.
  bool Delete();

  // A statement on the recordset's own connection.
  bool ExecuteSQL(const QString& sql, const QVariantList& params = {});
  DbConnection* Database() const { return m_pDatabase; }

  QString LastError() const { return m_lastError; }
  // Columns in binding order, from the exchange function.
  std::vector<ColumnDef> Columns();
  // The table or view the class reads, without brackets; empty for a SELECT statement.
  QString TableName() const;
  // False for views and for a whole statement given as the default SQL.
  bool CanUpdate() const;

  int m_nFields = 0;

  // Columns that find the row again for Edit and Delete (the table's primary key);
  // the first column by default.
  virtual QStringList KeyColumns();

 protected:
  void ResetMembers();

 private:
  bool Fail(const QString& reason);
  QString SelectStatement();
  void LoadCurrent();
  QVariantList StoreMembers();
  QVariantList KeyValues(const QVariantList& row);

  DbConnection* m_pDatabase;
  std::unique_ptr<DbConnection> m_ownConnection;
  bool m_open = false;
  std::vector<QVariantList> m_rows;
  size_t m_current = 0;
  EditMode m_editMode = EditMode::None;
  QString m_lastError;
};

}  // namespace tolmar::db
