// The JPEG codec library of the suite: the programs bind these four exports at run
// time. Lossless frames use our own process-14 codec, which is where the speed
// matters (CT archives); 8-bit DCT JPEG goes through libjpeg-turbo, 12-bit DCT JPEG and
// unusual lossless streams through DCMTK's IJG-derived codecs.
#include "Pixcodec.h"

#include <climits>
#include <cstring>
#include <vector>

#include "DcmtkJpeg.h"
#include "JpegStreamInfo.h"
#include "LosslessJpeg.h"
#include "TurboJpeg8.h"

namespace {

enum Result : int { kOk = 0, kBadArguments = 1, kUnsupported = 2, kCodecFailed = 3 };

// The frame layout that the bits argument stands for.
struct SampleLayout {
  int components = 0;
  int bytesPerSample = 0;
  bool valid = false;

  SampleLayout(int columns, int rows, int bits) {
    if (columns <= 0 || rows <= 0 || columns > 65535 || rows > 65535) return;
    if (bits == 24) {
      components = 3;
      bytesPerSample = 1;
    } else if (bits >= 1 && bits <= 16) {
      components = 1;
      bytesPerSample = bits > 8 ? 2 : 1;
    } else {
      return;
    }
    valid = true;
  }
  size_t FrameBytes(int columns, int rows) const {
    return static_cast<size_t>(columns) * rows * components * bytesPerSample;
  }
};

thread_local std::vector<uint8_t> t_lastCompressed;

}  // namespace

int DCMGetVersion(void) { return 2; }

int DCMCompress(int columns, int rows, int bits, const unsigned char* frame, int* compressedLength,
                int quality) {
  if (compressedLength) *compressedLength = 0;
  t_lastCompressed.clear();
  const SampleLayout layout(columns, rows, bits);
  if (!layout.valid || !frame || !compressedLength || quality < 1 || quality > 100) {
    return kBadArguments;
  }
  bool ok = false;
  if (quality == 100) {
    const int precision = bits == 24 ? 8 : bits < 8 ? 8 : bits;
    ok = pixcodec::EncodeLosslessJpeg(frame, columns, rows, layout.components,
                                      layout.bytesPerSample, precision, t_lastCompressed);
  } else if (layout.bytesPerSample == 1) {
    ok = pixcodec::EncodeTurboJpeg8(frame, columns, rows, layout.components, 1, quality,
                                    t_lastCompressed);
  } else if (bits <= 12) {
    ok = pixcodec::EncodeDcmtkJpeg12(frame, columns, rows, quality, t_lastCompressed);
  } else {
    return kUnsupported;  // DCT JPEG stops at 12 bits
  }
  if (!ok || t_lastCompressed.size() > INT_MAX) {
    t_lastCompressed.clear();
    return kCodecFailed;
  }
  *compressedLength = static_cast<int>(t_lastCompressed.size());
  return kOk;
}

int GetDCMCompressPixelData(int /*bits*/, unsigned char* destination) {
  if (!destination || t_lastCompressed.empty()) return kBadArguments;
  std::memcpy(destination, t_lastCompressed.data(), t_lastCompressed.size());
  return kOk;
}

int DCMDecompress(int columns, int rows, int bits, const unsigned char* source, int sourceLength,
                  unsigned char* destination, int destinationSize) {
  const SampleLayout layout(columns, rows, bits);
  if (!layout.valid || !source || sourceLength <= 0 || !destination || destinationSize <= 0) {
    return kBadArguments;
  }
  const size_t outputSize = static_cast<size_t>(destinationSize);
  if (layout.FrameBytes(columns, rows) != outputSize) return kBadArguments;

  pixcodec::JpegStreamInfo info;
  if (!pixcodec::ReadJpegStreamInfo(source, static_cast<size_t>(sourceLength), info)) {
    return kCodecFailed;
  }
  if (info.width != columns || info.height != rows || info.components != layout.components) {
    return kCodecFailed;
  }
  if (info.precision > 8 && layout.bytesPerSample == 1) return kCodecFailed;
  // Only the stream itself (through EOI) is handed on; zero padding stays behind.
  const size_t size = info.endOfImage;

  if (info.frameMarker == 0xC3) {
    const auto status =
        pixcodec::DecodeLosslessJpeg(source, size, columns, rows, layout.components,
                                     layout.bytesPerSample, destination, outputSize);
    if (status == pixcodec::LosslessStatus::Ok) return kOk;
    if (status == pixcodec::LosslessStatus::Corrupt) return kCodecFailed;
  } else if (info.precision == 8 &&
             (info.frameMarker == 0xC0 || info.frameMarker == 0xC1 || info.frameMarker == 0xC2)) {
    return pixcodec::DecodeTurboJpeg8(source, size, columns, rows, layout.components,
                                      layout.bytesPerSample, destination, outputSize)
               ? kOk
               : kCodecFailed;
  }
  return pixcodec::DecodeWithDcmtk(source, size, info.precision, columns, rows, layout.components,
                                   layout.bytesPerSample, destination, outputSize)
             ? kOk
             : kCodecFailed;
}
