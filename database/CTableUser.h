#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"

namespace tolmar::db {

// T_USER: 7 bound columns, members named after their columns.
class CTableUser : public CQVRecordset {
 public:
  explicit CTableUser(DbConnection* database = nullptr) : CQVRecordset(database) { m_nFields = 7; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[T_USER]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Long("F_USER_ID", m_F_USER_ID);
    fx.Text("F_USER_NAME", m_F_USER_NAME);
    fx.Text("F_USER_TITLE", m_F_USER_TITLE);
    fx.Text("F_PASSWORD", m_F_PASSWORD);
    fx.Long("F_USER_SYS", m_F_USER_SYS);
    fx.Long("F_USER_FLAG", m_F_USER_FLAG);
    fx.Text("F_USER_DESCRIB", m_F_USER_DESCRIB);
  }

  int32_t m_F_USER_ID = 0;
  QString m_F_USER_NAME;
  QString m_F_USER_TITLE;
  QString m_F_PASSWORD;
  int32_t m_F_USER_SYS = 0;
  int32_t m_F_USER_FLAG = 0;
  QString m_F_USER_DESCRIB;
};

}  // namespace tolmar::db
