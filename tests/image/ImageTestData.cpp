#include "ImageTestData.h"

namespace tolmar::test {

ImageDataSet::ImageDataSet() : m_dataSet(std::make_unique<DicomDataSet>()) {}

ImageDataSet& ImageDataSet::Text(uint16_t group, uint16_t element, uint16_t vrCode,
                                 const std::string& text) {
  m_dataSet->SetElement(DicomElement::FromText(group, element, vrCode, text));
  return *this;
}

ImageDataSet& ImageDataSet::UShort(uint16_t group, uint16_t element, uint16_t value) {
  return UShorts(group, element, {value});
}

ImageDataSet& ImageDataSet::UShorts(uint16_t group, uint16_t element,
                                    const std::vector<uint16_t>& values) {
  std::vector<uint8_t> bytes;
  for (const auto v : values) {
    bytes.push_back(static_cast<uint8_t>(v));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
  }
  return Bytes(group, element, vr::US, bytes);
}

ImageDataSet& ImageDataSet::Bytes(uint16_t group, uint16_t element, uint16_t vrCode,
                                  const std::vector<uint8_t>& bytes) {
  m_dataSet->SetElement(DicomElement::FromBytes(group, element, vrCode, bytes));
  return *this;
}

ImageDataSet& ImageDataSet::Remove(uint16_t group, uint16_t element) {
  m_dataSet->RemoveElement(group, element);
  return *this;
}

ImageDataSet& ImageDataSet::Grey(int rows, int columns, int bitsAllocated, int bitsStored,
                                 int highBit, const std::string& photometric) {
  UShort(0x0028, 0x0010, static_cast<uint16_t>(rows));
  UShort(0x0028, 0x0011, static_cast<uint16_t>(columns));
  UShort(0x0028, 0x0100, static_cast<uint16_t>(bitsAllocated));
  UShort(0x0028, 0x0101, static_cast<uint16_t>(bitsStored));
  UShort(0x0028, 0x0102, static_cast<uint16_t>(highBit));
  return Text(0x0028, 0x0004, vr::CS, photometric);
}

ImageDataSet& ImageDataSet::Pixels8(const std::vector<uint8_t>& values) {
  return Bytes(0x7FE0, 0x0010, vr::OB, values);
}

ImageDataSet& ImageDataSet::Pixels16(const std::vector<uint16_t>& values) {
  std::vector<uint8_t> bytes;
  bytes.reserve(values.size() * 2);
  for (const auto v : values) {
    bytes.push_back(static_cast<uint8_t>(v));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
  }
  return Bytes(0x7FE0, 0x0010, vr::OW, bytes);
}

ImageDataSet& ImageDataSet::ModalityLut(const std::vector<uint16_t>& descriptor,
                                        const std::vector<uint16_t>& data) {
  auto item = std::make_unique<DicomDataSet>();
  auto words = [](const std::vector<uint16_t>& values) {
    std::vector<uint8_t> bytes;
    for (const auto v : values) {
      bytes.push_back(static_cast<uint8_t>(v));
      bytes.push_back(static_cast<uint8_t>(v >> 8));
    }
    return bytes;
  };
  item->AddElement(DicomElement::FromBytes(0x0028, 0x3002, vr::US, words(descriptor)));
  item->AddElement(DicomElement::FromBytes(0x0028, 0x3006, vr::OW, words(data)));
  m_dataSet->AddElement(DicomElement::Empty(0x0028, 0x3000, vr::SQ));
  m_dataSet->AddItem(std::move(item));
  return *this;
}

std::vector<uint16_t> Filled16(int rows, int columns, uint16_t value) {
  return std::vector<uint16_t>(static_cast<size_t>(rows) * columns, value);
}

uint64_t Checksum(const uint8_t* data, size_t size) {
  uint64_t hash = 1469598103934665603ull;
  for (size_t i = 0; i < size; ++i) {
    hash ^= data[i];
    hash *= 1099511628211ull;
  }
  return hash;
}

}  // namespace tolmar::test
