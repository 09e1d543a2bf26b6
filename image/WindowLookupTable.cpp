#include "WindowLookupTable.h"

#include <algorithm>
#include <cstring>

namespace tolmar {

void WindowLookupTable::Build(int centre, int width, int size, int capacity) {
  capacity = std::max(capacity, size);
  m_table.resize(static_cast<size_t>(capacity));
  if (width < 1) width = 1;
  // The range is taken with the width made odd so that the centre sits in the
  // middle of it; the slope uses the width itself, so that centre 128 / width 256
  // on 8-bit data is the identity (0 -> 0, 255 -> 255).
  const int oddWidth = (width % 2 == 0) ? width + 1 : width;
  const int lo = std::clamp(centre - oddWidth / 2, 0, size);
  const int hi = std::clamp(centre + oddWidth / 2, 0, size);
  uint8_t* table = m_table.data();
  std::memset(table, 0, static_cast<size_t>(lo));
  for (int i = lo; i < hi; ++i) {
    const int value = ((i - centre) * 256) / width + 128;
    table[i] = static_cast<uint8_t>(std::clamp(value, 0, 255));
  }
  if (hi < capacity) std::memset(table + hi, 255, static_cast<size_t>(capacity - hi));
}

}  // namespace tolmar
