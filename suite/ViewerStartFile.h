#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "suite/StartFileError.h"

namespace tolmar::suite {

// Start file from the archive manager to the viewer: "QV", the length of the
// entry list, the entry list (GB18030 bytes, no terminator) and the study block.
struct ViewerStartFile {
  std::string entryList;
  std::vector<std::uint8_t> studyBlock;  // kStudyRecordSize bytes

  // Fails with BadBlockSize when studyBlock is not a whole study record.
  StartFileError Encode(std::vector<std::uint8_t>& out) const;
  // A list without items is refused: the viewer has nothing to open.
  static StartFileError Decode(std::span<const std::uint8_t> bytes, ViewerStartFile& out);
};

}  // namespace tolmar::suite
