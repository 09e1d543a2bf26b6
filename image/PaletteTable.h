#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tolmar {

class DicomDataSet;

// The red, green and blue palette tables of a "PALETTE COLOR" data set, expanded
// to 256 entries of 8 bits so that any 8-bit index can be looked up; indices
// outside the described range take the nearest end of the table.
class PaletteTable {
 public:
  bool Load(const DicomDataSet& dataSet, std::string& reason);
  uint8_t Red(uint8_t index) const { return m_red[index]; }
  uint8_t Green(uint8_t index) const { return m_green[index]; }
  uint8_t Blue(uint8_t index) const { return m_blue[index]; }

 private:
  std::array<uint8_t, 256> m_red{}, m_green{}, m_blue{};
};

}  // namespace tolmar
