#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "suite/StartFileError.h"

namespace tolmar::suite {

enum class CaptureKind : std::int32_t { Scanning = 1, Capture = 2 };

// Start file for the scanning and capture programs.
struct CaptureStartFile {
  CaptureKind kind = CaptureKind::Capture;
  std::int32_t commandNumber = 0;
  std::string functionName;
  std::string deviceText;
  std::vector<std::uint8_t> studyBlock;  // kStudyRecordSize bytes

  StartFileError Encode(std::vector<std::uint8_t>& out) const;
  static StartFileError Decode(std::span<const std::uint8_t> bytes, CaptureStartFile& out);
};

// For a patient entry the study block carries no study: its study instance
// UID text is emptied.
void ClearStudyUid(std::vector<std::uint8_t>& studyBlock);

}  // namespace tolmar::suite
