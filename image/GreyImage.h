#pragma once

#include "DicomImage.h"

namespace tolmar {

// Grey-scale images ("MONOCHROME1", "MONOCHROME2"): a window lookup table maps
// stored values to the 256 grey levels of an 8-bit bitmap.
class GreyImage : public DicomImage {
 public:
  PixelType Type() const override { return PixelType::Grey; }

  virtual double ToStored(double value) const = 0;
  virtual double ToModality(double value) const = 0;

  // A negative width means that `centre` is already in stored units (and the
  // width is its magnitude); otherwise the centre is in modality units.
  bool SetWindow(double width, double centre);
  // Width and centre in modality units.
  void GetWindow(double& width, double& centre) const;
  int Centre() const { return m_centre; }
  int Width() const { return m_width; }
  int DefaultCentre() const { return m_defaultCentre; }
  int DefaultWidth() const { return m_defaultWidth; }

  void ResetWindow() override;
  bool AdjustCentre(int delta) override;
  bool AdjustWidth(int delta) override;

  bool HasCommand(int number) const override;
  bool RunCommand(int number, CommandArgument& argument) override;

  // The grey ramp (complemented when inverted) in the bitmap's palette.
  virtual void FillPalette(DibBitmap& bitmap) const;
  std::unique_ptr<DibBitmap> CreateBitmap(int width, int height) const override;
  bool RenderToDib(DibBitmap& bitmap, const ImageRect* rect) const override;

 protected:
  GreyImage(int category, const ImageSettings& settings) : DicomImage(category, settings) {}

  bool PhotometricCheck() const override;
  bool LoadAttributes(const DicomDataSet& dataSet) override;
  bool LoadPixels(const DicomDataSet& dataSet, bool headerOnly) override;
  void WriteWindowState(ByteWriter& writer) const override;
  bool ReadWindowState(ByteReader& reader) override;
  size_t WindowStateSize() const override { return 8; }
  // Class defaults of the window, in modality units.
  virtual double ClassDefaultCentre() const { return 128; }
  virtual double ClassDefaultWidth() const { return 256; }
  // Entries a render may index: every value a stored frame can hold.
  virtual int LookupTableCapacity() const = 0;
  void ClampWindow();

  int m_centre = 128;
  int m_width = 256;
  int m_defaultCentre = 128;
  int m_defaultWidth = 256;
  double m_modalityDefaultCentre = 128;
};

}  // namespace tolmar
