#include "ColourImage.h"

#include <cstring>

#include "dicom/DicomDataSet.h"

namespace tolmar {

bool ColourImage::PhotometricCheck() const {
  // YBR images reach this class through the class choice and are refused here.
  return m_photometric == "RGB" || m_photometric == "PALETTE COLOR";
}

bool ColourImage::LoadAttributes(const DicomDataSet& ds) {
  if (!DicomImage::LoadAttributes(ds)) return false;
  m_bytesPerPixel = 3;
  m_palette = m_photometric == "PALETTE COLOR";
  m_planar = ds.GetUShort(0x0028, 0x0006);
  if (const DicomElement* e = ds.FindElement(0x0028, 0x0006); e && e->length != 2) {
    return Fail("planar configuration is not a 16-bit number");
  }
  if (m_planar != 0 && m_planar != 1) return Fail("planar configuration is neither 0 nor 1");
  if (m_palette) {
    std::string reason;
    if (!m_paletteTable.Load(ds, reason)) return Fail(reason);
  }
  return true;
}

size_t ColourImage::FrameSize() const {
  const size_t pixels = static_cast<size_t>(m_columns) * static_cast<size_t>(m_rows);
  return m_palette ? pixels : 3 * pixels;
}

bool ColourImage::ConvertRawFrame(std::span<const uint8_t> raw, FrameBuffer& stored) {
  stored.assign(StoredFrameSize(), 0);
  const size_t plane = static_cast<size_t>(m_columns) * static_cast<size_t>(m_rows);
  for (int y = 0; y < m_rows; ++y) {
    uint8_t* target = stored.data() + static_cast<size_t>(y) * m_paddedColumns * 3;
    const size_t rowStart = static_cast<size_t>(y) * m_columns;
    if (m_palette) {
      const uint8_t* source = raw.data() + rowStart;
      for (int x = 0; x < m_columns; ++x) {
        target[3 * x] = m_paletteTable.Blue(source[x]);
        target[3 * x + 1] = m_paletteTable.Green(source[x]);
        target[3 * x + 2] = m_paletteTable.Red(source[x]);
      }
    } else if (m_planar == 0) {
      const uint8_t* source = raw.data() + 3 * rowStart;
      for (int x = 0; x < m_columns; ++x) {
        target[3 * x] = source[3 * x + 2];
        target[3 * x + 1] = source[3 * x + 1];
        target[3 * x + 2] = source[3 * x];
      }
    } else {
      const uint8_t* red = raw.data() + rowStart;
      const uint8_t* green = red + plane;
      const uint8_t* blue = green + plane;
      for (int x = 0; x < m_columns; ++x) {
        target[3 * x] = blue[x];
        target[3 * x + 1] = green[x];
        target[3 * x + 2] = red[x];
      }
    }
  }
  return true;
}

namespace {

// Brightness and contrast scale every byte of the rendered bitmap by
// k = 100 - delta / 10 percent; the changes pile up until the bitmap is
// rendered again from the frame.
template <class Map>
bool AdjustBytes(DicomImage& image, int delta, Map map) {
  const int k = 100 - delta / 10;
  if (k == 100) return false;
  DibBitmap* bitmap = image.MutableRenderedBitmap();
  if (!bitmap) return false;
  uint8_t* bits = bitmap->Bits();
  for (size_t i = 0; i < bitmap->BitsSize(); ++i) {
    const int v = map(bits[i], k);
    bits[i] = static_cast<uint8_t>(v >= 255 ? 255 : (v <= 0 ? 0 : v));
  }
  return true;
}

}  // namespace

bool ColourImage::AdjustCentre(int delta) {
  return AdjustBytes(*this, delta, [](int v, int k) { return v * k / 100; });
}

bool ColourImage::AdjustWidth(int delta) {
  return AdjustBytes(*this, delta, [](int v, int k) { return (v - 128) * k / 100 + 128; });
}

void ColourImage::ToggleInvert() {
  m_invert = !m_invert;
  // The bitmap as it stands (with its adjustments) is complemented in place.
  if (m_rendered) {
    DibBitmap* bitmap = MutableRenderedBitmap();
    uint8_t* bits = bitmap->Bits();
    for (size_t i = 0; i < bitmap->BitsSize(); ++i) bits[i] = static_cast<uint8_t>(255 - bits[i]);
  }
}

std::unique_ptr<DibBitmap> ColourImage::CreateBitmap(int width, int height) const {
  return DibBitmap::Create(width == -1 ? m_paddedColumns : width, height == -1 ? m_rows : height, 24);
}

bool ColourImage::RenderToDib(DibBitmap& bitmap, const ImageRect* /*rect*/) const {
  const auto* frame = Frame();
  if (!frame || bitmap.BitsPerPixel() != 24 || bitmap.Width() != m_paddedColumns ||
      bitmap.Height() != m_rows) {
    return false;
  }
  const size_t rowBytes = static_cast<size_t>(m_paddedColumns) * 3;
  for (int y = 0; y < m_rows; ++y) {
    const uint8_t* source = frame->data() + static_cast<size_t>(y) * rowBytes;
    uint8_t* target = bitmap.Row(y);
    if (!m_invert) {
      std::memcpy(target, source, rowBytes);
    } else {
      for (size_t i = 0; i < rowBytes; ++i) target[i] = static_cast<uint8_t>(255 - source[i]);
    }
  }
  return true;
}

}  // namespace tolmar
