#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tolmar::db {

enum class RecordFieldKind { Integer, Text, Double };

// Where a column id lives inside a fixed block.
struct RecordField {
  int columnId = 0;
  size_t offset = 0;
  RecordFieldKind kind = RecordFieldKind::Integer;
  size_t maxLength = 0;  // texts: longest value kept; the field holds one more byte
};

// One study row as the archive manager holds it: a 1412-byte little-endian block
// addressed by column id. The block is the byte form; fields are read and written
// through the layout table, never by overlaying a struct.
class STUDY_RECORD {
 public:
  static constexpr size_t kSize = 1412;

  STUDY_RECORD() { m_bytes.fill(0); }

  // The field of a column id, or nothing when the study record has no such column.
  static std::optional<RecordField> FindField(int columnId);
  static std::span<const RecordField> Fields();

  bool HasColumn(int columnId) const { return FindField(columnId).has_value(); }
  // Integers as decimal text (column 134 reads 0 unless it lies in 0..100); empty for
  // ids the record does not have.
  std::string GetColumn(int columnId) const;
  // Texts are cut to the field's length; integers take the decimal text (0 when it is
  // no number). False for ids the record does not have.
  bool SetColumn(int columnId, const std::string& value);

  int32_t GetInteger(int columnId) const;
  bool SetInteger(int columnId, int32_t value);

  std::vector<uint8_t> ToBytes() const { return {m_bytes.begin(), m_bytes.end()}; }
  // False (and the record left alone) unless exactly kSize bytes are given.
  bool FromBytes(std::span<const uint8_t> bytes);

 private:
  std::array<uint8_t, kSize> m_bytes;
};

// Decimal text to a 32-bit integer the way the record setters read it: leading blanks
// and sign allowed, stops at the first non-digit, 0 when nothing was read, clamped.
int32_t ParseRecordInteger(const std::string& text);

}  // namespace tolmar::db
