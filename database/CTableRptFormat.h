#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"

namespace tolmar::db {

// T_RPT_FORMAT: 4 bound columns, members named after their columns.
class CTableRptFormat : public CQVRecordset {
 public:
  explicit CTableRptFormat(DbConnection* database = nullptr) : CQVRecordset(database) { m_nFields = 4; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[T_RPT_FORMAT]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Long("F_FMT_ID", m_F_FMT_ID);
    fx.Long("F_MODALITY_ID", m_F_MODALITY_ID);
    fx.Text("F_FMT_NAME", m_F_FMT_NAME, 50);
    fx.Memo("F_FMT_SYNTAX", m_F_FMT_SYNTAX);
  }

  int32_t m_F_FMT_ID = 0;
  int32_t m_F_MODALITY_ID = 0;
  QString m_F_FMT_NAME;
  QString m_F_FMT_SYNTAX;
};

}  // namespace tolmar::db
