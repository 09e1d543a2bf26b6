#include "GreyImage16.h"

#include <algorithm>
#include <cstring>

#include "dicom/DicomDataSet.h"

namespace tolmar {

bool GreyImage16::LoadAttributes(const DicomDataSet& ds) {
  if (!GreyImage::LoadAttributes(ds)) return false;
  const bool ct = m_modality == "CT";
  m_intercept = ct ? -1000.0 : 0.0;
  FirstDecimal(ds, 0x0028, 0x1052, m_intercept);
  m_slope = 1;
  if (!FirstDecimal(ds, 0x0028, 0x1053, m_slope) || m_slope == 0) m_slope = 1;
  m_fileIntercept = m_intercept;
  // CT values are moved so that -1000 HU is stored as 0; the decision is taken
  // once from the file's intercept so that every frame is remapped alike.
  m_remapCt = !KeepsFull16Bit() && ct && m_fileIntercept > -1000;
  if (m_settings.loadLut) {
    std::string reason;
    if (m_modalityLut.Load(ds, reason) == ModalityLookupTable::Result::Invalid) return Fail(reason);
  }
  return true;
}

int GreyImage16::LookupTableSize() const {
  return KeepsFull16Bit() ? 65536 : (1 << m_bitsStored);
}

bool GreyImage16::ConvertRawFrame(std::span<const uint8_t> raw, FrameBuffer& stored) {
  stored.assign(StoredFrameSize(), 0);
  const int shift = std::max(0, m_highBit + 1 - m_bitsStored);
  const bool lut = !m_modalityLut.Empty();
  for (int y = 0; y < m_rows; ++y) {
    const uint8_t* source = raw.data() + static_cast<size_t>(y) * m_columns * 2;
    auto* target = reinterpret_cast<uint16_t*>(stored.data()) + static_cast<size_t>(y) * m_paddedColumns;
    if (shift == 0 && !lut) {
      std::memcpy(target, source, static_cast<size_t>(m_columns) * 2);
      continue;
    }
    for (int x = 0; x < m_columns; ++x) {
      uint32_t value = static_cast<uint32_t>((source[2 * x] | (source[2 * x + 1] << 8)) >> shift);
      if (lut) value = m_modalityLut.Map(value);
      target[x] = static_cast<uint16_t>(value);
    }
  }
  return true;
}

void GreyImage16::RemapFrame(FrameBuffer& stored) {
  if (KeepsFull16Bit()) return;
  auto* values = reinterpret_cast<uint16_t*>(stored.data());
  const size_t count = stored.size() / 2;
  if (m_remapCt) {
    const int offset = static_cast<int>(m_fileIntercept) + 1000;
    const bool cap = m_bitsStored <= 12;
    bool negativeSeen = false;
    for (size_t i = 0; i < count; ++i) {
      const int raw = static_cast<int16_t>(values[i]);
      if (raw < 0) negativeSeen = true;
      int v = std::max(raw + offset, 0);
      if (cap && v > 4095) v = negativeSeen ? 0 : 4095;
      values[i] = static_cast<uint16_t>(std::min(v, 65535));
    }
    m_intercept = -1000;
    return;
  }
  for (size_t i = 0; i < count; ++i) {
    const auto v = static_cast<int16_t>(values[i]);
    values[i] = v < 0 ? 0 : static_cast<uint16_t>(v & 0x0FFF);
  }
}

bool GreyImage16::HasCommand(int number) const {
  return number == image_command::kWindowFromRegion || GreyImage::HasCommand(number);
}

bool GreyImage16::RunCommand(int number, CommandArgument& argument) {
  if (number == image_command::kWindowFromRegion) return WindowFromRegion(argument.rect);
  return GreyImage::RunCommand(number, argument);
}

bool GreyImage16::WindowFromRegion(const ImageRect& rect) {
  const auto* frame = Frame();
  const ImageRect part = rect.Normalised().Intersected({0, 0, m_paddedColumns, m_rows});
  if (!frame || part.IsEmpty()) return false;
  const auto* values = reinterpret_cast<const uint16_t*>(frame->data());
  uint64_t sum = 0;
  // The search starts from the largest stored value, so that regions brighter
  // than 4096 (full 16-bit images) still find their minimum.
  int minimum = 65535, maximum = 0;
  for (int y = part.top; y < part.bottom; ++y) {
    const uint16_t* row = values + static_cast<size_t>(y) * m_paddedColumns;
    for (int x = part.left; x < part.right; ++x) {
      sum += row[x];
      minimum = std::min<int>(minimum, row[x]);
      maximum = std::max<int>(maximum, row[x]);
    }
  }
  const auto count = static_cast<uint64_t>(part.Width()) * static_cast<uint64_t>(part.Height());
  const auto mean = static_cast<int>(sum / count);
  const int width = 2 * std::min(maximum - mean, mean - minimum);
  return SetWindow(width, ToModality(mean));
}

}  // namespace tolmar
