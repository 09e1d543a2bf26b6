#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"

namespace tolmar::db {

// V_RPT_TAB_DEF: 9 bound columns, members named after their columns.
class CViewRptTabDef : public CQVRecordset {
 public:
  explicit CViewRptTabDef(DbConnection* database = nullptr) : CQVRecordset(database) { m_nFields = 9; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[V_RPT_TAB_DEF]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Long("F_MAIN_TAB_ID", m_F_MAIN_TAB_ID);
    fx.Long("F_TAB_ID", m_F_TAB_ID);
    fx.Text("F_TAB_NAME", m_F_TAB_NAME, 32);
    fx.Text("F_TAB_TITLE", m_F_TAB_TITLE, 32);
    fx.Text("F_COL_NAME_ID", m_F_COL_NAME_ID, 64);
    fx.Text("F_COL_NAME_CONTENT", m_F_COL_NAME_CONTENT, 64);
    fx.Long("F_COL_LEN_CONTENT", m_F_COL_LEN_CONTENT);
    fx.Long("F_COL_FLAG", m_F_COL_FLAG);
    fx.Text("F_COL_NAME_ORDER", m_F_COL_NAME_ORDER, 64);
  }

  int32_t m_F_MAIN_TAB_ID = 0;
  int32_t m_F_TAB_ID = 0;
  QString m_F_TAB_NAME;
  QString m_F_TAB_TITLE;
  QString m_F_COL_NAME_ID;
  QString m_F_COL_NAME_CONTENT;
  int32_t m_F_COL_LEN_CONTENT = 0;
  int32_t m_F_COL_FLAG = 0;
  QString m_F_COL_NAME_ORDER;
};

}  // namespace tolmar::db
