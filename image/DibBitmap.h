#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class QImage;
class QRect;

namespace tolmar {

// A device-independent bitmap as the rest of the suite exchanges it: a 40-byte
// BITMAPINFOHEADER, a 256-entry palette for 8-bit bitmaps, and rows stored
// bottom-up, each padded to a multiple of 4 bytes. BMP export, the film
// hand-over and the clipboard use the packed form; painting converts to QImage.
class DibBitmap {
 public:
  static constexpr int kHeaderSize = 40;
  static constexpr int kFileHeaderSize = 14;
  static constexpr int kPixelsPerMetre = 100;
  static constexpr int kMaxDimension = 32768;

  struct PaletteEntry {
    uint8_t blue = 0, green = 0, red = 0, reserved = 0;
    bool operator==(const PaletteEntry&) const = default;
  };

  // An 8-bit (grey ramp palette) or 24-bit bitmap with zeroed pixels; null for
  // other depths or dimensions outside 1..kMaxDimension.
  static std::unique_ptr<DibBitmap> Create(int width, int height, int bitsPerPixel);
  // Parses a packed bitmap (header, palette, pixels); null with a reason when the
  // header is not one we write or the bytes are short.
  static std::unique_ptr<DibBitmap> FromPackedDib(std::span<const uint8_t> bytes,
                                                  std::string* reason = nullptr);

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  int BitsPerPixel() const { return m_bitsPerPixel; }
  int Stride() const { return m_stride; }
  // Stored rows, bottom row first.
  uint8_t* Bits() { return m_bits.data(); }
  const uint8_t* Bits() const { return m_bits.data(); }
  size_t BitsSize() const { return m_bits.size(); }
  // Row `y` counted from the top of the picture.
  uint8_t* Row(int y) { return m_bits.data() + static_cast<size_t>(m_height - 1 - y) * m_stride; }
  const uint8_t* Row(int y) const {
    return m_bits.data() + static_cast<size_t>(m_height - 1 - y) * m_stride;
  }

  std::array<PaletteEntry, 256>& Palette() { return m_palette; }
  const std::array<PaletteEntry, 256>& Palette() const { return m_palette; }
  void SetGreyPalette(bool inverted);

  // Header, palette (8-bit only) and pixels.
  std::vector<uint8_t> ToPackedDib() const;
  // A BMP file: the 14-byte file header followed by the packed bitmap.
  std::vector<uint8_t> ToBmpFile() const;
  // A top-down QImage copy (Indexed8 with the palette, or RGB888).
  QImage ToQImage() const;
  // Only `part` (rows from the top), cut to the bitmap; null when nothing is left.
  QImage ToQImage(const QRect& part) const;

 private:
  DibBitmap(int width, int height, int bitsPerPixel);

  int m_width = 0;
  int m_height = 0;
  int m_bitsPerPixel = 8;
  int m_stride = 0;
  std::array<PaletteEntry, 256> m_palette{};
  std::vector<uint8_t> m_bits;
};

}  // namespace tolmar
