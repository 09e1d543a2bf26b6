#include "JpegStreamInfo.h"

namespace pixcodec {

bool ReadJpegStreamInfo(const uint8_t* data, size_t size, JpegStreamInfo& info) {
  info = JpegStreamInfo{};
  if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return false;
  // The stream must end with EOI; writers pad the fragment with zero (or 0xFF fill) bytes.
  size_t end = size;
  while (end > 2 && (data[end - 1] == 0x00 || data[end - 1] == 0xFF)) --end;
  if (end < 4 || data[end - 2] != 0xFF || data[end - 1] != 0xD9) return false;
  info.endOfImage = end;

  size_t p = 2;
  while (p + 4 <= end) {
    if (data[p] != 0xFF) return false;
    while (p < end && data[p] == 0xFF) ++p;  // fill bytes
    if (p >= end) return false;
    const int marker = data[p++];
    if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
    if (marker == 0xD9 || marker == 0xDA) return false;  // no frame header before the scan
    if (p + 2 > end) return false;
    const size_t length = (static_cast<size_t>(data[p]) << 8) | data[p + 1];
    if (length < 2 || length > end - p) return false;
    const bool isFrame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (isFrame) {
      if (length < 8) return false;
      const uint8_t* f = data + p + 2;
      info.frameMarker = marker;
      info.precision = f[0];
      info.height = (f[1] << 8) | f[2];
      info.width = (f[3] << 8) | f[4];
      info.components = f[5];
      if (length != 8 + 3 * static_cast<size_t>(info.components)) return false;
      for (int c = 0; c < info.components; ++c) {
        if (f[6 + 3 * c + 1] != 0x11) info.unitSampling = false;
      }
      return info.components > 0;
    }
    p += length;
  }
  return false;
}

}  // namespace pixcodec
