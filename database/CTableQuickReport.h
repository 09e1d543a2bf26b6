#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"

namespace tolmar::db {

// T_QUICK_REPORT: 13 bound columns, members named after their columns.
class CTableQuickReport : public CQVRecordset {
 public:
  explicit CTableQuickReport(DbConnection* database = nullptr) : CQVRecordset(database) { m_nFields = 13; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[T_QUICK_REPORT]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Long("F_QRPT_ID", m_F_QRPT_ID);
    fx.Long("F_STU_ID", m_F_STU_ID);
    fx.Text("F_RPT_WRITE_DATE", m_F_RPT_WRITE_DATE, 10);
    fx.Text("F_RPT_AUDIT_DATE", m_F_RPT_AUDIT_DATE, 10);
    fx.Text("F_RPT_WRITER", m_F_RPT_WRITER, 20);
    fx.Text("F_RPT_AUDITOR", m_F_RPT_AUDITOR, 20);
    fx.Memo("F_MEMO_SPARE1", m_F_MEMO_SPARE1);
    fx.Memo("F_MEMO_SPARE2", m_F_MEMO_SPARE2);
    fx.Text("F_RPT_SPARE1", m_F_RPT_SPARE1, 50);
    fx.Text("F_RPT_SPARE2", m_F_RPT_SPARE2, 50);
    fx.Text("F_RPT_SPARE3", m_F_RPT_SPARE3, 50);
    fx.Text("F_RPT_SPARE4", m_F_RPT_SPARE4, 50);
    fx.Text("F_RPT_SPARE5", m_F_RPT_SPARE5, 50);
  }

  int32_t m_F_QRPT_ID = 0;
  int32_t m_F_STU_ID = 0;
  QString m_F_RPT_WRITE_DATE;
  QString m_F_RPT_AUDIT_DATE;
  QString m_F_RPT_WRITER;
  QString m_F_RPT_AUDITOR;
  QString m_F_MEMO_SPARE1;
  QString m_F_MEMO_SPARE2;
  QString m_F_RPT_SPARE1;
  QString m_F_RPT_SPARE2;
  QString m_F_RPT_SPARE3;
  QString m_F_RPT_SPARE4;
  QString m_F_RPT_SPARE5;
};

}  // namespace tolmar::db
