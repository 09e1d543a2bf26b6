#include "ModalityLookupTable.h"

#include <algorithm>

#include "dicom/DicomDataSet.h"

namespace tolmar {

namespace {
uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
}  // namespace

ModalityLookupTable::Result ModalityLookupTable::Load(const DicomDataSet& dataSet,
                                                      std::string& reason) {
  m_table.clear();
  const DicomElement* sequence = dataSet.FindElement(0x0028, 0x3000);
  if (!sequence || !sequence->HasItems()) return Result::Absent;
  const DicomDataSet& item = *sequence->Items()->front();
  const DicomElement* descriptor = item.FindElement(0x0028, 0x3002);
  const DicomElement* data = item.FindElement(0x0028, 0x3006);
  if (!descriptor && !data) return Result::Absent;
  if (!descriptor || !descriptor->HasValue() || descriptor->length < 6) {
    reason = "modality lookup table descriptor is missing or short";
    return Result::Invalid;
  }
  const uint8_t* d = descriptor->Value();
  const uint32_t entries = Word(d) == 0 ? 65536u : Word(d);
  const uint32_t first = Word(d + 2);
  const uint16_t bits = Word(d + 4);
  if (!data || !data->HasValue()) {
    reason = "modality lookup table has no data";
    return Result::Invalid;
  }
  // Entries are 16-bit words; tables of 8-bit entries are also met packed one per byte.
  const bool packedBytes = bits <= 8 && data->length == entries + (entries & 1u);
  if (!packedBytes && data->length / 2 < entries) {
    reason = "modality lookup table data is shorter than its descriptor promises";
    return Result::Invalid;
  }
  const uint32_t size = std::max<uint32_t>(bits <= 8 ? 256u : 65536u, entries);
  m_table.assign(size, 0);
  auto entry = [&](uint32_t i) -> uint16_t {
    return packedBytes ? data->Value()[i] : Word(data->Value() + 2 * i);
  };
  const uint16_t firstValue = entry(0);
  const uint16_t lastValue = entry(entries - 1);
  for (uint32_t i = 0; i < size; ++i) {
    if (i < first) {
      m_table[i] = firstValue;
    } else if (i - first < entries) {
      m_table[i] = entry(i - first);
    } else {
      m_table[i] = lastValue;
    }
  }
  return Result::Loaded;
}

}  // namespace tolmar
