#include "SopClassTable.h"

#include <cstring>

#include "CatalogueTable.h"

namespace tolmar {

std::vector<SopClassEntry> ReadSopClassTable(const std::string& tableName) {
  std::vector<SopClassEntry> entries;
  CatalogueTable table;
  if (!table.Open(tableName)) return entries;
  std::vector<uint8_t> record;
  for (table.First(); !table.AtEnd(); table.Move(1)) {
    if (!table.ReadRecord(record)) break;
    SopClassEntry entry;
    if (record.size() >= 4) {
      entry.code = static_cast<int32_t>(record[0] | (record[1] << 8) | (record[2] << 16) |
                                        (static_cast<uint32_t>(record[3]) << 24));
    }
    if (record.size() > kSopClassUidOffset) {
      const char* text = reinterpret_cast<const char*>(record.data() + kSopClassUidOffset);
      entry.uid.assign(text, strnlen(text, record.size() - kSopClassUidOffset));
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace tolmar
