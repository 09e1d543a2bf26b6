#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"

namespace tolmar::db {

// T_COL_CFG: 11 bound columns, members named after their columns.
class CTableColCfg : public CQVRecordset {
 public:
  explicit CTableColCfg(DbConnection* database = nullptr) : CQVRecordset(database) { m_nFields = 11; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[T_COL_CFG]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Long("F_DEV_ID", m_F_DEV_ID);
    fx.Long("F_TAB_ID", m_F_TAB_ID);
    fx.Long("F_COL_ID", m_F_COL_ID);
    fx.Text("F_COL_NAME", m_F_COL_NAME);
    fx.Text("F_COL_TITLE", m_F_COL_TITLE);
    fx.Text("F_COL_TYPE", m_F_COL_TYPE);
    fx.Long("F_COL_LEN", m_F_COL_LEN);
    fx.Long("F_COL_FORMAT", m_F_COL_FORMAT);
    fx.Long("F_COL_INDEX", m_F_COL_INDEX);
    fx.Long("F_COL_WIDTH", m_F_COL_WIDTH);
    fx.Long("F_COL_FLAG", m_F_COL_FLAG);
  }

  int32_t m_F_DEV_ID = 0;
  int32_t m_F_TAB_ID = 0;
  int32_t m_F_COL_ID = 0;
  QString m_F_COL_NAME;
  QString m_F_COL_TITLE;
  QString m_F_COL_TYPE;
  int32_t m_F_COL_LEN = 0;
  int32_t m_F_COL_FORMAT = 0;
  int32_t m_F_COL_INDEX = 0;
  int32_t m_F_COL_WIDTH = 0;
  int32_t m_F_COL_FLAG = 0;

 public:
  QStringList KeyColumns() override { return {QStringLiteral("F_DEV_ID"), QStringLiteral("F_TAB_ID"), QStringLiteral("F_COL_ID")}; }
};

}  // namespace tolmar::db
