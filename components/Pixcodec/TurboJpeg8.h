#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pixcodec {

// 8-bit DCT JPEG (baseline, extended, progressive) through libjpeg-turbo.
// Samples: `components` (1 or 3) interleaved, each `bytesPerSample` bytes (2: widened
// or narrowed little-endian 16-bit values).
bool DecodeTurboJpeg8(const uint8_t* data, size_t size, int width, int height, int components,
                      int bytesPerSample, uint8_t* output, size_t outputSize);
bool EncodeTurboJpeg8(const uint8_t* input, int width, int height, int components,
                      int bytesPerSample, int quality, std::vector<uint8_t>& output);

}  // namespace pixcodec
