#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"

namespace tolmar::db {

// T_RPT_TAB_COND: 2 bound columns, members named after their columns.
class CTableRptTabCond : public CQVRecordset {
 public:
  explicit CTableRptTabCond(DbConnection* database = nullptr) : CQVRecordset(database) { m_nFields = 2; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[T_RPT_TAB_COND]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Long("F_CON_TAB_ID", m_F_CON_TAB_ID);
    fx.Long("F_TAB_ID", m_F_TAB_ID);
  }

  int32_t m_F_CON_TAB_ID = 0;
  int32_t m_F_TAB_ID = 0;

 public:
  QStringList KeyColumns() override { return {QStringLiteral("F_CON_TAB_ID"), QStringLiteral("F_TAB_ID")}; }
};

}  // namespace tolmar::db
