#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"

namespace tolmar::db {

// T_STUDY: 35 bound columns, members named after their columns.
class CTableStudy : public CQVRecordset {
 public:
  explicit CTableStudy(DbConnection* database = nullptr) : CQVRecordset(database) { m_nFields = 35; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[T_STUDY]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Long("F_STU_ID", m_F_STU_ID);
    fx.Long("F_PAT_ID", m_F_PAT_ID);
    fx.Long("F_DEV_ID", m_F_DEV_ID);
    fx.Text("F_STU_UID", m_F_STU_UID, 64);
    fx.Text("F_STU_NO", m_F_STU_NO, 32);
    fx.Text("F_REQ_NO", m_F_REQ_NO, 20);
    fx.Text("F_PAT_AGE", m_F_PAT_AGE, 4);
    fx.Text("F_STU_DATE", m_F_STU_DATE, 19);
    fx.Text("F_STU_PLACE", m_F_STU_PLACE, 20);
    fx.Text("F_STU_DESCRIB", m_F_STU_DESCRIB, 100);
    fx.Text("F_MODALITY", m_F_MODALITY, 10);
    fx.Text("F_CD_NO", m_F_CD_NO, 32);
    fx.Text("F_CD_DATE", m_F_CD_DATE, 10);
    fx.Text("F_RPT_UID", m_F_RPT_UID, 64);
    fx.Long("F_SER_COUNT", m_F_SER_COUNT);
    fx.Long("F_IMG_COUNT", m_F_IMG_COUNT);
    fx.Long("F_STU_FLAG", m_F_STU_FLAG);
    fx.Long("F_STU_PERCENT", m_F_STU_PERCENT);
    fx.Text("F_REF_DOCTOR", m_F_REF_DOCTOR, 32);
    fx.Text("F_STU_SPARE1", m_F_STU_SPARE1, 20);
    fx.Text("F_STU_SPARE2", m_F_STU_SPARE2, 40);
    fx.Text("F_STU_SPARE3", m_F_STU_SPARE3, 20);
    fx.Text("F_STU_SPARE4", m_F_STU_SPARE4, 20);
    fx.Text("F_STU_SPARE5", m_F_STU_SPARE5, 20);
    fx.Text("F_STU_SPARE6", m_F_STU_SPARE6, 20);
    fx.Text("F_STU_SPARE7", m_F_STU_SPARE7, 20);
    fx.Text("F_STU_SPARE8", m_F_STU_SPARE8, 20);
    fx.Text("F_STU_SPARE9", m_F_STU_SPARE9, 20);
    fx.Text("F_STU_SPARE10", m_F_STU_SPARE10, 20);
    fx.Text("F_STU_SPARE11", m_F_STU_SPARE11, 20);
    fx.Text("F_STU_SPARE12", m_F_STU_SPARE12, 50);
    fx.Text("F_STU_SPARE13", m_F_STU_SPARE13, 50);
    fx.Text("F_STU_SPARE14", m_F_STU_SPARE14, 50);
    fx.Text("F_STU_SPARE15", m_F_STU_SPARE15, 50);
    fx.Text("F_STU_SPARE16", m_F_STU_SPARE16, 50);
  }

  int32_t m_F_STU_ID = 0;
  int32_t m_F_PAT_ID = 0;
  int32_t m_F_DEV_ID = 0;
  QString m_F_STU_UID;
  QString m_F_STU_NO;
  QString m_F_REQ_NO;
  QString m_F_PAT_AGE;
  QString m_F_STU_DATE;
  QString m_F_STU_PLACE;
  QString m_F_STU_DESCRIB;
  QString m_F_MODALITY;
  QString m_F_CD_NO;
  QString m_F_CD_DATE;
  QString m_F_RPT_UID;
  int32_t m_F_SER_COUNT = 0;
  int32_t m_F_IMG_COUNT = 0;
  int32_t m_F_STU_FLAG = 0;
  int32_t m_F_STU_PERCENT = 0;
  QString m_F_REF_DOCTOR;
  QString m_F_STU_SPARE1;
  QString m_F_STU_SPARE2;
  QString m_F_STU_SPARE3;
  QString m_F_STU_SPARE4;
  QString m_F_STU_SPARE5;
  QString m_F_STU_SPARE6;
  QString m_F_STU_SPARE7;
  QString m_F_STU_SPARE8;
  QString m_F_STU_SPARE9;
  QString m_F_STU_SPARE10;
  QString m_F_STU_SPARE11;
  QString m_F_STU_SPARE12;
  QString m_F_STU_SPARE13;
  QString m_F_STU_SPARE14;
  QString m_F_STU_SPARE15;
  QString m_F_STU_SPARE16;
};

}  // namespace tolmar::db
