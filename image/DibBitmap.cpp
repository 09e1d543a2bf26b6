#include "DibBitmap.h"

#include <QImage>
#include <QRect>
#include <cstring>

#include "ByteWriter.h"

namespace tolmar {

DibBitmap::DibBitmap(int width, int height, int bitsPerPixel)
    : m_width(width),
      m_height(height),
      m_bitsPerPixel(bitsPerPixel),
      m_stride(((width * bitsPerPixel / 8) + 3) & ~3),
      m_bits(static_cast<size_t>(m_stride) * static_cast<size_t>(height), 0) {
  SetGreyPalette(false);
}

std::unique_ptr<DibBitmap> DibBitmap::Create(int width, int height, int bitsPerPixel) {
  if (bitsPerPixel != 8 && bitsPerPixel != 24) return nullptr;
  if (width < 1 || height < 1 || width > kMaxDimension || height > kMaxDimension) return nullptr;
  return std::unique_ptr<DibBitmap>(new DibBitmap(width, height, bitsPerPixel));
}

void DibBitmap::SetGreyPalette(bool inverted) {
  for (int i = 0; i < 256; ++i) {
    const auto v = static_cast<uint8_t>(inverted ? 255 - i : i);
    m_palette[i] = {v, v, v, 0};
  }
}

std::vector<uint8_t> DibBitmap::ToPackedDib() const {
  ByteWriter w;
  w.U32(kHeaderSize);
  w.I32(m_width);
  w.I32(m_height);  // positive: bottom-up rows
  w.U16(1);         // planes
  w.U16(static_cast<uint16_t>(m_bitsPerPixel));
  w.U32(0);  // no compression
  w.U32(static_cast<uint32_t>(m_bits.size()));
  w.I32(kPixelsPerMetre);
  w.I32(kPixelsPerMetre);
  const uint32_t colours = m_bitsPerPixel == 8 ? 256 : 0;
  w.U32(colours);
  w.U32(0);  // all colours important
  if (m_bitsPerPixel == 8) {
    for (const auto& e : m_palette) {
      w.U8(e.blue);
      w.U8(e.green);
      w.U8(e.red);
      w.U8(0);
    }
  }
  w.Bytes(m_bits);
  return w.Take();
}

std::vector<uint8_t> DibBitmap::ToBmpFile() const {
  const std::vector<uint8_t> packed = ToPackedDib();
  const uint32_t pixelOffset =
      kFileHeaderSize + kHeaderSize + (m_bitsPerPixel == 8 ? 256u * 4u : 0u);
  ByteWriter w;
  w.U8('B');
  w.U8('M');
  w.U32(static_cast<uint32_t>(kFileHeaderSize + packed.size()));
  w.U32(0);
  w.U32(pixelOffset);
  w.Bytes(packed);
  return w.Take();
}

std::unique_ptr<DibBitmap> DibBitmap::FromPackedDib(std::span<const uint8_t> bytes,
                                                    std::string* reason) {
  auto fail = [&](const char* why) -> std::unique_ptr<DibBitmap> {
    if (reason) *reason = why;
    return nullptr;
  };
  ByteReader r(bytes);
  uint32_t headerSize = 0, compression = 0, imageSize = 0, coloursUsed = 0, important = 0;
  int32_t width = 0, height = 0, xppm = 0, yppm = 0;
  uint16_t planes = 0, bits = 0;
  r.U32(headerSize);
  r.I32(width);
  r.I32(height);
  r.U16(planes);
  r.U16(bits);
  r.U32(compression);
  r.U32(imageSize);
  r.I32(xppm);
  r.I32(yppm);
  r.U32(coloursUsed);
  r.U32(important);
  if (r.Failed()) return fail("bitmap header is short");
  if (headerSize != kHeaderSize) return fail("bitmap header size is not 40");
  if (planes != 1 || compression != 0) return fail("bitmap is compressed or has several planes");
  // A negative height would be a top-down bitmap, which the suite never writes.
  auto dib = Create(width, height, bits);
  if (!dib) return fail("bitmap dimensions or depth not supported");
  if (bits == 8) {
    const uint32_t colours = coloursUsed == 0 ? 256 : coloursUsed;
    if (colours > 256) return fail("bitmap palette has more than 256 colours");
    for (uint32_t i = 0; i < colours; ++i) {
      PaletteEntry e;
      r.U8(e.blue);
      r.U8(e.green);
      r.U8(e.red);
      r.U8(e.reserved);
      e.reserved = 0;
      dib->m_palette[i] = e;
    }
    if (r.Failed()) return fail("bitmap palette is short");
  }
  const auto pixels = r.Take(dib->m_bits.size());
  if (r.Failed()) return fail("bitmap pixels are short");
  std::memcpy(dib->m_bits.data(), pixels.data(), pixels.size());
  return dib;
}

QImage DibBitmap::ToQImage() const { return ToQImage(QRect(0, 0, m_width, m_height)); }

QImage DibBitmap::ToQImage(const QRect& part) const {
  const QRect area = part & QRect(0, 0, m_width, m_height);
  if (area.isEmpty()) return {};
  const int left = area.left();
  const int width = area.width();
  if (m_bitsPerPixel == 8) {
    QImage image(width, area.height(), QImage::Format_Indexed8);
    QList<QRgb> table(256);
    for (int i = 0; i < 256; ++i) table[i] = qRgb(m_palette[i].red, m_palette[i].green, m_palette[i].blue);
    image.setColorTable(table);
    for (int y = 0; y < area.height(); ++y)
      std::memcpy(image.scanLine(y), Row(area.top() + y) + left, static_cast<size_t>(width));
    return image;
  }
  QImage image(width, area.height(), QImage::Format_RGB888);
  for (int y = 0; y < area.height(); ++y) {
    const uint8_t* source = Row(area.top() + y) + 3 * left;
    uint8_t* target = image.scanLine(y);
    for (int x = 0; x < width; ++x) {
      target[3 * x] = source[3 * x + 2];
      target[3 * x + 1] = source[3 * x + 1];
      target[3 * x + 2] = source[3 * x];
    }
  }
  return image;
}

}  // namespace tolmar
