#pragma once

#include <cstddef>

namespace tolmar::suite {

// Sizes of the shared record blocks that start files carry. The blocks are
// passed through as bytes; the database layer owns their field layout.
inline constexpr std::size_t kStudyRecordSize = 1412;
inline constexpr std::size_t kReportRecordFixedSize = 528;
// Study instance UID inside a study block (column 21).
inline constexpr std::size_t kStudyUidOffset = 300;
inline constexpr std::size_t kStudyUidSize = 64;
// Counted texts of start files stay below 64 KiB.
inline constexpr std::size_t kMaxCountedTextLength = 65535;

}  // namespace tolmar::suite
