#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "suite/StartFileError.h"

namespace tolmar::suite {

// "QVRepPat.kt": the station text in 33 zero-padded bytes, then the study
// block. The report writer exports the patient through it and the archive
// manager hands a capture start file to a running capture program under the
// same name.
inline constexpr const char* kPatientHandOverFileName = "QVRepPat.kt";

struct PatientHandOverFile {
  static constexpr std::size_t kStationSize = 33;

  std::string station;
  std::vector<std::uint8_t> studyBlock;  // kStudyRecordSize bytes

  StartFileError Encode(std::vector<std::uint8_t>& out) const;
  static StartFileError Decode(std::span<const std::uint8_t> bytes, PatientHandOverFile& out);
};

}  // namespace tolmar::suite
