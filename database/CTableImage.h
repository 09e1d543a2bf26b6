#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"

namespace tolmar::db {

// T_IMAGE: 8 bound columns, members named after their columns.
class CTableImage : public CQVRecordset {
 public:
  explicit CTableImage(DbConnection* database = nullptr) : CQVRecordset(database) { m_nFields = 8; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[T_IMAGE]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Long("F_IMG_ID", m_F_IMG_ID);
    fx.Long("F_SER_ID", m_F_SER_ID);
    fx.Text("F_SOP_UID", m_F_SOP_UID, 64);
    fx.Text("F_SOP_CLASS_UID", m_F_SOP_CLASS_UID, 64);
    fx.Long("F_IMG_NO", m_F_IMG_NO);
    fx.Long("F_FRAMES", m_F_FRAMES);
    fx.Memo("F_FILE_PATH", m_F_FILE_PATH);
    fx.Long("F_FILE_SIZE", m_F_FILE_SIZE);
  }

  int32_t m_F_IMG_ID = 0;
  int32_t m_F_SER_ID = 0;
  QString m_F_SOP_UID;
  QString m_F_SOP_CLASS_UID;
  int32_t m_F_IMG_NO = 0;
  int32_t m_F_FRAMES = 0;
  QString m_F_FILE_PATH;
  int32_t m_F_FILE_SIZE = 0;
};

}  // namespace tolmar::db
