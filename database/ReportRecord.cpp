#include "database/ReportRecord.h"

#include <cstdio>
#include <cstdlib>

#include "database/ByteCodec.h"
#include "database/StudyRecord.h"

namespace tolmar::db {
namespace {

constexpr size_t kUidSize = 65;
constexpr size_t kDateSize = 11;
constexpr size_t kUserSize = 21;
constexpr size_t kSpareSize = 51;
constexpr size_t kReservedSize = 2;

std::string FormatDouble(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

double ParseDouble(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

// Fixed-width text fields by column id, with their field size.
struct TextSlot {
  std::string* value;
  size_t size;
};

TextSlot FindText(REPORT_RECORD& r, int id) {
  switch (id) {
    case 93: return {&r.F_RPT_UID, kUidSize};
    case 94: return {&r.F_RPT_WRITE_DATE, kDateSize};
    case 95: return {&r.F_RPT_AUDIT_DATE, kDateSize};
    case 96: return {&r.F_RPT_WRITER, kUserSize};
    case 97: return {&r.F_RPT_AUDITOR, kUserSize};
    default: break;
  }
  if (id >= 98 && id <= 104) return {&r.F_RPT_SPARE[static_cast<size_t>(id - 98)], kSpareSize};
  // Memo texts have no fixed size; 0 means "any length".
  if (id >= 108 && id <= 112) return {&r.F_MEMO_SPARE[static_cast<size_t>(id - 108)], 0};
  if (id == 113) return {&r.F_RPT_IMG_LIST, 0};
  return {nullptr, 0};
}

int32_t* FindInteger(REPORT_RECORD& r, int id) {
  switch (id) {
    case 90: return &r.F_RPT_ID;
    case 20: return &r.F_STU_ID;
    case 91: return &r.F_FMT_ID;
    case 92: return &r.F_RPT_FLAG;
    default: return nullptr;
  }
}

}  // namespace

bool REPORT_RECORD::HasColumn(int columnId) const {
  auto& self = const_cast<REPORT_RECORD&>(*this);
  return FindInteger(self, columnId) != nullptr || FindText(self, columnId).value != nullptr ||
         (columnId >= 105 && columnId <= 107);
}

std::string REPORT_RECORD::GetColumn(int columnId) const {
  auto& self = const_cast<REPORT_RECORD&>(*this);
  if (const int32_t* number = FindInteger(self, columnId)) return std::to_string(*number);
  if (columnId >= 105 && columnId <= 107) {
    return FormatDouble(F_RPT_SPARE_NUM[static_cast<size_t>(columnId - 105)]);
  }
  if (const TextSlot slot = FindText(self, columnId); slot.value) return *slot.value;
  return {};
}

bool REPORT_RECORD::SetColumn(int columnId, const std::string& value) {
  if (int32_t* number = FindInteger(*this, columnId)) {
    *number = ParseRecordInteger(value);
    return true;
  }
  if (columnId >= 105 && columnId <= 107) {
    F_RPT_SPARE_NUM[static_cast<size_t>(columnId - 105)] = ParseDouble(value);
    return true;
  }
  const TextSlot slot = FindText(*this, columnId);
  if (!slot.value) return false;
  *slot.value = slot.size == 0 ? CutText(value, kMaxCountedText) : CutText(value, slot.size - 1);
  return true;
}

std::array<const std::string*, REPORT_RECORD::kMemoCount> REPORT_RECORD::Memos() const {
  return {&F_MEMO_SPARE[0], &F_MEMO_SPARE[1], &F_MEMO_SPARE[2],
          &F_MEMO_SPARE[3], &F_MEMO_SPARE[4], &F_RPT_IMG_LIST};
}

std::array<std::string*, REPORT_RECORD::kMemoCount> REPORT_RECORD::Memos() {
  return {&F_MEMO_SPARE[0], &F_MEMO_SPARE[1], &F_MEMO_SPARE[2],
          &F_MEMO_SPARE[3], &F_MEMO_SPARE[4], &F_RPT_IMG_LIST};
}

std::vector<uint8_t> REPORT_RECORD::FixedPartBytes() const {
  std::vector<uint8_t> out;
  out.reserve(kFixedSize);
  ByteWriter writer(out);
  writer.WriteInt32(F_RPT_ID);
  writer.WriteInt32(F_STU_ID);
  writer.WriteInt32(F_FMT_ID);
  writer.WriteInt32(F_RPT_FLAG);
  writer.WriteFixedText(F_RPT_UID, kUidSize);
  writer.WriteFixedText(F_RPT_WRITE_DATE, kDateSize);
  writer.WriteFixedText(F_RPT_AUDIT_DATE, kDateSize);
  writer.WriteFixedText(F_RPT_WRITER, kUserSize);
  writer.WriteFixedText(F_RPT_AUDITOR, kUserSize);
  for (const auto& spare : F_RPT_SPARE) writer.WriteFixedText(spare, kSpareSize);
  // Two bytes that align the floating fields on eight bytes.
  writer.WriteZeros(kReservedSize);
  for (double spare : F_RPT_SPARE_NUM) writer.WriteDouble(spare);
  return out;
}

bool REPORT_RECORD::ReadFixedPart(std::span<const uint8_t> bytes) {
  if (bytes.size() < kFixedSize) return false;
  REPORT_RECORD parsed;
  ByteReader reader(bytes.first(kFixedSize));
  bool ok = reader.ReadInt32(parsed.F_RPT_ID) && reader.ReadInt32(parsed.F_STU_ID) &&
            reader.ReadInt32(parsed.F_FMT_ID) && reader.ReadInt32(parsed.F_RPT_FLAG) &&
            reader.ReadFixedText(kUidSize, parsed.F_RPT_UID) &&
            reader.ReadFixedText(kDateSize, parsed.F_RPT_WRITE_DATE) &&
            reader.ReadFixedText(kDateSize, parsed.F_RPT_AUDIT_DATE) &&
            reader.ReadFixedText(kUserSize, parsed.F_RPT_WRITER) &&
            reader.ReadFixedText(kUserSize, parsed.F_RPT_AUDITOR);
  for (auto& spare : parsed.F_RPT_SPARE) ok = ok && reader.ReadFixedText(kSpareSize, spare);
  ok = ok && reader.Skip(kReservedSize);
  for (double& spare : parsed.F_RPT_SPARE_NUM) ok = ok && reader.ReadDouble(spare);
  if (!ok) return false;
  // The fixed part carries no texts of its own beyond its fields; keep ours.
  auto memos = Memos();
  auto parsedMemos = parsed.Memos();
  for (size_t i = 0; i < kMemoCount; ++i) *parsedMemos[i] = std::move(*memos[i]);
  *this = std::move(parsed);
  return true;
}

std::vector<uint8_t> REPORT_RECORD::ToBytes() const {
  std::vector<uint8_t> out = FixedPartBytes();
  ByteWriter writer(out);
  for (const std::string* memo : Memos()) {
    const std::string cut = CutText(*memo, kMaxCountedText);
    writer.WriteUInt32(static_cast<uint32_t>(cut.size()));
    writer.WriteBytes(cut);
  }
  return out;
}

bool REPORT_RECORD::FromBytes(std::span<const uint8_t> bytes, size_t* consumed) {
  REPORT_RECORD parsed;
  if (!parsed.ReadFixedPart(bytes)) return false;
  ByteReader reader(bytes.subspan(kFixedSize));
  for (std::string* memo : parsed.Memos()) {
    uint32_t length = 0;
    if (!reader.ReadUInt32(length) || length > kMaxCountedText) return false;
    if (!reader.ReadBytes(length, *memo)) return false;
  }
  if (consumed) *consumed = kFixedSize + reader.Position();
  *this = std::move(parsed);
  return true;
}

std::string ReadRecordColumn(const STUDY_RECORD& study, const REPORT_RECORD& report,
                             int columnId) {
  if (study.HasColumn(columnId)) return study.GetColumn(columnId);
  return report.GetColumn(columnId);
}

bool WriteRecordColumn(STUDY_RECORD& study, REPORT_RECORD& report, int columnId,
                       const std::string& value) {
  const bool inStudy = study.SetColumn(columnId, value);
  const bool inReport = report.SetColumn(columnId, value);
  return inStudy || inReport;
}

}  // namespace tolmar::db
