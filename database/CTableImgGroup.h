#pragma once

#include <cstdint>

#include "database/CQVRecordset.h"

namespace tolmar::db {

// T_IMG_GROUP: 3 bound columns, members named after their columns.
class CTableImgGroup : public CQVRecordset {
 public:
  explicit CTableImgGroup(DbConnection* database = nullptr) : CQVRecordset(database) { m_nFields = 3; }

  QString GetDefaultSQL() const override {
    return m_strDefaultSQL.isEmpty() ? QStringLiteral("[T_IMG_GROUP]") : m_strDefaultSQL;
  }
  void DoFieldExchange(CFieldExchange& fx) override {
    fx.Long("F_TAG_ID", m_F_TAG_ID);
    fx.Int("F_GROUP_ORDER", m_F_GROUP_ORDER);
    fx.Int("F_SORT_ORDER", m_F_SORT_ORDER);
  }

  int32_t m_F_TAG_ID = 0;
  int m_F_GROUP_ORDER = 0;
  int m_F_SORT_ORDER = 0;

 public:
  QStringList KeyColumns() override { return {QStringLiteral("F_TAG_ID"), QStringLiteral("F_GROUP_ORDER"), QStringLiteral("F_SORT_ORDER")}; }
};

}  // namespace tolmar::db
