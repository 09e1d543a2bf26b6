#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"

namespace tolmar::db {

// T_PRINT_QUEUE: 5 bound columns, members named after their columns.
class CTablePrintQueue : public CQVRecordset {
 public:
  explicit CTablePrintQueue(DbConnection* database = nullptr) : CQVRecordset(database) { m_nFields = 5; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[T_PRINT_QUEUE]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Long("F_PRINT_ID", m_F_PRINT_ID);
    fx.Long("F_PRINT_STATUS", m_F_PRINT_STATUS);
    fx.Long("F_PRINT_SORT", m_F_PRINT_SORT);
    fx.Long("F_STU_ID", m_F_STU_ID);
    fx.Memo("F_PRINT_FILE", m_F_PRINT_FILE);
  }

  int32_t m_F_PRINT_ID = 0;
  int32_t m_F_PRINT_STATUS = 0;
  int32_t m_F_PRINT_SORT = 0;
  int32_t m_F_STU_ID = 0;
  QString m_F_PRINT_FILE;
};

}  // namespace tolmar::db
