#include "PixelCompression.h"

#include <cstring>

namespace tolmar {

std::string CompressionKind(const DicomDataSet& dataSet) {
  if (const DicomElement* kind = dataSet.FindElement(0x0500, 0x0001)) {
    std::string text = kind->Text();
    if (text.size() > 31) text.resize(31);
    return text;
  }
  if (dataSet.FindElement(0x0002, 0x0010)) {
    const std::string ts = dataSet.GetText(0x0002, 0x0010);
    for (const char* lossless : {"1.2.840.10008.1.2.4.70", "1.2.840.10008.1.2.4.56",
                                 "1.2.840.10008.1.2.4.57", "1.2.840.10008.1.2.4.58",
                                 "1.2.840.10008.1.2.4.65", "1.2.840.10008.1.2.4.66",
                                 "1.2.840.780701.1.2.4.70"}) {
      if (ts == lossless) return "JPEGLOSSLESS";
    }
    if (ts == "1.2.840.10008.1.2.4.50" || ts == "1.2.840.780701.1.2.4.50") return "JPEGLOSSY";
  }
  return {};
}

namespace {
bool IsCodedKind(const std::string& kind) {
  return kind == "ZIP" || kind == "ELPEG" || kind == "JPEGLOSSLESS" || kind == "JPEGLOSSY";
}
}  // namespace

bool DecompressPixelData(DicomDataSet& dataSet, DicomError* error) {
  const std::string kind = CompressionKind(dataSet);
  if (!IsCodedKind(kind)) return true;
  if (error) error->Set("compression kind " + kind + " is not available");
  return false;
}

bool DecompressFrame(const DicomDataSet& dataSet, const uint8_t* fragment, uint32_t length,
                     uint64_t frameSize, std::vector<uint8_t>& frame, DicomError* error) {
  const std::string kind = CompressionKind(dataSet);
  if (IsCodedKind(kind)) {
    if (error) error->Set("compression kind " + kind + " is not available");
    return false;
  }
  if (length != frameSize) {
    if (error) error->Set("uncompressed fragment is not one frame long");
    return false;
  }
  frame.assign(fragment, fragment + length);
  return true;
}

}  // namespace tolmar
