#include "PaletteTable.h"

#include "dicom/DicomDataSet.h"

namespace tolmar {

namespace {

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

bool LoadChannel(const DicomDataSet& ds, uint16_t descriptorTag, uint16_t dataTag,
                 const char* colour, std::array<uint8_t, 256>& out, std::string& reason) {
  const DicomElement* descriptor = ds.FindElement(0x0028, descriptorTag);
  const DicomElement* data = ds.FindElement(0x0028, dataTag);
  if (!descriptor || !descriptor->HasValue() || descriptor->length < 6) {
    reason = std::string(colour) + " palette descriptor is missing or short";
    return false;
  }
  const uint8_t* d = descriptor->Value();
  const uint32_t entries = Word(d) == 0 ? 65536u : Word(d);
  // The first mapped value may be written as a signed number; palette indices of
  // an 8-bit image are never negative, so a negative start maps like 0.
  const int32_t first = static_cast<int16_t>(Word(d + 2)) < 0 ? 0 : Word(d + 2);
  const uint16_t bits = Word(d + 4);
  if (!data || !data->HasValue()) {
    reason = std::string(colour) + " palette data is missing";
    return false;
  }
  // 16-bit entries keep their high byte. 8-bit entries come either one per word or,
  // from some writers, packed one per byte.
  const bool packedBytes = bits == 8 && data->length < 2 * entries;
  if (packedBytes ? data->length < entries : data->length / 2 < entries) {
    reason = std::string(colour) + " palette data is shorter than its descriptor promises";
    return false;
  }
  auto entry = [&](uint32_t i) -> uint8_t {
    if (packedBytes) return data->Value()[i];
    const uint16_t w = Word(data->Value() + 2 * i);
    return static_cast<uint8_t>(bits == 8 ? w & 0xFF : w >> 8);
  };
  for (int32_t index = 0; index < 256; ++index) {
    int64_t i = index - first;
    if (i < 0) i = 0;
    if (i >= static_cast<int64_t>(entries)) i = entries - 1;
    out[static_cast<size_t>(index)] = entry(static_cast<uint32_t>(i));
  }
  return true;
}

}  // namespace

bool PaletteTable::Load(const DicomDataSet& ds, std::string& reason) {
  return LoadChannel(ds, 0x1101, 0x1201, "red", m_red, reason) &&
         LoadChannel(ds, 0x1102, 0x1202, "green", m_green, reason) &&
         LoadChannel(ds, 0x1103, 0x1203, "blue", m_blue, reason);
}

}  // namespace tolmar
