#include "ImageInfoTable.h"

#include <cstring>

#include "CatalogueTable.h"

namespace tolmar {

namespace {

uint32_t U32(const std::vector<uint8_t>& r, size_t at) {
  return static_cast<uint32_t>(r[at]) | (static_cast<uint32_t>(r[at + 1]) << 8) |
         (static_cast<uint32_t>(r[at + 2]) << 16) | (static_cast<uint32_t>(r[at + 3]) << 24);
}
uint16_t U16(const std::vector<uint8_t>& r, size_t at) {
  return static_cast<uint16_t>(r[at] | (r[at + 1] << 8));
}

}  // namespace

bool ReadImageInfoItems(const std::string& tableName, int32_t category,
                        std::vector<ImageInfoItem>& items) {
  items.clear();
  CatalogueTable table;
  if (!table.Open(tableName)) return false;
  // Records too short for the fields read are skipped rather than read past.
  if (table.RecordSize() < kImageInfoRecordMinimum) return true;
  std::vector<uint8_t> record;
  for (table.First(); !table.AtEnd(); table.Move(1)) {
    if (!table.ReadRecord(record)) break;
    if (static_cast<int32_t>(U32(record, 32)) != category) continue;
    ImageInfoItem item;
    item.group = U16(record, 4);
    item.element = U16(record, 6);
    const char* vr = reinterpret_cast<const char*>(record.data() + 8);
    item.vr.assign(vr, strnlen(vr, 2));
    const char* format = reinterpret_cast<const char*>(record.data() + 13);
    item.format.assign(format, strnlen(format, 19));
    item.category = category;
    item.horizontal = static_cast<int16_t>(U16(record, 36));
    item.vertical = static_cast<int16_t>(U16(record, 38));
    item.line = static_cast<int32_t>(U32(record, 40));
    items.push_back(std::move(item));
  }
  return true;
}

}  // namespace tolmar
