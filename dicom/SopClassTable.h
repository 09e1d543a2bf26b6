#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tolmar {

// One record of the "SOPCLASS" table: which image variant (category) a SOP class gets.
struct SopClassEntry {
  int32_t code = 0;
  std::string uid;
};

// Every record of the table in file order; an empty list when the table cannot
// be opened. `tableName` is normally the program folder followed by "SOPCLASS".
std::vector<SopClassEntry> ReadSopClassTable(const std::string& tableName);

// The record layout, for the tools that write the table.
constexpr int kSopClassCodeOffset = 0;
constexpr int kSopClassUidOffset = 8;

}  // namespace tolmar
