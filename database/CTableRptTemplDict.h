#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"

namespace tolmar::db {

// T_RPT_TEMPL_DICT: 6 bound columns, members named after their columns.
class CTableRptTemplDict : public CQVRecordset {
 public:
  explicit CTableRptTemplDict(DbConnection* database = nullptr) : CQVRecordset(database) { m_nFields = 6; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[T_RPT_TEMPL_DICT]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Long("F_TEMPL_ID", m_F_TEMPL_ID);
    fx.Text("F_TEMPL_NAME", m_F_TEMPL_NAME);
    fx.Long("F_USER_ID", m_F_USER_ID);
    fx.Text("F_PLACE_ID", m_F_PLACE_ID);
    fx.Long("F_RPT_ID", m_F_RPT_ID);
    fx.Long("F_DICT_ORDER", m_F_DICT_ORDER);
  }

  int32_t m_F_TEMPL_ID = 0;
  QString m_F_TEMPL_NAME;
  int32_t m_F_USER_ID = 0;
  QString m_F_PLACE_ID;
  int32_t m_F_RPT_ID = 0;
  int32_t m_F_DICT_ORDER = 0;
};

}  // namespace tolmar::db
