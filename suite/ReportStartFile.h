#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "suite/StartFileError.h"

namespace tolmar::suite {

// Start file from the archive manager to the report writer: the mode text in
// 16 bytes, the study block, the fixed part of the report record and the
// report's six texts as counted texts (F_MEMO_SPARE1 to 5, F_RPT_IMG_LIST).
struct ReportStartFile {
  static constexpr std::size_t kModeSize = 16;
  static constexpr std::size_t kTextCount = 6;
  static constexpr const char* kModifyReport = "MODIFY REPORT";

  std::string mode = kModifyReport;
  std::vector<std::uint8_t> studyBlock;   // kStudyRecordSize bytes
  std::vector<std::uint8_t> reportBlock;  // kReportRecordFixedSize bytes
  std::array<std::string, kTextCount> texts;

  StartFileError Encode(std::vector<std::uint8_t>& out) const;
  // Refuses a mode other than "MODIFY REPORT" (right-trimmed), a file
  // shorter than its parts and any text of 64 KiB or more.
  static StartFileError Decode(std::span<const std::uint8_t> bytes, ReportStartFile& out);
};

}  // namespace tolmar::suite
