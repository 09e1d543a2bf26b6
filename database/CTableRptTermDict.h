#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"

namespace tolmar::db {

// T_RPT_TERM_DICT: 3 bound columns, members named after their columns.
class CTableRptTermDict : public CQVRecordset {
 public:
  explicit CTableRptTermDict(DbConnection* database = nullptr) : CQVRecordset(database) { m_nFields = 3; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[T_RPT_TERM_DICT]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Long("F_TERM_ID", m_F_TERM_ID);
    fx.Text("F_TERM_INDEX", m_F_TERM_INDEX, 16);
    fx.Text("F_TERM_DETAIL", m_F_TERM_DETAIL, 64);
  }

  int32_t m_F_TERM_ID = 0;
  QString m_F_TERM_INDEX;
  QString m_F_TERM_DETAIL;
};

}  // namespace tolmar::db
