#pragma once

#include "GreyImage.h"
#include "ModalityLookupTable.h"

namespace tolmar {

// Grey images of 9 to 16 allocated bits: rescale to modality units, CT
// remapping to a fixed intercept of -1000, and the "Full16Bit" mode that keeps
// the whole 16-bit range.
class GreyImage16 : public GreyImage {
 public:
  int BitsCode() const override { return 16; }
  double ToStored(double value) const override { return (value - m_intercept) / m_slope; }
  double ToModality(double value) const override { return value * m_slope + m_intercept; }
  double PixelValueForDisplay(int stored) const override { return ToModality(stored); }
  int LookupTableSize() const override;
  double Intercept() const { return m_intercept; }
  double Slope() const { return m_slope; }
  bool KeepsFull16Bit() const { return m_settings.full16Bit || (m_displayFlags & 2) != 0; }

  bool HasCommand(int number) const override;
  bool RunCommand(int number, CommandArgument& argument) override;
  // Window from the mean and spread of the stored values inside `rect`; false
  // (nothing changed) for an empty rectangle or one outside the image.
  bool WindowFromRegion(const ImageRect& rect);

 protected:
  GreyImage16(int category, const ImageSettings& settings) : GreyImage(category, settings) {}

  int ClassBitsLimit() const override { return 16; }
  int LookupTableCapacity() const override { return 65536; }
  double ClassDefaultCentre() const override { return m_category == 1 ? 40 : 2047; }
  double ClassDefaultWidth() const override { return m_category == 1 ? 400 : 4096; }
  bool LoadAttributes(const DicomDataSet& dataSet) override;
  bool ConvertRawFrame(std::span<const uint8_t> raw, FrameBuffer& stored) override;
  void RemapFrame(FrameBuffer& stored) override;

  double m_intercept = 0;
  double m_slope = 1;
  double m_fileIntercept = 0;
  bool m_remapCt = false;
  ModalityLookupTable m_modalityLut;
};

}  // namespace tolmar
