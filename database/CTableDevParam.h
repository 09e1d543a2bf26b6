#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"

namespace tolmar::db {

// T_DEV_PARAM: 5 bound columns, members named after their columns.
class CTableDevParam : public CQVRecordset {
 public:
  explicit CTableDevParam(DbConnection* database = nullptr) : CQVRecordset(database) { m_nFields = 5; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[T_DEV_PARAM]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Long("F_PARAM_ID", m_F_PARAM_ID);
    fx.Long("F_DEV_ID", m_F_DEV_ID);
    fx.Long("F_PARAM_FLAG", m_F_PARAM_FLAG);
    fx.Text("F_PARAM_NAME", m_F_PARAM_NAME);
    fx.Text("F_PARAM_VALUE", m_F_PARAM_VALUE);
  }

  int32_t m_F_PARAM_ID = 0;
  int32_t m_F_DEV_ID = 0;
  int32_t m_F_PARAM_FLAG = 0;
  QString m_F_PARAM_NAME;
  QString m_F_PARAM_VALUE;
};

}  // namespace tolmar::db
