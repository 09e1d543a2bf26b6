#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pixcodec {

// DCMTK's IJG-derived codecs: 12-bit DCT JPEG, and any stream the own lossless
// decoder leaves aside (sub-sampled components, restarts inside rows), chosen by the
// stream's precision. Output as in the other decoders.
bool DecodeWithDcmtk(const uint8_t* data, size_t size, int precision, int width, int height,
                     int components, int bytesPerSample, uint8_t* output, size_t outputSize);

// 12-bit extended sequential lossy coding of one grey frame of 16-bit samples.
bool EncodeDcmtkJpeg12(const uint8_t* input, int width, int height, int quality,
                       std::vector<uint8_t>& output);

}  // namespace pixcodec
