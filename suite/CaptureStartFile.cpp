#include "suite/CaptureStartFile.h"

#include <algorithm>

#include "suite/ByteReader.h"
#include "suite/ByteWriter.h"
#include "suite/RecordBlocks.h"

namespace tolmar::suite {

StartFileError CaptureStartFile::Encode(std::vector<std::uint8_t>& out) const {
  if (studyBlock.size() != kStudyRecordSize) return StartFileError::BadBlockSize;
  ByteWriter writer;
  writer.WriteI32(static_cast<std::int32_t>(kind));
  writer.WriteI32(commandNumber);
  if (!writer.WriteCountedText(functionName, kMaxCountedTextLength) ||
      !writer.WriteCountedText(deviceText, kMaxCountedTextLength))
    return StartFileError::TextTooLong;
  writer.WriteBytes(studyBlock);
  out = writer.TakeBytes();
  return StartFileError::None;
}

StartFileError CaptureStartFile::Decode(std::span<const std::uint8_t> bytes,
                                        CaptureStartFile& out) {
  ByteReader reader(bytes);
  CaptureStartFile file;
  std::int32_t kind = 0;
  if (!reader.ReadI32(kind) || !reader.ReadI32(file.commandNumber))
    return StartFileError::Truncated;
  file.kind = static_cast<CaptureKind>(kind);
  for (std::string* text : {&file.functionName, &file.deviceText}) {
    std::uint32_t length = 0;
    if (!reader.ReadU32(length)) return StartFileError::Truncated;
    if (length > kMaxCountedTextLength) return StartFileError::TextTooLong;
    if (!reader.ReadBytes(length, *text)) return StartFileError::Truncated;
  }
  if (!reader.ReadBytes(kStudyRecordSize, file.studyBlock)) return StartFileError::Truncated;
  out = std::move(file);
  return StartFileError::None;
}

void ClearStudyUid(std::vector<std::uint8_t>& studyBlock) {
  if (studyBlock.size() < kStudyUidOffset + kStudyUidSize) return;
  std::fill_n(studyBlock.begin() + static_cast<std::ptrdiff_t>(kStudyUidOffset), kStudyUidSize,
              std::uint8_t{0});
}

}  // namespace tolmar::suite
