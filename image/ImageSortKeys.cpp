#include "ImageSortKeys.h"

#include <cstdlib>
#include <cstring>

#include "dicom/DicomDataSet.h"
#include "dicom/DicomText.h"

namespace tolmar {

SortKeyList::SortKeyList() {
  // The first record is shown as "Patient Name" but reads the patient ID element,
  // which is what tells patients apart in a mixed study list.
  m_keys.push_back({2, 0x0010, 0x0020, vr::LO, 0, 1, "Patient Name"});
  m_keys.push_back({7, 0x0020, 0x0011, vr::IS, 1, 2, "Series No"});
  m_keys.push_back({20, 0x0020, 0x0013, vr::IS, 2, 0, "Image No"});
}

const SortKey* SortKeyList::SortKeyAt(int position) const {
  for (const auto& key : m_keys) {
    if (std::abs(key.sortPosition) == position) return &key;
  }
  return nullptr;
}

const SortKey* SortKeyList::GroupKeyAt(int position) const {
  for (const auto& key : m_keys) {
    if (key.groupPosition == position) return &key;
  }
  return nullptr;
}

void SortKeyList::SetSortOrder(const std::vector<std::pair<int32_t, bool>>& rows) {
  for (auto& key : m_keys) key.sortPosition = 0;
  int16_t row = 0;
  for (const auto& [id, ascending] : rows) {
    ++row;
    for (auto& key : m_keys) {
      if (key.id == id) key.sortPosition = ascending ? row : static_cast<int16_t>(-row);
    }
  }
}

void SortKeyList::SetGroupOrder(const std::vector<int32_t>& ids) {
  for (auto& key : m_keys) key.groupPosition = 0;
  int16_t row = 0;
  for (const auto id : ids) {
    ++row;
    for (auto& key : m_keys) {
      if (key.id == id) key.groupPosition = row;
    }
  }
}

SortKeyList& ProgramSortKeys() {
  static SortKeyList keys;
  return keys;
}

SortRecord ReadSortRecord(const DicomDataSet& dataSet, const SortKeyList& keys) {
  SortRecord record;
  record.reserve(keys.Keys().size());
  for (const auto& key : keys.Keys()) {
    SortValue value;
    value.vr = key.vr;
    if (const DicomElement* e = dataSet.FindElement(key.group, key.element)) {
      value.present = true;
      const auto bytes = e->Bytes();
      value.bytes.assign(bytes.begin(), bytes.end());
    }
    record.push_back(std::move(value));
  }
  return record;
}

namespace {

std::string Text(const SortValue& v) {
  std::string text(v.bytes.begin(), v.bytes.end());
  if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

template <class T>
int Sign(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

uint32_t U32(const std::vector<uint8_t>& b) {
  return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
         (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

}  // namespace

int CompareSortValues(const SortValue& a, const SortValue& b) {
  if (!a.present || !b.present) return -2;
  switch (a.vr) {
    case vr::DA: {
      std::string x = Text(a), y = Text(b);
      FormatDicomDate(x);
      FormatDicomDate(y);
      return Sign(x.compare(y), 0);
    }
    case vr::TM: {
      std::string x = Text(a), y = Text(b);
      FormatDicomTime(x);
      FormatDicomTime(y);
      return Sign(x.compare(y), 0);
    }
    case vr::DS:
      return Sign(std::strtod(Text(a).c_str(), nullptr), std::strtod(Text(b).c_str(), nullptr));
    case vr::IS:
      return Sign(std::strtol(Text(a).c_str(), nullptr, 10),
                  std::strtol(Text(b).c_str(), nullptr, 10));
    case vr::SL:
    case vr::UL:
      // A binary value too short for its VR counts as missing.
      if (a.bytes.size() < 4 || b.bytes.size() < 4) return -2;
      if (a.vr == vr::SL) return Sign(static_cast<int32_t>(U32(a.bytes)), static_cast<int32_t>(U32(b.bytes)));
      return Sign(U32(a.bytes), U32(b.bytes));
    case vr::US:
      if (a.bytes.size() < 2 || b.bytes.size() < 2) return -2;
      return Sign(a.bytes[0] | (a.bytes[1] << 8), b.bytes[0] | (b.bytes[1] << 8));
    default:
      return Sign(Text(a).compare(Text(b)), 0);
  }
}

int CompareSortRecords(const SortRecord& a, const SortRecord& b, const SortKeyList& keys) {
  if (a.empty() || a.size() != b.size()) return 1;
  const auto& list = keys.Keys();
  for (int p = 1;; ++p) {
    const SortKey* key = keys.SortKeyAt(p);
    if (!key) return 0;
    const auto index = static_cast<size_t>(key - list.data());
    if (index >= a.size()) return 0;
    int result = CompareSortValues(a[index], b[index]);
    if (key->sortPosition < 0 && result != -2) result = -result;
    if (result != 0) return result;
  }
}

bool SameImageGroup(const SortRecord& a, const SortRecord& b, const SortKeyList& keys) {
  if (a.empty() || a.size() != b.size()) return false;
  const auto& list = keys.Keys();
  for (int p = 1;; ++p) {
    const SortKey* key = keys.GroupKeyAt(p);
    if (!key) return true;
    const auto index = static_cast<size_t>(key - list.data());
    if (index >= a.size() || CompareSortValues(a[index], b[index]) != 0) return false;
  }
}

}  // namespace tolmar
