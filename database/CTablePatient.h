#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"

namespace tolmar::db {

// T_PATIENT: 15 bound columns, members named after their columns.
class CTablePatient : public CQVRecordset {
 public:
  explicit CTablePatient(DbConnection* database = nullptr) : CQVRecordset(database) { m_nFields = 15; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[T_PATIENT]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Long("F_PAT_ID", m_F_PAT_ID);
    fx.Long("F_DEV_ID", m_F_DEV_ID);
    fx.Text("F_PAT_NO", m_F_PAT_NO, 64);
    fx.Text("F_PAT_NAME", m_F_PAT_NAME, 64);
    fx.Text("F_SEX", m_F_SEX, 16);
    fx.Text("F_PAT_BIRTH", m_F_PAT_BIRTH, 50);
    fx.Text("F_PAT_SPARE1", m_F_PAT_SPARE1, 50);
    fx.Text("F_PAT_SPARE2", m_F_PAT_SPARE2, 50);
    fx.Text("F_PAT_SPARE3", m_F_PAT_SPARE3, 50);
    fx.Text("F_PAT_SPARE4", m_F_PAT_SPARE4, 50);
    fx.Text("F_PAT_SPARE5", m_F_PAT_SPARE5, 20);
    fx.Text("F_PAT_SPARE6", m_F_PAT_SPARE6, 20);
    fx.Text("F_PAT_SPARE7", m_F_PAT_SPARE7, 20);
    fx.Text("F_PAT_SPARE8", m_F_PAT_SPARE8, 20);
    fx.Text("F_PAT_SPARE9", m_F_PAT_SPARE9, 20);
  }

  int32_t m_F_PAT_ID = 0;
  int32_t m_F_DEV_ID = 0;
  QString m_F_PAT_NO;
  QString m_F_PAT_NAME;
  QString m_F_SEX;
  QString m_F_PAT_BIRTH;
  QString m_F_PAT_SPARE1;
  QString m_F_PAT_SPARE2;
  QString m_F_PAT_SPARE3;
  QString m_F_PAT_SPARE4;
  QString m_F_PAT_SPARE5;
  QString m_F_PAT_SPARE6;
  QString m_F_PAT_SPARE7;
  QString m_F_PAT_SPARE8;
  QString m_F_PAT_SPARE9;
};

}  // namespace tolmar::db
