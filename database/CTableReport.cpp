#include "database/CTableReport.h"

namespace tolmar::db {
namespace {

// Record texts are byte strings in the suite's UTF-8 form; members are Qt strings.
QString FromBytes(const std::string& text) { return QString::fromUtf8(text); }
std::string ToBytes(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace

int CTableReport::PutRecord(REPORT_RECORD& record) {
  if (record.F_RPT_ID == 0) {
    record.F_RPT_ID = GetNewID();
    if (record.F_RPT_ID == 0) return 0;
  }
  m_F_RPT_ID = record.F_RPT_ID;
  m_F_STU_ID = record.F_STU_ID;
  m_F_FMT_ID = record.F_FMT_ID;
  m_F_RPT_FLAG = record.F_RPT_FLAG;
  m_F_RPT_UID = FromBytes(record.F_RPT_UID);
  m_F_RPT_WRITE_DATE = FromBytes(record.F_RPT_WRITE_DATE);
  m_F_RPT_AUDIT_DATE = FromBytes(record.F_RPT_AUDIT_DATE);
  m_F_RPT_WRITER = FromBytes(record.F_RPT_WRITER);
  m_F_RPT_AUDITOR = FromBytes(record.F_RPT_AUDITOR);
  m_F_RPT_IMG_LIST = FromBytes(record.F_RPT_IMG_LIST);
  QString* memos[] = {&m_F_MEMO_SPARE1, &m_F_MEMO_SPARE2, &m_F_MEMO_SPARE3, &m_F_MEMO_SPARE4,
                      &m_F_MEMO_SPARE5};
  for (size_t i = 0; i < 5; ++i) *memos[i] = FromBytes(record.F_MEMO_SPARE[i]);
  QString* spares[] = {&m_F_RPT_SPARE1, &m_F_RPT_SPARE2, &m_F_RPT_SPARE3, &m_F_RPT_SPARE4,
                       &m_F_RPT_SPARE5, &m_F_RPT_SPARE6, &m_F_RPT_SPARE7};
  for (size_t i = 0; i < 7; ++i) *spares[i] = FromBytes(record.F_RPT_SPARE[i]);
  m_F_RPT_SPARE8 = record.F_RPT_SPARE_NUM[0];
  m_F_RPT_SPARE9 = record.F_RPT_SPARE_NUM[1];
  m_F_RPT_SPARE10 = record.F_RPT_SPARE_NUM[2];
  return 1;
}

REPORT_RECORD CTableReport::GetRecord() const {
  REPORT_RECORD record;
  record.F_RPT_ID = m_F_RPT_ID;
  record.F_STU_ID = m_F_STU_ID;
  record.F_FMT_ID = m_F_FMT_ID;
  record.F_RPT_FLAG = m_F_RPT_FLAG;
  record.SetColumn(93, ToBytes(m_F_RPT_UID));
  record.SetColumn(94, ToBytes(m_F_RPT_WRITE_DATE));
  record.SetColumn(95, ToBytes(m_F_RPT_AUDIT_DATE));
  record.SetColumn(96, ToBytes(m_F_RPT_WRITER));
  record.SetColumn(97, ToBytes(m_F_RPT_AUDITOR));
  const QString* spares[] = {&m_F_RPT_SPARE1, &m_F_RPT_SPARE2, &m_F_RPT_SPARE3, &m_F_RPT_SPARE4,
                             &m_F_RPT_SPARE5, &m_F_RPT_SPARE6, &m_F_RPT_SPARE7};
  for (int i = 0; i < 7; ++i) record.SetColumn(98 + i, ToBytes(*spares[i]));
  record.F_RPT_SPARE_NUM = {m_F_RPT_SPARE8, m_F_RPT_SPARE9, m_F_RPT_SPARE10};
  const QString* memos[] = {&m_F_MEMO_SPARE1, &m_F_MEMO_SPARE2, &m_F_MEMO_SPARE3, &m_F_MEMO_SPARE4,
                            &m_F_MEMO_SPARE5};
  for (int i = 0; i < 5; ++i) record.SetColumn(108 + i, ToBytes(*memos[i]));
  record.SetColumn(113, ToBytes(m_F_RPT_IMG_LIST));
  return record;
}

}  // namespace tolmar::db
