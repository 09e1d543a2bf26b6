#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "DicomDataSet.h"
#include "DicomError.h"

namespace tolmar {

// Compression kind of a data set: (0500,0001) when present, else derived from the
// JPEG transfer syntaxes, else empty.
std::string CompressionKind(const DicomDataSet& dataSet);

// Decodes the pixel data in place by its compression kind. Kinds with nothing to
// decode succeed unchanged; a failure leaves the data set as it was.
bool DecompressPixelData(DicomDataSet& dataSet, DicomError* error = nullptr);

// Decodes one encapsulated fragment into one frame of `frameSize` bytes.
bool DecompressFrame(const DicomDataSet& dataSet, const uint8_t* fragment, uint32_t length,
                     uint64_t frameSize, std::vector<uint8_t>& frame, DicomError* error = nullptr);

}  // namespace tolmar
