#include "suite/ViewerStartFile.h"

#include "suite/ByteReader.h"
#include "suite/ByteWriter.h"
#include "suite/ItemText.h"
#include "suite/RecordBlocks.h"

namespace tolmar::suite {

StartFileError ViewerStartFile::Encode(std::vector<std::uint8_t>& out) const {
  if (studyBlock.size() != kStudyRecordSize) return StartFileError::BadBlockSize;
  if (entryList.size() > 0xFFFFFFFFu) return StartFileError::TextTooLong;
  ByteWriter writer;
  writer.WriteBytes(std::string_view("QV"));
  writer.WriteU32(static_cast<std::uint32_t>(entryList.size()));
  writer.WriteBytes(entryList);
  writer.WriteBytes(studyBlock);
  out = writer.TakeBytes();
  return StartFileError::None;
}

StartFileError ViewerStartFile::Decode(std::span<const std::uint8_t> bytes, ViewerStartFile& out) {
  ByteReader reader(bytes);
  std::string magic;
  if (!reader.ReadBytes(2, magic)) return StartFileError::Truncated;
  if (magic != "QV") return StartFileError::BadMagic;
  std::uint32_t length = 0;
  if (!reader.ReadU32(length) || length > reader.Remaining()) return StartFileError::Truncated;
  ViewerStartFile file;
  if (!reader.ReadBytes(length, file.entryList) ||
      !reader.ReadBytes(kStudyRecordSize, file.studyBlock))
    return StartFileError::Truncated;
  if (SplitItems(file.entryList).empty()) return StartFileError::NoEntries;
  out = std::move(file);
  return StartFileError::None;
}

}  // namespace tolmar::suite
