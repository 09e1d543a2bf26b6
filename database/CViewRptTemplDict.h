#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"

namespace tolmar::db {

// V_RPT_TEMPL_DICT: 22 bound columns, members named after their columns.
class CViewRptTemplDict : public CQVRecordset {
 public:
  explicit CViewRptTemplDict(DbConnection* database = nullptr) : CQVRecordset(database) { m_nFields = 22; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[V_RPT_TEMPL_DICT]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Long("F_MODALITY_ID", m_F_MODALITY_ID);
    fx.Long("F_TEMPL_ID", m_F_TEMPL_ID);
    fx.Text("F_TEMPL_NAME", m_F_TEMPL_NAME);
    fx.Long("F_USER_ID", m_F_USER_ID);
    fx.Long("F_PLACE_ID", m_F_PLACE_ID);
    fx.Long("F_RPT_ID", m_F_RPT_ID);
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
    fx.Long("F_DICT_ORDER", m_F_DICT_ORDER);
  }

  int32_t m_F_MODALITY_ID = 0;
  int32_t m_F_TEMPL_ID = 0;
  QString m_F_TEMPL_NAME;
  int32_t m_F_USER_ID = 0;
  int32_t m_F_PLACE_ID = 0;
  int32_t m_F_RPT_ID = 0;
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
  int32_t m_F_DICT_ORDER = 0;
};

}  // namespace tolmar::db
