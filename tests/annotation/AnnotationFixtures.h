#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dicom/DicomDataSet.h"
#include "image/DicomImage.h"

namespace tolmar::test {

// A grey image data set: `rows` x `columns` pixels of `bits` (8 or 16) all
// holding `value`, with an optional pixel spacing ("0.5\\0.5").
std::unique_ptr<DicomDataSet> GreyDataSet(int rows, int columns, int bits, uint16_t value,
                                          const std::string& spacing = "",
                                          const std::string& sopInstanceUid = "1.2.3.4");
// The image built from such a data set (category 255).
std::unique_ptr<DicomImage> GreyImageOf(int rows, int columns, int bits = 8, uint16_t value = 0,
                                        const std::string& spacing = "",
                                        const std::string& sopInstanceUid = "1.2.3.4");

// Little-endian record bytes built one 32-bit number at a time.
class RecordBuilder {
 public:
  RecordBuilder& I32(int32_t value);
  RecordBuilder& Text(const std::string& text);
  RecordBuilder& Head(int32_t type, int32_t top, int32_t left, int32_t bottom, int32_t right);
  const std::vector<uint8_t>& Bytes() const { return m_bytes; }

 private:
  std::vector<uint8_t> m_bytes;
};

}  // namespace tolmar::test
