#pragma once

#include <cstdint>

#include "database/CMyRecordset.h"
#include "database/ReportRecord.h"

namespace tolmar::db {

// T_REPORT: 25 bound columns, members named after their columns.
class CTableReport : public CMyRecordset {
 public:
  explicit CTableReport(DbConnection* database = nullptr) : CMyRecordset(database) { m_nFields = 25; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[T_REPORT]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Long("F_RPT_ID", m_F_RPT_ID);
    fx.Long("F_STU_ID", m_F_STU_ID);
    fx.Long("F_FMT_ID", m_F_FMT_ID);
    fx.Long("F_RPT_FLAG", m_F_RPT_FLAG);
    fx.Text("F_RPT_UID", m_F_RPT_UID, 64);
    fx.Text("F_RPT_WRITE_DATE", m_F_RPT_WRITE_DATE, 10);
    fx.Text("F_RPT_AUDIT_DATE", m_F_RPT_AUDIT_DATE, 10);
    fx.Text("F_RPT_WRITER", m_F_RPT_WRITER, 20);
    fx.Text("F_RPT_AUDITOR", m_F_RPT_AUDITOR, 20);
    fx.Memo("F_RPT_IMG_LIST", m_F_RPT_IMG_LIST);
    fx.Memo("F_MEMO_SPARE1", m_F_MEMO_SPARE1);
    fx.Memo("F_MEMO_SPARE2", m_F_MEMO_SPARE2);
    fx.Memo("F_MEMO_SPARE3", m_F_MEMO_SPARE3);
    fx.Memo("F_MEMO_SPARE4", m_F_MEMO_SPARE4);
    fx.Memo("F_MEMO_SPARE5", m_F_MEMO_SPARE5);
    fx.Text("F_RPT_SPARE1", m_F_RPT_SPARE1, 50);
    fx.Text("F_RPT_SPARE2", m_F_RPT_SPARE2, 50);
    fx.Text("F_RPT_SPARE3", m_F_RPT_SPARE3, 50);
    fx.Text("F_RPT_SPARE4", m_F_RPT_SPARE4, 50);
    fx.Text("F_RPT_SPARE5", m_F_RPT_SPARE5, 50);
    fx.Text("F_RPT_SPARE6", m_F_RPT_SPARE6, 50);
    fx.Text("F_RPT_SPARE7", m_F_RPT_SPARE7, 50);
    fx.Double("F_RPT_SPARE8", m_F_RPT_SPARE8);
    fx.Double("F_RPT_SPARE9", m_F_RPT_SPARE9);
    fx.Double("F_RPT_SPARE10", m_F_RPT_SPARE10);
  }

  // Copies the record into the members; a record without a key first receives a new
  // identifier (stored back into it). 0 when no identifier could be had.
  int PutRecord(REPORT_RECORD& record) override;
  // The members as a record.
  REPORT_RECORD GetRecord() const;

  int32_t m_F_RPT_ID = 0;
  int32_t m_F_STU_ID = 0;
  int32_t m_F_FMT_ID = 0;
  int32_t m_F_RPT_FLAG = 0;
  QString m_F_RPT_UID;
  QString m_F_RPT_WRITE_DATE;
  QString m_F_RPT_AUDIT_DATE;
  QString m_F_RPT_WRITER;
  QString m_F_RPT_AUDITOR;
  QString m_F_RPT_IMG_LIST;
  QString m_F_MEMO_SPARE1;
  QString m_F_MEMO_SPARE2;
  QString m_F_MEMO_SPARE3;
  QString m_F_MEMO_SPARE4;
  QString m_F_MEMO_SPARE5;
  QString m_F_RPT_SPARE1;
  QString m_F_RPT_SPARE2;
  QString m_F_RPT_SPARE3;
  QString m_F_RPT_SPARE4;
  QString m_F_RPT_SPARE5;
  QString m_F_RPT_SPARE6;
  QString m_F_RPT_SPARE7;
  double m_F_RPT_SPARE8 = 0.0;
  double m_F_RPT_SPARE9 = 0.0;
  double m_F_RPT_SPARE10 = 0.0;
};

}  // namespace tolmar::db
