#include "AnnotationFixtures.h"

#include "image/ImageFactory.h"

namespace tolmar::test {

namespace {
void UShort(DicomDataSet& ds, uint16_t group, uint16_t element, uint16_t value) {
  const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
  ds.SetElement(DicomElement::FromBytes(group, element, vr::US, bytes));
}
}  // namespace

std::unique_ptr<DicomDataSet> GreyDataSet(int rows, int columns, int bits, uint16_t value,
                                          const std::string& spacing, const std::string& uid) {
  auto ds = std::make_unique<DicomDataSet>();
  ds->SetElement(DicomElement::FromText(0x0008, 0x0016, vr::UI, "1.2.840.10008.5.1.4.1.1.7"));
  ds->SetElement(DicomElement::FromText(0x0008, 0x0018, vr::UI, uid));
  ds->SetElement(DicomElement::FromText(0x0008, 0x0060, vr::CS, "OT"));
  UShort(*ds, 0x0028, 0x0010, static_cast<uint16_t>(rows));
  UShort(*ds, 0x0028, 0x0011, static_cast<uint16_t>(columns));
  UShort(*ds, 0x0028, 0x0100, static_cast<uint16_t>(bits));
  UShort(*ds, 0x0028, 0x0101, static_cast<uint16_t>(bits == 8 ? 8 : 12));
  UShort(*ds, 0x0028, 0x0102, static_cast<uint16_t>(bits == 8 ? 7 : 11));
  ds->SetElement(DicomElement::FromText(0x0028, 0x0004, vr::CS, "MONOCHROME2"));
  if (!spacing.empty()) ds->SetElement(DicomElement::FromText(0x0028, 0x0030, vr::DS, spacing));
  std::vector<uint8_t> pixels;
  const size_t count = static_cast<size_t>(rows) * static_cast<size_t>(columns);
  for (size_t i = 0; i < count; ++i) {
    pixels.push_back(static_cast<uint8_t>(value));
    if (bits == 16) pixels.push_back(static_cast<uint8_t>(value >> 8));
  }
  ds->SetElement(DicomElement::FromBytes(0x7FE0, 0x0010, bits == 8 ? vr::OB : vr::OW, pixels));
  return ds;
}

std::unique_ptr<DicomImage> GreyImageOf(int rows, int columns, int bits, uint16_t value,
                                        const std::string& spacing, const std::string& uid) {
  auto ds = GreyDataSet(rows, columns, bits, value, spacing, uid);
  std::string reason;
  return BuildImage("test.dcm", *ds, 255, ImageSettings{}, reason);
}

RecordBuilder& RecordBuilder::I32(int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) m_bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
  return *this;
}

RecordBuilder& RecordBuilder::Text(const std::string& text) {
  m_bytes.insert(m_bytes.end(), text.begin(), text.end());
  return *this;
}

RecordBuilder& RecordBuilder::Head(int32_t type, int32_t top, int32_t left, int32_t bottom,
                                   int32_t right) {
  return I32(type).I32(top).I32(left).I32(bottom).I32(right);
}

}  // namespace tolmar::test
