#include "suite/ReportStartFile.h"

#include "suite/ByteReader.h"
#include "suite/ByteWriter.h"
#include "suite/RecordBlocks.h"

namespace tolmar::suite {

StartFileError ReportStartFile::Encode(std::vector<std::uint8_t>& out) const {
  if (studyBlock.size() != kStudyRecordSize || reportBlock.size() != kReportRecordFixedSize)
    return StartFileError::BadBlockSize;
  ByteWriter writer;
  writer.WriteFixedText(mode, kModeSize);
  writer.WriteBytes(studyBlock);
  writer.WriteBytes(reportBlock);
  for (const std::string& text : texts) {
    if (!writer.WriteCountedText(text, kMaxCountedTextLength)) return StartFileError::TextTooLong;
  }
  out = writer.TakeBytes();
  return StartFileError::None;
}

StartFileError ReportStartFile::Decode(std::span<const std::uint8_t> bytes, ReportStartFile& out) {
  ByteReader reader(bytes);
  ReportStartFile file;
  std::string modeField;
  if (!reader.ReadBytes(kModeSize, modeField)) return StartFileError::Truncated;
  // The field is zero-padded; the text ends at its first zero and is then
  // right-trimmed of blanks.
  file.mode = modeField.substr(0, modeField.find('\0'));
  while (!file.mode.empty() && (file.mode.back() == ' ' || file.mode.back() == '\t'))
    file.mode.pop_back();
  if (file.mode != kModifyReport) return StartFileError::BadMode;
  if (!reader.ReadBytes(kStudyRecordSize, file.studyBlock) ||
      !reader.ReadBytes(kReportRecordFixedSize, file.reportBlock))
    return StartFileError::Truncated;
  for (std::string& text : file.texts) {
    std::uint32_t length = 0;
    if (!reader.ReadU32(length)) return StartFileError::Truncated;
    if (length > kMaxCountedTextLength) return StartFileError::TextTooLong;
    if (!reader.ReadBytes(length, text)) return StartFileError::Truncated;
  }
  out = std::move(file);
  return StartFileError::None;
}

}  // namespace tolmar::suite
