#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"

namespace tolmar::db {

// T_UNIQUE_ID: 3 bound columns, members named after their columns.
class CTableUniqueID : public CQVRecordset {
 public:
  explicit CTableUniqueID(DbConnection* database = nullptr) : CQVRecordset(database) { m_nFields = 3; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[T_UNIQUE_ID]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Long("F_TAB_ID", m_F_TAB_ID);
    fx.Text("F_TAB_NAME", m_F_TAB_NAME, 35);
    fx.Long("F_UNIQUE_ID", m_F_UNIQUE_ID);
  }

  int32_t m_F_TAB_ID = 0;
  QString m_F_TAB_NAME;
  int32_t m_F_UNIQUE_ID = 0;

 public:
  QStringList KeyColumns() override { return {QStringLiteral("F_TAB_NAME")}; }
};

}  // namespace tolmar::db
