#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dicom/DicomDataSet.h"

namespace tolmar::test {

// Builds small image data sets in code, one attribute at a time.
class ImageDataSet {
 public:
  ImageDataSet();
  ImageDataSet& Text(uint16_t group, uint16_t element, uint16_t vrCode, const std::string& text);
  ImageDataSet& UShort(uint16_t group, uint16_t element, uint16_t value);
  ImageDataSet& UShorts(uint16_t group, uint16_t element, const std::vector<uint16_t>& values);
  ImageDataSet& Bytes(uint16_t group, uint16_t element, uint16_t vrCode, const std::vector<uint8_t>& bytes);
  ImageDataSet& Remove(uint16_t group, uint16_t element);
  // Pixel description of a grey image.
  ImageDataSet& Grey(int rows, int columns, int bitsAllocated, int bitsStored, int highBit,
                     const std::string& photometric = "MONOCHROME2");
  ImageDataSet& Pixels8(const std::vector<uint8_t>& values);
  ImageDataSet& Pixels16(const std::vector<uint16_t>& values);
  // A modality lookup table sequence with one item.
  ImageDataSet& ModalityLut(const std::vector<uint16_t>& descriptor, const std::vector<uint16_t>& data);

  DicomDataSet& Get() { return *m_dataSet; }
  std::unique_ptr<DicomDataSet> Take() { return std::move(m_dataSet); }

 private:
  std::unique_ptr<DicomDataSet> m_dataSet;
};

// A 16-bit grey image of `rows` x `columns` whose every pixel holds `value`.
std::vector<uint16_t> Filled16(int rows, int columns, uint16_t value);

// FNV-1a of a byte range: a short, stable checksum for expected bitmaps.
uint64_t Checksum(const uint8_t* data, size_t size);

}  // namespace tolmar::test
