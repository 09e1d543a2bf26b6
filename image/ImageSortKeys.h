#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tolmar {

class DicomDataSet;

// One attribute the viewer can sort or group images by.
struct SortKey {
  int32_t id = 0;  // stored as F_TAG_ID
  uint16_t group = 0;
  uint16_t element = 0;
  uint16_t vr = 0;
  // 0: not a sort key; |n| is the 1-based position among the sort keys, > 0 ascending.
  int16_t sortPosition = 0;
  // 0: not a group key; n is the 1-based position among the group keys.
  int16_t groupPosition = 0;
  std::string name;
};

// The program-wide key list. Every start begins with the three starting records
// (patient, series number, image number); the dialogs renumber the positions.
class SortKeyList {
 public:
  SortKeyList();

  const std::vector<SortKey>& Keys() const { return m_keys; }
  std::vector<SortKey>& Keys() { return m_keys; }
  // The key whose sort position has absolute value `position`, or null.
  const SortKey* SortKeyAt(int position) const;
  const SortKey* GroupKeyAt(int position) const;
  // Renumbers the sort positions: row i of `rows` (key id, ascending) gets i + 1
  // or -(i + 1); every other key becomes 0. Unknown ids are ignored.
  void SetSortOrder(const std::vector<std::pair<int32_t, bool>>& rows);
  // Renumbers the group positions 1, 2, ... in row order, 0 for the others.
  void SetGroupOrder(const std::vector<int32_t>& ids);

 private:
  std::vector<SortKey> m_keys;
};

// The list the viewer uses, created on first use.
SortKeyList& ProgramSortKeys();

// One image's value for one key, tagged with the key's value representation.
struct SortValue {
  bool present = false;
  uint16_t vr = 0;
  std::vector<uint8_t> bytes;
};
// One value per key, in key-list order.
using SortRecord = std::vector<SortValue>;

SortRecord ReadSortRecord(const DicomDataSet& dataSet, const SortKeyList& keys);

// -1, 0 or 1 by the value representation; -2 when either value is missing.
int CompareSortValues(const SortValue& a, const SortValue& b);
// Sort comparison of two images: 1 when the first record is empty or the records
// differ in size; otherwise the first non-zero key comparison in sort-position
// order (negated for descending keys unless it is -2), else 0.
int CompareSortRecords(const SortRecord& a, const SortRecord& b, const SortKeyList& keys);
// Images belong to one group when every group key's values compare equal.
bool SameImageGroup(const SortRecord& a, const SortRecord& b, const SortKeyList& keys);

// Reorders `items` ascending by `compare` (an int comparison such as
// CompareSortRecords on the items' first images): the first remaining item is
// carried through the rest, swapped for every item it compares greater than, and
// what is left in hand is appended. Equal items need not keep their order.
template <class T, class Compare>
void SortBySortKeys(std::vector<T>& items, Compare compare) {
  std::vector<T> ordered;
  ordered.reserve(items.size());
  size_t first = 0;
  while (first < items.size()) {
    T carried = std::move(items[first]);
    ++first;
    for (size_t i = first; i < items.size(); ++i) {
      if (compare(carried, items[i]) > 0) std::swap(carried, items[i]);
    }
    ordered.push_back(std::move(carried));
  }
  items = std::move(ordered);
}

}  // namespace tolmar
