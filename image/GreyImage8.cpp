#include "GreyImage8.h"

namespace tolmar {

bool GreyImage8::LoadAttributes(const DicomDataSet& ds) {
  if (!GreyImage::LoadAttributes(ds)) return false;
  if (m_settings.loadLut) {
    std::string reason;
    if (m_modalityLut.Load(ds, reason) == ModalityLookupTable::Result::Invalid) return Fail(reason);
  }
  return true;
}

bool GreyImage8::ConvertRawFrame(std::span<const uint8_t> raw, FrameBuffer& stored) {
  stored.assign(StoredFrameSize(), 0);
  const int shift = std::max(0, m_highBit + 1 - m_bitsStored);
  const bool lut = !m_modalityLut.Empty();
  for (int y = 0; y < m_rows; ++y) {
    const uint8_t* source = raw.data() + static_cast<size_t>(y) * m_columns;
    uint8_t* target = stored.data() + static_cast<size_t>(y) * m_paddedColumns;
    for (int x = 0; x < m_columns; ++x) {
      uint32_t value = static_cast<uint32_t>(source[x] >> shift);
      if (lut) value = m_modalityLut.Map(value);
      target[x] = static_cast<uint8_t>(value);
    }
  }
  return true;
}

}  // namespace tolmar
