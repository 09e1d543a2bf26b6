#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"

namespace tolmar::db {

// T_RPT_PLACE_NAME: 4 bound columns, members named after their columns.
class CTableRptPlaceName : public CQVRecordset {
 public:
  explicit CTableRptPlaceName(DbConnection* database = nullptr) : CQVRecordset(database) { m_nFields = 4; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[T_RPT_PLACE_NAME]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Text("F_PLACE_ID", m_F_PLACE_ID);
    fx.Long("F_MODALITY_ID", m_F_MODALITY_ID);
    fx.Text("F_PLACE_NAME", m_F_PLACE_NAME);
    fx.Long("F_DICT_ORDER", m_F_DICT_ORDER);
  }

  QString m_F_PLACE_ID;
  int32_t m_F_MODALITY_ID = 0;
  QString m_F_PLACE_NAME;
  int32_t m_F_DICT_ORDER = 0;
};

}  // namespace tolmar::db
