// libFuzzer target: DecompressPixelData and DecompressFrame on ZIP, ELPEG and JPEG pixel
// data. The first bytes choose the kind and the image description, the rest is the
// compressed value (and, for ELPEG, the row table). Every input must fail cleanly and
// leave the data set unchanged, or decode to exactly the image size.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "dicom/DicomDataSet.h"
#include "dicom/DicomElement.h"
#include "dicom/PixelCompression.h"

namespace {

using tolmar::DicomDataSet;
using tolmar::DicomElement;

void PutUShort(DicomDataSet& ds, uint16_t g, uint16_t e, uint16_t value) {
  const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
  ds.SetElement(DicomElement::FromBytes(g, e, tolmar::vr::US, bytes));
}
void PutText(DicomDataSet& ds, uint16_t g, uint16_t e, const std::string& text) {
  ds.SetElement(DicomElement::FromText(g, e, tolmar::vr::CS, text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  static const char* const kKinds[] = {"ZIP", "ELPEG", "JPEGLOSSLESS", "JPEGLOSSY"};
  const std::string kind = kKinds[data[0] % 4];
  const uint16_t rows = static_cast<uint16_t>(1 + data[1] % 64);
  const uint16_t columns = static_cast<uint16_t>(1 + data[2] % 64);
  const bool rgb = (data[3] & 1) != 0 && kind != "ELPEG";
  const uint16_t bitsStored = rgb ? 8 : static_cast<uint16_t>(8 + data[3] / 2 % 9);
  const uint16_t bitsAllocated = bitsStored > 8 || kind == "ELPEG" ? 16 : 8;
  const uint16_t frames = static_cast<uint16_t>(1 + data[4] % 3);
  data += 5;
  size -= 5;

  DicomDataSet ds;
  PutText(ds, 0x0028, 0x0004, rgb ? "RGB" : "MONOCHROME2");
  if (frames > 1 && kind != "ELPEG") PutText(ds, 0x0028, 0x0008, std::to_string(frames));
  PutUShort(ds, 0x0028, 0x0010, rows);
  PutUShort(ds, 0x0028, 0x0011, columns);
  PutUShort(ds, 0x0028, 0x0100, bitsAllocated);
  PutUShort(ds, 0x0028, 0x0101, bitsStored);
  PutText(ds, 0x0500, 0x0001, kind);

  const uint64_t frameSize = uint64_t{rows} * columns * (bitsAllocated / 8) * (rgb ? 3 : 1);
  std::vector<uint8_t> value(data, data + size);
  if (kind == "ELPEG") {
    const size_t tableBytes = std::min<size_t>(size, size_t{rows} * 2);
    ds.SetElement(DicomElement::FromBytes(0x0500, 0x0002, tolmar::vr::OW,
                                          std::vector<uint8_t>(data, data + tableBytes)));
    value.assign(data + tableBytes, data + size);
  }
  if (kind.rfind("JPEG", 0) == 0) {
    // Encapsulated: an empty offset table, then the input as one fragment per frame.
    auto pixels = DicomElement::Empty(0x7FE0, 0x0010, tolmar::vr::OB);
    auto table = std::make_unique<DicomDataSet>();
    table->AddElement(DicomElement::Empty(0xFFFE, 0xE000, 0));
    pixels->AppendItem(std::move(table));
    const size_t part = frames > 1 ? value.size() / frames : value.size();
    for (uint16_t f = 0; f < frames; ++f) {
      auto item = std::make_unique<DicomDataSet>();
      const auto begin = value.begin() + static_cast<std::ptrdiff_t>(part * f);
      item->AddElement(DicomElement::FromBytes(
          0xFFFE, 0xE000, 0,
          std::vector<uint8_t>(begin, begin + static_cast<std::ptrdiff_t>(part))));
      pixels->AppendItem(std::move(item));
    }
    ds.SetElement(std::move(pixels));
  } else {
    ds.SetElement(DicomElement::FromBytes(0x7FE0, 0x0010, tolmar::vr::OB, value));
  }

  // One frame straight from an exact-size copy of the bytes.
  std::unique_ptr<uint8_t[]> exact(new uint8_t[value.size() + 1]);
  std::copy(value.begin(), value.end(), exact.get());
  std::vector<uint8_t> frame;
  if (tolmar::DecompressFrame(ds, exact.get(), static_cast<uint32_t>(value.size()), frameSize,
                              frame) &&
      frame.size() != frameSize) {
    __builtin_trap();
  }

  const DicomElement* before = ds.FindElement(0x7FE0, 0x0010);
  const std::vector<uint8_t> beforeBytes(before->Bytes().begin(), before->Bytes().end());
  const size_t beforeItems = before->ItemCount();
  if (tolmar::DecompressPixelData(ds)) {
    if (ds.GetText(0x0500, 0x0001) != "NONE") __builtin_trap();
  } else {
    const DicomElement* after = ds.FindElement(0x7FE0, 0x0010);
    if (after->ItemCount() != beforeItems ||
        !std::equal(beforeBytes.begin(), beforeBytes.end(), after->Bytes().begin(),
                    after->Bytes().end()) ||
        ds.GetText(0x0500, 0x0001) != kind) {
      __builtin_trap();
    }
  }
  return 0;
}
