#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"

namespace tolmar::db {

// T_DEVICE: 5 bound columns, members named after their columns.
class CTableDevice : public CQVRecordset {
 public:
  explicit CTableDevice(DbConnection* database = nullptr) : CQVRecordset(database) { m_nFields = 5; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[T_DEVICE]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Long("F_DEV_ID", m_F_DEV_ID);
    fx.Text("F_DEV_NAME", m_F_DEV_NAME);
    fx.Long("F_TYPE_ID", m_F_TYPE_ID);
    fx.Long("F_DEV_OWNER", m_F_DEV_OWNER);
    fx.Long("F_DEV_FLAG", m_F_DEV_FLAG);
  }

  int32_t m_F_DEV_ID = 0;
  QString m_F_DEV_NAME;
  int32_t m_F_TYPE_ID = 0;
  int32_t m_F_DEV_OWNER = 0;
  int32_t m_F_DEV_FLAG = 0;
};

}  // namespace tolmar::db
