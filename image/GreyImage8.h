#pragma once

#include "GreyImage.h"
#include "ModalityLookupTable.h"

namespace tolmar {

// Grey images of up to 8 allocated bits: the stored value is the palette index
// through the window lookup table.
class GreyImage8 : public GreyImage {
 public:
  int BitsCode() const override { return 8; }
  double ToStored(double value) const override { return value; }
  double ToModality(double value) const override { return value; }

 protected:
  GreyImage8(int category, const ImageSettings& settings) : GreyImage(category, settings) {}

  int ClassBitsLimit() const override { return 8; }
  int LookupTableCapacity() const override { return 256; }
  bool LoadAttributes(const DicomDataSet& dataSet) override;
  bool ConvertRawFrame(std::span<const uint8_t> raw, FrameBuffer& stored) override;

  ModalityLookupTable m_modalityLut;
};

}  // namespace tolmar
