#include "database/StudyRecord.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "database/ByteCodec.h"

namespace tolmar::db {
namespace {

constexpr RecordField Int(int id, size_t offset) {
  return {id, offset, RecordFieldKind::Integer, 0};
}
constexpr RecordField Text(int id, size_t offset, size_t maxLength) {
  return {id, offset, RecordFieldKind::Text, maxLength};
}

constexpr std::array kStudyFields = {
    Int(1, 0),           Int(2, 4),           Text(3, 8, 64),      Text(4, 73, 32),
    Text(5, 106, 32),    Text(6, 139, 1),     Text(7, 141, 50),    Text(8, 192, 50),
    Text(9, 243, 50),    Text(10, 1104, 50),  Text(11, 1155, 50),  Text(12, 1206, 20),
    Text(13, 1227, 20),  Text(14, 1248, 20),  Text(15, 1269, 20),  Text(16, 1290, 20),
    Int(20, 296),        Text(21, 300, 64),   Text(22, 365, 20),   Text(23, 386, 4),
    Text(24, 391, 10),   Text(25, 402, 20),   Text(26, 423, 100),  Text(27, 524, 20),
    Text(28, 545, 40),   Text(29, 586, 20),   Text(30, 607, 20),   Text(31, 628, 20),
    Text(32, 649, 20),   Text(33, 670, 20),   Text(34, 691, 20),   Text(35, 712, 20),
    Text(36, 733, 20),   Text(37, 754, 20),   Text(38, 775, 50),   Text(39, 826, 50),
    Text(40, 877, 50),   Text(41, 928, 50),   Text(42, 979, 50),   Text(43, 1060, 32),
    Text(44, 1093, 10),  Text(56, 1030, 10),  Text(93, 1344, 64),  Int(131, 1044),
    Int(132, 1048),      Int(133, 1052),      Int(134, 1056),      Text(150, 1311, 32),
};

// The table above must keep every field inside the block.
constexpr bool FieldsFit() {
  for (const auto& field : kStudyFields) {
    const size_t size = field.kind == RecordFieldKind::Text ? field.maxLength + 1 : 4;
    if (field.offset + size > STUDY_RECORD::kSize) return false;
  }
  return true;
}
static_assert(FieldsFit());

}  // namespace

int32_t ParseRecordInteger(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min<long long>(value * 10 + (text[i] - '0'), 1LL << 32);
  }
  if (negative) value = -value;
  return static_cast<int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

std::span<const RecordField> STUDY_RECORD::Fields() { return kStudyFields; }

std::optional<RecordField> STUDY_RECORD::FindField(int columnId) {
  for (const auto& field : kStudyFields) {
    if (field.columnId == columnId) return field;
  }
  return std::nullopt;
}

int32_t STUDY_RECORD::GetInteger(int columnId) const {
  const auto field = FindField(columnId);
  if (!field || field->kind != RecordFieldKind::Integer) return 0;
  const int32_t value = GetInt32At(m_bytes, field->offset);
  if (columnId == 134 && (value < 0 || value > 100)) return 0;
  return value;
}

bool STUDY_RECORD::SetInteger(int columnId, int32_t value) {
  const auto field = FindField(columnId);
  if (!field || field->kind != RecordFieldKind::Integer) return false;
  PutInt32At(m_bytes, field->offset, value);
  return true;
}

std::string STUDY_RECORD::GetColumn(int columnId) const {
  const auto field = FindField(columnId);
  if (!field) return {};
  if (field->kind == RecordFieldKind::Integer) return std::to_string(GetInteger(columnId));
  const char* start = reinterpret_cast<const char*>(m_bytes.data() + field->offset);
  return std::string(start, strnlen(start, field->maxLength + 1));
}

bool STUDY_RECORD::SetColumn(int columnId, const std::string& value) {
  const auto field = FindField(columnId);
  if (!field) return false;
  if (field->kind == RecordFieldKind::Integer) {
    return SetInteger(columnId, ParseRecordInteger(value));
  }
  const std::string cut = CutText(value, field->maxLength);
  uint8_t* target = m_bytes.data() + field->offset;
  std::memset(target, 0, field->maxLength + 1);
  std::memcpy(target, cut.data(), cut.size());
  return true;
}

bool STUDY_RECORD::FromBytes(std::span<const uint8_t> bytes) {
  if (bytes.size() != kSize) return false;
  std::copy(bytes.begin(), bytes.end(), m_bytes.begin());
  return true;
}

}  // namespace tolmar::db
