#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DicomDataSet.h"
#include "DicomError.h"

namespace tolmar {

// Compression kind of a data set: (0500,0001) when present, else derived from the
// JPEG transfer syntaxes, else empty.
std::string CompressionKind(const DicomDataSet& dataSet);

// What a kind string asks for: "ZIP" with a zlib level, "JPEGLOSSY" with a quality,
// "JPEGLOSSLESS", "ELPEG"; any other string asks for nothing.
struct CompressionRequest {
  enum class Method { None, Zip, Elpeg, JpegLossless, JpegLossy };
  Method method = Method::None;
  int level = 0;    // zlib level for Zip
  int quality = 0;  // 1..100 for the JPEG methods (100 is lossless)
};
CompressionRequest ParseCompressionKind(const std::string& kind);

// Compresses the pixel data in place by the kind string. A kind string that asks for
// nothing succeeds unchanged; a failure leaves the data set as it was.
bool CompressPixelData(DicomDataSet& dataSet, const std::string& kind, DicomError* error = nullptr);

// Decodes the pixel data in place by its compression kind. Kinds with nothing to
// decode succeed unchanged; a failure leaves the data set as it was.
bool DecompressPixelData(DicomDataSet& dataSet, DicomError* error = nullptr);

// Decodes one encapsulated fragment into one frame of `frameSize` bytes.
bool DecompressFrame(const DicomDataSet& dataSet, const uint8_t* fragment, uint32_t length,
                     uint64_t frameSize, std::vector<uint8_t>& frame, DicomError* error = nullptr);

// Writes a file with layout 2 (meta header, implicit VR body), compressing the pixel
// data by the kind string first unless (0500,0001) says it is compressed already.
// When compression fails the data set is written uncompressed; `compressed` (when
// given) tells which happened. Consumes the data set.
bool WriteCompressedDicomFile(const std::string& path, std::unique_ptr<DicomDataSet> dataSet,
                              const std::string& kind, DicomError* error = nullptr,
                              bool* compressed = nullptr);

}  // namespace tolmar
