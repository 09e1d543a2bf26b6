#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pixcodec {

// Lossless JPEG (process 14: Huffman coded, predictors 1 to 7, point transform,
// 2 to 16 bits, any number of components sampled 1 × 1, interleaved or one scan per
// component, restart intervals of whole rows).

enum class LosslessStatus { Ok, Unsupported, Corrupt };

// Decodes into `output`: `width` × `height` pixels of `components` interleaved samples,
// each `bytesPerSample` bytes (1, or 2 little endian). The stream's size must match.
// Never reads outside [data, data + size) nor writes outside the output.
LosslessStatus DecodeLosslessJpeg(const uint8_t* data, size_t size, int width, int height,
                                  int components, int bytesPerSample, uint8_t* output,
                                  size_t outputSize);

// Encodes with predictor 1 and an optimal Huffman table. Samples as for decoding;
// `precision` 2 to 16 is raised when a sample needs more bits.
bool EncodeLosslessJpeg(const uint8_t* input, int width, int height, int components,
                        int bytesPerSample, int precision, std::vector<uint8_t>& output);

}  // namespace pixcodec
