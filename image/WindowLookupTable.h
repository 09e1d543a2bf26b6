#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tolmar {

// Maps stored values to display grey levels for one window. Rebuilt at every
// render; a table never holds more than 65536 entries.
class WindowLookupTable {
 public:
  // `size` is the image's lookup table size; `capacity` (at least `size`) is the
  // number of entries the caller may index with: stored values above the window's
  // range (bits above bitsStored, remapped CT values) map to white instead of
  // reading past the table.
  void Build(int centre, int width, int size, int capacity);

  const uint8_t* Data() const { return m_table.data(); }
  int Capacity() const { return static_cast<int>(m_table.size()); }
  uint8_t operator[](int i) const { return m_table[static_cast<size_t>(i)]; }

 private:
  std::vector<uint8_t> m_table;
};

}  // namespace tolmar
