#include "database/CFieldExchange.h"

#include <limits>

namespace tolmar::db {

const QVariant* CFieldExchange::NextLoaded() {
  const int index = m_index++;
  if (!m_row || index >= m_row->size()) return nullptr;
  return &(*m_row)[index];
}

QVariant CFieldExchange::StoredText(const QString& value, int maxLength) {
  const auto index = static_cast<size_t>(m_index++);
  if (value.isEmpty()) {
    const bool wasNull = m_nullColumns && index < m_nullColumns->size() && (*m_nullColumns)[index];
    // NULL keeps meaning "never set" (a study on no disc has no disc number); an
    // empty text that was read as empty stays an empty text.
    return wasNull ? QVariant(QMetaType::fromType<QString>()) : QVariant(QStringLiteral(""));
  }
  return value.left(maxLength);
}

void CFieldExchange::Long(const char* name, int32_t& value) {
  switch (m_operation) {
    case Operation::Describe: m_columns.push_back({QString::fromLatin1(name), FieldType::Long, 0}); break;
    case Operation::Load: {
      const QVariant* v = NextLoaded();
      value = v ? static_cast<int32_t>(v->toLongLong()) : 0;
      break;
    }
    case Operation::Store:
      ++m_index;
      m_values.append(QVariant::fromValue<int>(value));
      break;
    case Operation::Reset: value = 0; break;
  }
}

void CFieldExchange::Int(const char* name, int& value) {
  switch (m_operation) {
    case Operation::Describe: m_columns.push_back({QString::fromLatin1(name), FieldType::Int, 0}); break;
    case Operation::Load: {
      const QVariant* v = NextLoaded();
      value = v ? v->toInt() : 0;
      break;
    }
    // The column is a short integer; keep the value inside its range.
    case Operation::Store:
      ++m_index;
      m_values.append(QVariant::fromValue<int>(
          std::clamp(value, static_cast<int>(std::numeric_limits<int16_t>::min()),
                     static_cast<int>(std::numeric_limits<int16_t>::max()))));
      break;
    case Operation::Reset: value = 0; break;
  }
}

void CFieldExchange::Text(const char* name, QString& value, int width) {
  switch (m_operation) {
    case Operation::Describe:
      m_columns.push_back({QString::fromLatin1(name), FieldType::Text, width > 0 ? width : kTextBindLength});
      break;
    case Operation::Load: {
      const QVariant* v = NextLoaded();
      value = v ? v->toString() : QString();
      break;
    }
    // Bound texts hold at most 255 characters; longer values are cut, not refused.
    case Operation::Store: m_values.append(StoredText(value, kTextBindLength)); break;
    case Operation::Reset: value.clear(); break;
  }
}

void CFieldExchange::Memo(const char* name, QString& value) {
  switch (m_operation) {
    case Operation::Describe: m_columns.push_back({QString::fromLatin1(name), FieldType::Memo, 0}); break;
    case Operation::Load: {
      const QVariant* v = NextLoaded();
      value = v ? v->toString() : QString();
      break;
    }
    case Operation::Store: m_values.append(StoredText(value, kMemoBindLength)); break;
    case Operation::Reset: value.clear(); break;
  }
}

void CFieldExchange::Double(const char* name, double& value) {
  switch (m_operation) {
    case Operation::Describe: m_columns.push_back({QString::fromLatin1(name), FieldType::Double, 0}); break;
    case Operation::Load: {
      const QVariant* v = NextLoaded();
      value = v ? v->toDouble() : 0.0;
      break;
    }
    case Operation::Store:
      ++m_index;
      m_values.append(value);
      break;
    case Operation::Reset: value = 0.0; break;
  }
}

}  // namespace tolmar::db
