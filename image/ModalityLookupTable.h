#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tolmar {

class DicomDataSet;

// The modality lookup table of a data set (first item of (0028,3000)), expanded
// so that every possible stored value indexes it directly.
class ModalityLookupTable {
 public:
  enum class Result { Absent, Loaded, Invalid };

  // Absent when the data set carries no table; Invalid (with a reason) when the
  // descriptor is short or disagrees with the data.
  Result Load(const DicomDataSet& dataSet, std::string& reason);

  bool Empty() const { return m_table.empty(); }
  uint16_t Map(uint32_t value) const {
    return m_table[value < m_table.size() ? value : m_table.size() - 1];
  }
  size_t Size() const { return m_table.size(); }

 private:
  std::vector<uint16_t> m_table;
};

}  // namespace tolmar
