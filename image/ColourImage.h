#pragma once

#include "DicomImage.h"
#include "PaletteTable.h"

namespace tolmar {

// Colour images ("RGB" and "PALETTE COLOR", 8 bits): frames held as B, G, R
// bytes and rendered into a 24-bit bitmap of the image's own size. There is no
// window; brightness and contrast belong to image processing.
class ColourImage : public DicomImage {
 public:
  int BitsCode() const override { return 8; }
  PixelType Type() const override { return PixelType::Colour; }
  int PlanarConfiguration() const { return m_planar; }
  bool IsPaletteColour() const { return m_palette; }

  size_t FrameSize() const override;
  bool AdjustCentre(int delta) override;
  bool AdjustWidth(int delta) override;
  void ToggleInvert() override;
  std::unique_ptr<DibBitmap> CreateBitmap(int width, int height) const override;
  bool RenderToDib(DibBitmap& bitmap, const ImageRect* rect) const override;

 protected:
  ColourImage(int category, const ImageSettings& settings) : DicomImage(category, settings) {}

  bool PhotometricCheck() const override;
  int ClassBitsLimit() const override { return 8; }
  bool LoadAttributes(const DicomDataSet& dataSet) override;
  bool ConvertRawFrame(std::span<const uint8_t> raw, FrameBuffer& stored) override;

  int m_planar = 0;
  bool m_palette = false;
  PaletteTable m_paletteTable;
};

}  // namespace tolmar
