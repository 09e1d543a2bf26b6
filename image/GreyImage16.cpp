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

namespace {

// The remap loops run over fixed blocks so that the compiler turns each block
// into a few vector instructions even at -O2; a CT series remaps every pixel of
// every slice while it loads.
constexpr size_t kRemapBlock = 32;

bool AnyNegative(const uint16_t* values) {
  int16_t lowest = 0;
  for (size_t j = 0; j < kRemapBlock; ++j)
    lowest = std::min(lowest, static_cast<int16_t>(values[j]));
  return lowest < 0;
}

// CT values moved by `offset`: below 0 becomes 0; with `cap`, values above 4095
// become 4095 until the first negative stored value of the frame and 0 from it on.
uint16_t RemapCtValue(uint16_t stored, int offset, bool cap, bool negativeSeen) {
  int v = std::max(static_cast<int16_t>(stored) + offset, 0);
  if (cap && v > 4095) v = negativeSeen ? 0 : 4095;
  return static_cast<uint16_t>(std::min(v, 65535));
}

void RemapCtBlock(uint16_t* values, int offset, bool cap, bool negativeSeen) {
  for (size_t j = 0; j < kRemapBlock; ++j)
    values[j] = RemapCtValue(values[j], offset, cap, negativeSeen);
}

uint16_t MaskedValue(uint16_t stored) {
  return static_cast<uint16_t>(std::max<int16_t>(static_cast<int16_t>(stored), 0) & 0x0FFF);
}

}  // namespace

void GreyImage16::RemapFrame(FrameBuffer& stored) {
  if (KeepsFull16Bit()) return;
  auto* values = reinterpret_cast<uint16_t*>(stored.data());
  const size_t count = stored.size() / 2;
  const size_t blocked = count / kRemapBlock * kRemapBlock;
  if (m_remapCt) {
    const int offset = static_cast<int>(m_fileIntercept) + 1000;
    const bool cap = m_bitsStored <= 12;
    bool negativeSeen = false;
    for (size_t i = 0; i < blocked; i += kRemapBlock) {
      if (!negativeSeen && AnyNegative(values + i)) {
        // The block holding the first negative value changes rule half way.
        for (size_t j = i; j < i + kRemapBlock; ++j) {
          negativeSeen = negativeSeen || static_cast<int16_t>(values[j]) < 0;
          values[j] = RemapCtValue(values[j], offset, cap, negativeSeen);
        }
        continue;
      }
      RemapCtBlock(values + i, offset, cap, negativeSeen);
    }
    for (size_t i = blocked; i < count; ++i) {
      negativeSeen = negativeSeen || static_cast<int16_t>(values[i]) < 0;
      values[i] = RemapCtValue(values[i], offset, cap, negativeSeen);
    }
    m_intercept = -1000;
    return;
  }
  for (size_t i = 0; i < blocked; i += kRemapBlock) {
    for (size_t j = i; j < i + kRemapBlock; ++j) values[j] = MaskedValue(values[j]);
  }
  for (size_t i = blocked; i < count; ++i) values[i] = MaskedValue(values[i]);
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
