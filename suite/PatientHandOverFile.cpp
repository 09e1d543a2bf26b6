#include "suite/PatientHandOverFile.h"

#include "suite/ByteReader.h"
#include "suite/ByteWriter.h"
#include "suite/RecordBlocks.h"

namespace tolmar::suite {

StartFileError PatientHandOverFile::Encode(std::vector<std::uint8_t>& out) const {
  if (studyBlock.size() != kStudyRecordSize) return StartFileError::BadBlockSize;
  ByteWriter writer;
  // The last byte stays zero so the station text is always terminated.
  writer.WriteFixedText(std::string_view(station).substr(0, kStationSize - 1), kStationSize);
  writer.WriteBytes(studyBlock);
  out = writer.TakeBytes();
  return StartFileError::None;
}

StartFileError PatientHandOverFile::Decode(std::span<const std::uint8_t> bytes,
                                           PatientHandOverFile& out) {
  ByteReader reader(bytes);
  PatientHandOverFile file;
  std::string stationField;
  if (!reader.ReadBytes(kStationSize, stationField) ||
      !reader.ReadBytes(kStudyRecordSize, file.studyBlock))
    return StartFileError::Truncated;
  file.station = stationField.substr(0, stationField.find('\0'));
  out = std::move(file);
  return StartFileError::None;
}

}  // namespace tolmar::suite
