#pragma once

#include <QString>
#include <QVariantList>
#include <cstdint>
#include <vector>

#include "database/SqlDialect.h"

namespace tolmar::db {

// One bound column as a recordset class declares it.
struct ColumnDef {
  QString name;
  FieldType type = FieldType::Long;
  int width = 0;  // texts: the largest value held; 0 for the default of 255
};

inline constexpr int kTextBindLength = 255;
inline constexpr int kMemoBindLength = 65535;

// Moves values between a recordset's members and a row, in column order. The same
// exchange function of a class also describes its columns, so the binding order and
// the schema come from one place.
class CFieldExchange {
 public:
  enum class Operation { Describe, Load, Store, Reset };

  explicit CFieldExchange(Operation operation, const QVariantList* row = nullptr)
      : m_operation(operation), m_row(row) {}

  // For Store: which columns were NULL when the row was read (or all, for a new row).
  // An empty text of such a column is written back as NULL, any other text as it is.
  void SetNullColumns(const std::vector<bool>* nullColumns) { m_nullColumns = nullColumns; }

  void Long(const char* name, int32_t& value);
  void Int(const char* name, int& value);
  void Text(const char* name, QString& value, int width = 0);
  void Memo(const char* name, QString& value);
  void Double(const char* name, double& value);

  const std::vector<ColumnDef>& Columns() const { return m_columns; }
  const QVariantList& StoredValues() const { return m_values; }

 private:
  const QVariant* NextLoaded();
  QVariant StoredText(const QString& value, int maxLength);

  Operation m_operation;
  const QVariantList* m_row;
  const std::vector<bool>* m_nullColumns = nullptr;
  int m_index = 0;
  std::vector<ColumnDef> m_columns;
  QVariantList m_values;
};

}  // namespace tolmar::db
