#include "database/CQVRecordset.h"

namespace tolmar::db {

CQVRecordset::~CQVRecordset() { Close(); }

bool CQVRecordset::Fail(const QString& reason) {
  m_lastError = reason;
  return false;
}

std::vector<ColumnDef> CQVRecordset::Columns() {
  CFieldExchange fx(CFieldExchange::Operation::Describe);
  DoFieldExchange(fx);
  return fx.Columns();
}

QString CQVRecordset::TableName() const {
  QString text = GetDefaultSQL().trimmed();
  if (text.startsWith(u'[') && text.endsWith(u']')) return text.mid(1, text.size() - 2);
  if (text.contains(u' ')) return {};
  return text;
}

QStringList CQVRecordset::KeyColumns() {
  const auto columns = Columns();
  return columns.empty() ? QStringList() : QStringList{columns.front().name};
}

void CQVRecordset::ResetMembers() {
  CFieldExchange fx(CFieldExchange::Operation::Reset);
  DoFieldExchange(fx);
}

QString CQVRecordset::SelectStatement() {
  QStringList names;
  for (const auto& column : Columns()) names << SqlDialect::QuoteIdentifier(column.name);
  const QString table = TableName();
  QString sql;
  if (table.isEmpty()) {
    // A whole statement given as the default SQL: filter and sort apply to its rows.
    sql = QStringLiteral("SELECT %1 FROM (%2) AS q").arg(names.join(u','), GetDefaultSQL());
  } else {
    sql = QStringLiteral("SELECT %1 FROM %2").arg(names.join(u','), SqlDialect::QuoteIdentifier(table));
  }
  if (!m_strFilter.trimmed().isEmpty()) sql += QStringLiteral(" WHERE ") + m_strFilter;
  if (!m_strSort.trimmed().isEmpty()) sql += QStringLiteral(" ORDER BY ") + m_strSort;
  return sql;
}

bool CQVRecordset::Open() {
  if (m_open) return Fail(QStringLiteral("the recordset is already open"));
  if (!m_pDatabase) {
    m_ownConnection = std::make_unique<DbConnection>();
    if (!m_ownConnection->Open(GetDefaultConnect())) {
      const QString reason = m_ownConnection->LastError();
      m_ownConnection.reset();
      return Fail(reason);
    }
    m_pDatabase = m_ownConnection.get();
  }
  m_open = true;
  if (!Requery()) {
    const QString reason = m_lastError;
    Close();
    return Fail(reason);
  }
  return true;
}

void CQVRecordset::Close() {
  m_open = false;
  m_rows.clear();
  m_current = 0;
  m_editMode = EditMode::None;
  if (m_ownConnection) {
    m_ownConnection.reset();
    m_pDatabase = nullptr;
  }
}

bool CQVRecordset::Requery() {
  if (!m_open) return Fail(QStringLiteral("the recordset is not open"));
  std::vector<QVariantList> rows;
  if (!m_pDatabase->Select(SelectStatement(), {}, rows)) return Fail(m_pDatabase->LastError());
  m_rows = std::move(rows);
  m_current = 0;
  m_editMode = EditMode::None;
  LoadCurrent();
  return true;
}

void CQVRecordset::LoadCurrent() {
  if (m_current >= m_rows.size()) return;
  CFieldExchange fx(CFieldExchange::Operation::Load, &m_rows[m_current]);
  DoFieldExchange(fx);
}

void CQVRecordset::MoveNext() {
  if (IsEOF()) return;
  ++m_current;
  LoadCurrent();
}

void CQVRecordset::MoveFirst() {
  m_current = 0;
  LoadCurrent();
}

QVariantList CQVRecordset::StoreMembers() {
  std::vector<bool> nulls;
  if (m_editMode == EditMode::AddNew) {
    nulls.assign(static_cast<size_t>(m_nFields > 0 ? m_nFields : 256), true);
  } else if (m_current < m_rows.size()) {
    for (const QVariant& value : m_rows[m_current]) nulls.push_back(value.isNull());
  }
  CFieldExchange fx(CFieldExchange::Operation::Store);
  fx.SetNullColumns(&nulls);
  DoFieldExchange(fx);
  return fx.StoredValues();
}

QVariantList CQVRecordset::KeyValues(const QVariantList& row) {
  const auto columns = Columns();
  QVariantList values;
  for (const QString& key : KeyColumns()) {
    for (size_t i = 0; i < columns.size(); ++i) {
      if (columns[i].name == key && static_cast<qsizetype>(i) < row.size()) {
        values.append(row[static_cast<qsizetype>(i)]);
      }
    }
  }
  return values;
}

bool CQVRecordset::CanUpdate() const {
  // Views (V_...) and whole statements are read-only, whatever the engine would allow.
  const QString table = TableName();
  return !table.isEmpty() && !table.startsWith(QStringLiteral("V_"));
}

bool CQVRecordset::AddNew() {
  if (!m_open) return Fail(QStringLiteral("the recordset is not open"));
  if (!CanUpdate()) return Fail(QStringLiteral("the recordset cannot be updated"));
  ResetMembers();
  m_editMode = EditMode::AddNew;
  return true;
}

bool CQVRecordset::Edit() {
  if (IsEOF()) return Fail(QStringLiteral("there is no current row to edit"));
  if (!CanUpdate()) return Fail(QStringLiteral("the recordset cannot be updated"));
  m_editMode = EditMode::Edit;
  return true;
}

bool CQVRecordset::Update() {
  if (m_editMode == EditMode::None) return Fail(QStringLiteral("Update without AddNew or Edit"));
  const auto columns = Columns();
  QStringList names;
  for (const auto& column : columns) names << SqlDialect::QuoteIdentifier(column.name);
  const QVariantList values = StoreMembers();
  const QString table = SqlDialect::QuoteIdentifier(TableName());
  const EditMode mode = m_editMode;
  m_editMode = EditMode::None;
  if (mode == EditMode::AddNew) {
    QStringList marks;
    for (qsizetype i = 0; i < names.size(); ++i) marks << QStringLiteral("?");
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(table, names.join(u','), marks.join(u','));
    if (!m_pDatabase->ExecuteSQL(sql, values)) return Fail(m_pDatabase->LastError());
    return true;
  }
  QStringList assignments;
  for (const QString& name : names) assignments << name + QStringLiteral("=?");
  QStringList conditions;
  for (const QString& key : KeyColumns()) conditions << SqlDialect::QuoteIdentifier(key) + QStringLiteral("=?");
  QVariantList params = values;
  params += KeyValues(m_rows[m_current]);
  const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                          .arg(table, assignments.join(u','), conditions.join(QStringLiteral(" AND ")));
  if (!m_pDatabase->ExecuteSQL(sql, params)) return Fail(m_pDatabase->LastError());
  // The snapshot shows what was written.
  m_rows[m_current] = values;
  return true;
}

bool CQVRecordset::Delete() {
  if (IsEOF()) return Fail(QStringLiteral("there is no current row to delete"));
  if (!CanUpdate()) return Fail(QStringLiteral("the recordset cannot be updated"));
  QStringList conditions;
  for (const QString& key : KeyColumns()) conditions << SqlDialect::QuoteIdentifier(key) + QStringLiteral("=?");
  const QString sql = QStringLiteral("DELETE FROM %1 WHERE %2")
                          .arg(SqlDialect::QuoteIdentifier(TableName()), conditions.join(QStringLiteral(" AND ")));
  if (!m_pDatabase->ExecuteSQL(sql, KeyValues(m_rows[m_current]))) return Fail(m_pDatabase->LastError());
  m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(m_current));
  LoadCurrent();
  return true;
}

bool CQVRecordset::ExecuteSQL(const QString& sql, const QVariantList& params) {
  if (!m_pDatabase) return Fail(QStringLiteral("the recordset has no open connection"));
  if (!m_pDatabase->ExecuteSQL(sql, params)) return Fail(m_pDatabase->LastError());
  return true;
}

}  // namespace tolmar::db
