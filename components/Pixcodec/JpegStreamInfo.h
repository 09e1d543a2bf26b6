#pragma once

#include <cstddef>
#include <cstdint>

namespace pixcodec {

// What the frame header of a JPEG stream says, read without decoding anything, so
// that the right decoder can be chosen and the image checked against the caller's
// description before any pixel is written.
struct JpegStreamInfo {
  int frameMarker = 0;  // 0xC0 … 0xCF (not 0xC4, 0xC8, 0xCC)
  int precision = 0;
  int width = 0;
  int height = 0;
  int components = 0;
  bool unitSampling = true;  // every component sampled 1 × 1
  size_t endOfImage = 0;     // offset just past the EOI marker, 0 when not found
};

// Reads markers up to the first frame header and checks that the stream ends with EOI,
// followed at most by padding (0x00 or 0xFF bytes). False for anything that is not such a stream.
bool ReadJpegStreamInfo(const uint8_t* data, size_t size, JpegStreamInfo& info);

}  // namespace pixcodec
