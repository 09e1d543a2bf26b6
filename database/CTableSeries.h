#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"

namespace tolmar::db {

// T_SERIES: 8 bound columns, members named after their columns.
class CTableSeries : public CQVRecordset {
 public:
  explicit CTableSeries(DbConnection* database = nullptr) : CQVRecordset(database) { m_nFields = 8; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[T_SERIES]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Long("F_SER_ID", m_F_SER_ID);
    fx.Long("F_STU_ID", m_F_STU_ID);
    fx.Text("F_SER_UID", m_F_SER_UID, 64);
    fx.Long("F_SER_NO", m_F_SER_NO);
    fx.Text("F_MODALITY", m_F_MODALITY, 10);
    fx.Text("F_SER_DESCRIB", m_F_SER_DESCRIB, 64);
    fx.Text("F_BODY_PART", m_F_BODY_PART, 20);
    fx.Long("F_IMG_COUNT", m_F_IMG_COUNT);
  }

  int32_t m_F_SER_ID = 0;
  int32_t m_F_STU_ID = 0;
  QString m_F_SER_UID;
  int32_t m_F_SER_NO = 0;
  QString m_F_MODALITY;
  QString m_F_SER_DESCRIB;
  QString m_F_BODY_PART;
  int32_t m_F_IMG_COUNT = 0;
};

}  // namespace tolmar::db
