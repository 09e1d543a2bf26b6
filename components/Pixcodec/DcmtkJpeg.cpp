#include "DcmtkJpeg.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmjpeg/djcparam.h"
#include "dcmtk/dcmjpeg/djdijg12.h"
#include "dcmtk/dcmjpeg/djdijg16.h"
#include "dcmtk/dcmjpeg/djdijg8.h"
#include "dcmtk/dcmjpeg/djeijg12.h"
#include "dcmtk/oflog/oflog.h"

namespace pixcodec {
namespace {

const DJCodecParameter& Parameters() {
  static const DJCodecParameter parameters = [] {
    // A codec library does not write to the terminal: damaged streams are reported by
    // the result alone.
    OFLog::getLogger("dcmtk.dcmjpeg").setLogLevel(OFLogger::ERROR_LOG_LEVEL);
    return DJCodecParameter(ECC_lossyYCbCr, EDC_photometricInterpretation, EUC_default,
                            EPC_default);
  }();
  return parameters;
}

}  // namespace

bool DecodeWithDcmtk(const uint8_t* data, size_t size, int precision, int width, int height,
                     int components, int bytesPerSample, uint8_t* output, size_t outputSize) {
  const size_t samples = static_cast<size_t>(width) * height * components;
  if (outputSize != samples * bytesPerSample) return false;
  std::unique_ptr<DJDecoder> decoder;
  if (precision <= 8)
    decoder = std::make_unique<DJDecompressIJG8Bit>(Parameters(), OFFalse);
  else if (precision <= 12)
    decoder = std::make_unique<DJDecompressIJG12Bit>(Parameters(), OFFalse);
  else if (precision <= 16)
    decoder = std::make_unique<DJDecompressIJG16Bit>(Parameters(), OFFalse);
  else
    return false;
  if (precision > 8 && bytesPerSample == 1) return false;
  if (decoder->init().bad()) return false;
  const size_t decodedBytes = samples * decoder->bytesPerSample();
  // DCMTK's source manager only reads; the copy keeps our caller's bytes const anyway.
  std::vector<uint8_t> source(data, data + size);
  const bool direct = decodedBytes == outputSize;
  std::vector<uint8_t> scratch(direct ? 0 : decodedBytes);
  uint8_t* target = direct ? output : scratch.data();
  if (decoder
          ->decode(source.data(), static_cast<Uint32>(size), target,
                   static_cast<Uint32>(decodedBytes), OFFalse)
          .bad()) {
    return false;
  }
  if (!direct) {
    // 8-bit samples widened to 16 bits.
    for (size_t i = 0; i < samples; ++i) {
      output[2 * i] = scratch[i];
      output[2 * i + 1] = 0;
    }
  }
  return true;
}

bool EncodeDcmtkJpeg12(const uint8_t* input, int width, int height, int quality,
                       std::vector<uint8_t>& output) {
  if (width > 65535 || height > 65535) return false;
  const size_t samples = static_cast<size_t>(width) * height;
  std::vector<Uint16> pixels(samples);
  for (size_t i = 0; i < samples; ++i) {
    uint16_t v;
    std::memcpy(&v, input + 2 * i, 2);
    pixels[i] = std::min<uint16_t>(v, 4095);
  }
  DJCompressIJG12Bit encoder(Parameters(), EJM_sequential, static_cast<Uint8>(quality));
  Uint8* compressed = nullptr;
  Uint32 length = 0;
  const OFCondition status = encoder.encode(static_cast<Uint16>(width), static_cast<Uint16>(height),
                                            EPI_Monochrome2, 1, pixels.data(), compressed, length);
  std::unique_ptr<Uint8[]> owner(compressed);
  if (status.bad() || !compressed || length == 0) return false;
  output.assign(compressed, compressed + length);
  return true;
}

}  // namespace pixcodec
