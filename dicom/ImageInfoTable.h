#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tolmar {

// One record of the "IMGINFO" table: one overlay text item of one image category.
struct ImageInfoItem {
  uint16_t group = 0;
  uint16_t element = 0;
  std::string vr;      // the two letters as stored
  std::string format;  // printf-style format text
  int32_t category = 0;
  int16_t horizontal = 0;  // 1 left, 2 right, 3 centre
  int16_t vertical = 0;    // 1 top, 2 bottom, 3 middle
  int32_t line = 0;        // 0 for the first line at that position
};

// The items of one category in file order. False (and no items) when the table
// cannot be opened, which tells the caller not to build overlay texts at all.
bool ReadImageInfoItems(const std::string& tableName, int32_t category,
                        std::vector<ImageInfoItem>& items);

// The record layout, for the tools that write the table.
constexpr int kImageInfoRecordMinimum = 44;

}  // namespace tolmar
