#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tolmar::db {

// One T_REPORT row. Texts are byte strings; the fixed-width ones are cut to their
// field size minus the terminator when written out or set by column id.
struct REPORT_RECORD {
  static constexpr size_t kFixedSize = 528;
  static constexpr size_t kMemoCount = 6;
  static constexpr size_t kMaxCountedText = 65535;

  int32_t F_RPT_ID = 0;
  int32_t F_STU_ID = 0;
  int32_t F_FMT_ID = 0;
  int32_t F_RPT_FLAG = 0;
  std::string F_RPT_UID;         // 65 bytes in the fixed part
  std::string F_RPT_WRITE_DATE;  // 11
  std::string F_RPT_AUDIT_DATE;  // 11
  std::string F_RPT_WRITER;      // 21
  std::string F_RPT_AUDITOR;     // 21
  std::array<std::string, 7> F_RPT_SPARE;     // F_RPT_SPARE1..7, 51 bytes each
  std::array<double, 3> F_RPT_SPARE_NUM{};    // F_RPT_SPARE8..10
  std::array<std::string, 5> F_MEMO_SPARE;    // F_MEMO_SPARE1..5
  std::string F_RPT_IMG_LIST;

  bool HasColumn(int columnId) const;
  // Integers as decimal text, doubles with "%.2f"; empty for ids the record lacks.
  std::string GetColumn(int columnId) const;
  // Texts cut to their field, numbers parsed from decimal text; false for ids it lacks.
  bool SetColumn(int columnId, const std::string& value);

  // The 528-byte fixed part.
  std::vector<uint8_t> FixedPartBytes() const;
  bool ReadFixedPart(std::span<const uint8_t> bytes);
  // Fixed part followed by the six counted texts (memo 1..5, image list), each an
  // unsigned 32-bit length and the bytes. Texts longer than 65535 bytes are cut.
  std::vector<uint8_t> ToBytes() const;
  // False when the bytes are short, a count runs past the end or exceeds 65535.
  bool FromBytes(std::span<const uint8_t> bytes, size_t* consumed = nullptr);

  // The six texts in their byte-form order.
  std::array<const std::string*, kMemoCount> Memos() const;
  std::array<std::string*, kMemoCount> Memos();
};

// Column access across the pair of records the programs exchange: reads look in the
// study record first, writes go to every record that has the column.
class STUDY_RECORD;
std::string ReadRecordColumn(const STUDY_RECORD& study, const REPORT_RECORD& report,
                             int columnId);
bool WriteRecordColumn(STUDY_RECORD& study, REPORT_RECORD& report, int columnId,
                       const std::string& value);

}  // namespace tolmar::db
