#include "PixelCompression.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "DicomCodec.h"
#include "ElpegCodec.h"
#include "PixcodecLibrary.h"
#include "ZlibLibrary.h"

namespace tolmar {

namespace {

constexpr uint16_t kKindGroup = 0x0500;
constexpr uint16_t kKindElement = 0x0001;
constexpr uint16_t kRowTableElement = 0x0002;
constexpr const char* kOwnLosslessSyntax = "1.2.840.780701.1.2.4.70";
constexpr const char* kOwnLossySyntax = "1.2.840.780701.1.2.4.50";

bool Fail(DicomError* error, const std::string& what) {
  if (error) error->Set(what);
  return false;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// The pixel description every codec path needs.
struct PixelLayout {
  uint64_t rows = 0;
  uint64_t columns = 0;
  uint64_t bitsAllocated = 0;
  uint64_t bitsStored = 0;
  bool rgb = false;
  bool monochrome = false;
  long frames = 1;

  explicit PixelLayout(const DicomDataSet& ds) {
    rows = ds.GetUShort(0x0028, 0x0010);
    columns = ds.GetUShort(0x0028, 0x0011);
    bitsAllocated = ds.GetUShort(0x0028, 0x0100);
    bitsStored = ds.GetUShort(0x0028, 0x0101);
    const std::string photometric = ds.GetText(0x0028, 0x0004);
    rgb = StartsWith(photometric, "RGB");
    monochrome = StartsWith(photometric, "MON");
    if (ds.FindElement(0x0028, 0x0008)) {
      frames = std::strtol(ds.GetText(0x0028, 0x0008).c_str(), nullptr, 10);
    }
  }
  bool Supported() const { return rgb || monochrome; }
  // Bytes of one frame: rows × columns × bits allocated / 8, × 3 for "RGB";
  // 0 for any photometric interpretation other than "RGB…" or "MON…".
  uint64_t FrameSize() const {
    if (!Supported()) return 0;
    return rows * columns * bitsAllocated / 8 * (rgb ? 3 : 1);
  }
  // The JPEG paths count "RGB" as 24 bits whatever is allocated.
  uint64_t JpegFrameSize() const { return rows * columns * (rgb ? 24 : bitsAllocated) / 8; }
  // The bits handed to the codec library.
  int CodecBits() const {
    if (rgb) return 24;
    if (bitsStored == 8 && bitsAllocated > 8) return 10;
    return static_cast<int>(bitsStored);
  }
  // Bytes of one frame as the codec library reads or writes it for CodecBits().
  uint64_t CodecFrameSize() const {
    const int bits = CodecBits();
    const uint64_t bytesPerPixel = bits == 24 ? 3 : bits > 8 ? 2 : 1;
    return rows * columns * bytesPerPixel;
  }
};

bool SetKind(DicomDataSet& ds, const char* kind) {
  return ds.SetElement(DicomElement::FromText(kKindGroup, kKindElement, vr::CS, kind));
}

// Replaces the pixel data value by an owned buffer, keeping the element and its VR.
bool ReplacePixelValue(DicomDataSet& ds, std::unique_ptr<uint8_t[]> buffer, uint32_t length) {
  const DicomElement* old = ds.FindElement(0x7FE0, 0x0010);
  const uint16_t vrCode = old ? old->vr : vr::OW;
  return ds.SetElement(DicomElement::Adopt(0x7FE0, 0x0010, vrCode, std::move(buffer), length));
}

// Parses the number after a kind prefix: nothing, or blanks and a decimal number.
bool ParseKindNumber(const std::string& rest, int& number) {
  number = 0;
  size_t i = 0;
  while (i < rest.size() && std::isspace(static_cast<unsigned char>(rest[i]))) ++i;
  if (i == rest.size()) return true;
  char* end = nullptr;
  const long value = std::strtol(rest.c_str() + i, &end, 10);
  if (end == rest.c_str() + i) return false;
  while (*end && std::isspace(static_cast<unsigned char>(*end))) ++end;
  if (*end) return false;
  number = static_cast<int>(std::max<long>(std::min<long>(value, INT_MAX), INT_MIN));
  return true;
}

// ---------------------------------------------------------------- ZIP

bool CompressZip(DicomDataSet& ds, int level, DicomError* error) {
  const ZlibFunctions* zlib = ZlibLibrary();
  if (!zlib) return Fail(error, "zlib is not available");
  const DicomElement* pixels = ds.FindElement(0x7FE0, 0x0010);
  if (!pixels || !pixels->HasValue() || pixels->length == 0) {
    return Fail(error, "no pixel data to compress");
  }
  // The result must be smaller than the original: a buffer of the same size bounds it.
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[pixels->length]);
  unsigned long compressedLength = pixels->length;
  if (zlib->compress2(buffer.get(), &compressedLength, pixels->Value(), pixels->length, level) !=
      0) {
    return Fail(error, "zlib compression failed or did not make the pixel data smaller");
  }
  std::unique_ptr<uint8_t[]> exact(new uint8_t[compressedLength]);
  std::memcpy(exact.get(), buffer.get(), compressedLength);
  if (!ReplacePixelValue(ds, std::move(exact), static_cast<uint32_t>(compressedLength))) {
    return Fail(error, "cannot replace the pixel data");
  }
  SetKind(ds, "ZIP");
  return true;
}

// Inflates exactly `expected` bytes; a stream that would yield more is refused by zlib
// before it writes past the buffer, one that yields fewer is refused here.
bool InflateExactly(const uint8_t* source, uint64_t sourceLength, uint8_t* destination,
                    uint64_t expected, DicomError* error) {
  const ZlibFunctions* zlib = ZlibLibrary();
  if (!zlib) return Fail(error, "zlib is not available");
  unsigned long produced = expected;
  int status = 0;
  if (zlib->uncompress2) {
    unsigned long consumed = sourceLength;
    status = zlib->uncompress2(destination, &produced, source, &consumed);
    // The writer may have added one pad byte to an odd length; more is not ours.
    if (status == 0 && sourceLength - consumed > 1) {
      return Fail(error, "compressed pixel data is longer than its zlib stream");
    }
  } else {
    status = zlib->uncompress(destination, &produced, source, sourceLength);
  }
  if (status != 0)
    return Fail(error, "zlib stream is corrupt, truncated or larger than the frames");
  if (produced != expected) return Fail(error, "zlib stream does not fill the frames");
  return true;
}

// No codec here expands its input more than this; a header promising more
// than that from a short value is broken or hostile, and must not make us
// allocate what it promises.
constexpr uint64_t kMaxExpansion = 4096;
constexpr const char* kTooShort = "compressed data too short for the frames the header promises";
constexpr uint64_t kAlwaysAllowed = uint64_t{1} << 20;

bool PlausibleOutput(uint64_t output, uint64_t input) {
  return output <= kAlwaysAllowed || output / kMaxExpansion <= input;
}

bool DecompressZip(DicomDataSet& ds, DicomError* error) {
  const PixelLayout layout(ds);
  const DicomElement* pixels = ds.FindElement(0x7FE0, 0x0010);
  if (!pixels || !pixels->HasValue()) return Fail(error, "no compressed pixel data");
  const uint64_t frameSize = layout.FrameSize();
  if (frameSize == 0) return Fail(error, "rows, columns, bits allocated or photometric missing");
  // Several frames were compressed as one value.
  const uint64_t frames = layout.frames > 1 ? static_cast<uint64_t>(layout.frames) : 1;
  const uint64_t expected = frameSize * frames;
  if (expected > 0xFFFFFFFEu) return Fail(error, "pixel data too large");
  if (!PlausibleOutput(expected, pixels->length)) return Fail(error, kTooShort);
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[expected]);
  if (!InflateExactly(pixels->Value(), pixels->length, buffer.get(), expected, error)) return false;
  if (!ReplacePixelValue(ds, std::move(buffer), static_cast<uint32_t>(expected))) {
    return Fail(error, "cannot replace the pixel data");
  }
  SetKind(ds, "NONE");
  return true;
}

// ---------------------------------------------------------------- ELPEG

bool CompressElpeg(DicomDataSet& ds, DicomError* error) {
  const PixelLayout layout(ds);
  if (layout.bitsAllocated != 16) return Fail(error, "ELPEG needs 16 bits allocated");
  if (ds.FindElement(0x0028, 0x0008)) return Fail(error, "ELPEG codes single-frame images only");
  if (layout.rows == 0 || layout.columns == 0) return Fail(error, "rows or columns missing");
  const DicomElement* pixels = ds.FindElement(0x7FE0, 0x0010);
  const uint64_t needed = layout.rows * layout.columns * 2;
  if (!pixels || !pixels->HasValue() || pixels->length < needed) {
    return Fail(error, "pixel data missing or shorter than the image");
  }
  if (pixels->Value()[1] & 0x80) return Fail(error, "ELPEG refuses negative pixel values");
  std::vector<uint8_t> records;
  std::vector<uint16_t> table;
  if (!ElpegEncode(pixels->Value(), static_cast<uint32_t>(layout.rows),
                   static_cast<uint32_t>(layout.columns), records, table)) {
    return Fail(error, "an ELPEG row record is too long");
  }
  if (records.size() > 0xFFFFFFFEu) return Fail(error, "ELPEG data too large");
  std::unique_ptr<uint8_t[]> tableBytes(new uint8_t[table.size() * 2]);
  for (size_t i = 0; i < table.size(); ++i) {
    tableBytes[2 * i] = static_cast<uint8_t>(table[i] & 0xFF);
    tableBytes[2 * i + 1] = static_cast<uint8_t>(table[i] >> 8);
  }
  std::unique_ptr<uint8_t[]> data(new uint8_t[records.empty() ? 1 : records.size()]);
  if (!records.empty()) std::memcpy(data.get(), records.data(), records.size());
  SetKind(ds, "ELPEG");
  ds.SetElement(DicomElement::Adopt(kKindGroup, kRowTableElement, vr::OW, std::move(tableBytes),
                                    static_cast<uint32_t>(table.size() * 2)));
  ReplacePixelValue(ds, std::move(data), static_cast<uint32_t>(records.size()));
  return true;
}

bool DecodeElpeg(const DicomDataSet& ds, const uint8_t* data, uint64_t length, uint8_t* output,
                 uint64_t outputSize, DicomError* error) {
  const PixelLayout layout(ds);
  const DicomElement* table = ds.FindElement(kKindGroup, kRowTableElement);
  if (!table || !table->HasValue()) return Fail(error, "ELPEG row table missing");
  if (layout.rows == 0 || layout.columns == 0) return Fail(error, "rows or columns missing");
  if (outputSize != layout.rows * layout.columns * 2) {
    return Fail(error, "ELPEG image size does not match the frame");
  }
  if (!ElpegDecode(data, length, table->Value(), table->length / 2,
                   static_cast<uint32_t>(layout.rows), static_cast<uint32_t>(layout.columns),
                   output)) {
    return Fail(error, "ELPEG data is corrupt or does not match its row table");
  }
  return true;
}

bool DecompressElpeg(DicomDataSet& ds, DicomError* error) {
  if (!StartsWith(ds.GetText(kKindGroup, kKindElement), "ELPEG")) {
    return Fail(error, "not ELPEG data");
  }
  const PixelLayout layout(ds);
  const DicomElement* pixels = ds.FindElement(0x7FE0, 0x0010);
  if (!pixels || !pixels->HasValue()) return Fail(error, "no compressed pixel data");
  const uint64_t size = layout.rows * layout.columns * 2;
  if (size == 0 || size > 0xFFFFFFFEu) return Fail(error, "rows or columns missing");
  if (!PlausibleOutput(size, pixels->length)) return Fail(error, kTooShort);
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[size]);
  if (!DecodeElpeg(ds, pixels->Value(), pixels->length, buffer.get(), size, error)) return false;
  ReplacePixelValue(ds, std::move(buffer), static_cast<uint32_t>(size));
  SetKind(ds, "NONE");
  ds.SetElement(DicomElement::Empty(kKindGroup, kRowTableElement, vr::OW));
  return true;
}

// ---------------------------------------------------------------- JPEG

bool CheckJpegLayout(const PixelLayout& layout, DicomError* error) {
  if (!layout.Supported()) return Fail(error, "photometric interpretation not RGB or MONOCHROME");
  if (layout.rows == 0 || layout.columns == 0) return Fail(error, "rows or columns missing");
  return true;
}

bool PlanarConfigurationOk(const DicomDataSet& ds) {
  return !ds.FindElement(0x0028, 0x0006) || ds.GetUShort(0x0028, 0x0006) == 0;
}

bool CompressJpeg(DicomDataSet& ds, bool lossless, int quality, DicomError* error) {
  const PixcodecFunctions* codec = PixcodecLibrary();
  if (!codec) return Fail(error, "the JPEG codec library is not available");
  if (lossless ? !codec->CanCompressLossless() : !codec->CanCompressLossy()) {
    return Fail(error, "the JPEG codec library cannot compress this way");
  }
  const PixelLayout layout(ds);
  if (layout.bitsAllocated < 8 || layout.bitsAllocated > 16 || layout.bitsStored < 8 ||
      layout.bitsStored > 16) {
    return Fail(error, "JPEG needs 8 to 16 bits allocated and stored");
  }
  if (!CheckJpegLayout(layout, error)) return false;
  if (!PlanarConfigurationOk(ds)) return Fail(error, "JPEG needs interleaved colour pixels");
  if (layout.frames < 1) return Fail(error, "bad number of frames");
  const DicomElement* pixels = ds.FindElement(0x7FE0, 0x0010);
  if (!pixels || !pixels->HasValue()) return Fail(error, "no pixel data to compress");
  const uint64_t stride = layout.JpegFrameSize();
  // The library reads one frame in its own sample size: it must be the frame stride,
  // and every frame must lie inside the value.
  if (layout.CodecFrameSize() != stride) {
    return Fail(error, "bits stored do not fit the bits allocated");
  }
  const uint64_t frames = static_cast<uint64_t>(layout.frames);
  if (stride * frames > pixels->length) return Fail(error, "pixel data shorter than its frames");
  if (layout.columns > INT_MAX || layout.rows > INT_MAX) return Fail(error, "image too large");

  const int bits = layout.CodecBits();
  auto encapsulated = DicomElement::Empty(0x7FE0, 0x0010, vr::OB);
  std::vector<std::unique_ptr<DicomDataSet>> fragments;
  std::vector<uint8_t> offsets(frames * 4);
  uint64_t offset = 0;
  for (uint64_t k = 0; k < frames; ++k) {
    int length = 0;
    const uint8_t* frame = pixels->Value() + k * stride;
    const int status =
        codec->compressV2
            ? codec->compressV2(static_cast<int>(layout.columns), static_cast<int>(layout.rows),
                                bits, frame, &length, lossless ? 100 : quality)
            : codec->compressV1(static_cast<int>(layout.columns), static_cast<int>(layout.rows),
                                bits, frame, &length);
    if (status != 0 || length <= 0) {
      return Fail(error, "the JPEG codec library failed on frame " + std::to_string(k + 1));
    }
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[static_cast<size_t>(length)]);
    if (codec->getCompressed(bits, bytes.get()) != 0) {
      return Fail(error, "the JPEG codec library lost frame " + std::to_string(k + 1));
    }
    for (int b = 0; b < 4; ++b) offsets[k * 4 + b] = static_cast<uint8_t>(offset >> (8 * b));
    // Fragments are written padded to even length: the offsets count the pad byte.
    offset += 8 + static_cast<uint64_t>(length) + (length & 1);
    if (offset > 0xFFFFFFFFu) return Fail(error, "compressed frames too large");
    auto item = std::make_unique<DicomDataSet>();
    item->AddElement(DicomElement::Adopt(0xFFFE, 0xE000, vr::kUnknown, std::move(bytes),
                                         static_cast<uint32_t>(length)));
    fragments.push_back(std::move(item));
  }
  auto table = std::make_unique<DicomDataSet>();
  table->AddElement(DicomElement::FromBytes(0xFFFE, 0xE000, vr::kUnknown, offsets));
  encapsulated->AppendItem(std::move(table));
  for (auto& item : fragments) encapsulated->AppendItem(std::move(item));

  ds.SetElement(std::move(encapsulated));
  SetKind(ds, lossless ? "JPEGLOSSLESS" : "JPEGLOSSY");
  ds.SetElement(DicomElement::FromText(0x0002, 0x0010, vr::UI,
                                       lossless ? kOwnLosslessSyntax : kOwnLossySyntax));
  return true;
}

bool DecodeJpegFragment(const PixelLayout& layout, bool lossless, const uint8_t* fragment,
                        uint64_t length, uint8_t* output, uint64_t outputSize, DicomError* error) {
  const PixcodecFunctions* codec = PixcodecLibrary();
  if (!codec) return Fail(error, "the JPEG codec library is not available");
  if (lossless ? !codec->CanDecompressLossless() : !codec->CanDecompressLossy()) {
    return Fail(error, "the JPEG codec library cannot decode lossy JPEG");
  }
  if (!fragment || length == 0) return Fail(error, "empty JPEG fragment");
  if (length > INT_MAX || outputSize > INT_MAX || layout.columns > INT_MAX ||
      layout.rows > INT_MAX) {
    return Fail(error, "JPEG frame too large");
  }
  if (codec->decompress(static_cast<int>(layout.columns), static_cast<int>(layout.rows),
                        layout.CodecBits(), fragment, static_cast<int>(length), output,
                        static_cast<int>(outputSize)) != 0) {
    return Fail(error, "the JPEG codec library could not decode the frame");
  }
  return true;
}

bool IsLosslessKind(const std::string& kind) { return kind == "JPEGLOSSLESS"; }

bool DecompressJpeg(DicomDataSet& ds, bool lossless, DicomError* error) {
  const PixelLayout layout(ds);
  if (!CheckJpegLayout(layout, error)) return false;
  if (!PlanarConfigurationOk(ds)) return Fail(error, "JPEG needs interleaved colour pixels");
  DicomElement* pixels = ds.FindElement(0x7FE0, 0x0010);
  if (!pixels || pixels->ItemCount() < 2) return Fail(error, "no encapsulated JPEG frames");
  const auto& items = *pixels->Items();
  std::vector<std::pair<const uint8_t*, uint64_t>> fragments;
  for (size_t i = 1; i < items.size(); ++i) {
    const DicomElement* f = items[i]->FindElement(0xFFFE, 0xE000);
    if (!f || !f->HasValue()) return Fail(error, "empty JPEG fragment " + std::to_string(i));
    fragments.emplace_back(f->Value(), f->length);
  }
  // A single frame split over several fragments is decoded as one stream.
  std::vector<uint8_t> joined;
  if (fragments.size() > 1 && layout.frames <= 1) {
    for (const auto& [bytes, n] : fragments) joined.insert(joined.end(), bytes, bytes + n);
    fragments.assign(1, {joined.data(), joined.size()});
  }
  const uint64_t frameSize = layout.JpegFrameSize();
  const uint64_t total = frameSize * fragments.size();
  if (frameSize == 0 || total > 0xFFFFFFFEu) return Fail(error, "bad frame size");
  uint64_t compressed = 0;
  for (const auto& fragment : fragments) compressed += fragment.second;
  if (!PlausibleOutput(total, compressed)) return Fail(error, kTooShort);
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[total]);
  for (size_t k = 0; k < fragments.size(); ++k) {
    if (!DecodeJpegFragment(layout, lossless, fragments[k].first, fragments[k].second,
                            buffer.get() + k * frameSize, frameSize, error)) {
      if (error) error->what += " (frame " + std::to_string(k + 1) + ")";
      return false;
    }
  }
  const uint16_t vrCode = layout.bitsAllocated > 8 && !layout.rgb ? vr::OW : vr::OB;
  ds.SetElement(
      DicomElement::Adopt(0x7FE0, 0x0010, vrCode, std::move(buffer), static_cast<uint32_t>(total)));
  if (DicomElement* replaced = ds.FindElement(0x7FE0, 0x0010)) replaced->vr = vrCode;
  SetKind(ds, "NONE");
  return true;
}

}  // namespace

std::string CompressionKind(const DicomDataSet& dataSet) {
  if (const DicomElement* kind = dataSet.FindElement(kKindGroup, kKindElement)) {
    std::string text = kind->Text();
    if (text.size() > 31) text.resize(31);
    return text;
  }
  if (dataSet.FindElement(0x0002, 0x0010)) {
    const std::string ts = dataSet.GetText(0x0002, 0x0010);
    for (const char* lossless :
         {"1.2.840.10008.1.2.4.70", "1.2.840.10008.1.2.4.56", "1.2.840.10008.1.2.4.57",
          "1.2.840.10008.1.2.4.58", "1.2.840.10008.1.2.4.65", "1.2.840.10008.1.2.4.66",
          kOwnLosslessSyntax}) {
      if (ts == lossless) return "JPEGLOSSLESS";
    }
    if (ts == "1.2.840.10008.1.2.4.50" || ts == kOwnLossySyntax) return "JPEGLOSSY";
    // The other JPEG processes of the syntax table (extended 12-bit, spectral selection,
    // progressive, hierarchical) are lossy DCT streams the codec library decodes too;
    // joining their fragments as raw pixels would show noise.
    for (const char* other :
         {"1.2.840.10008.1.2.4.51", "1.2.840.10008.1.2.4.52", "1.2.840.10008.1.2.4.53",
          "1.2.840.10008.1.2.4.54", "1.2.840.10008.1.2.4.55", "1.2.840.10008.1.2.4.59",
          "1.2.840.10008.1.2.4.60", "1.2.840.10008.1.2.4.61", "1.2.840.10008.1.2.4.62",
          "1.2.840.10008.1.2.4.63", "1.2.840.10008.1.2.4.64"}) {
      if (ts == other) return "JPEGLOSSY";
    }
  }
  return {};
}

CompressionRequest ParseCompressionKind(const std::string& kind) {
  CompressionRequest request;
  int number = 0;
  if (kind == "ELPEG") {
    request.method = CompressionRequest::Method::Elpeg;
  } else if (kind == "JPEGLOSSLESS") {
    request.method = CompressionRequest::Method::JpegLossless;
    request.quality = 100;
  } else if (StartsWith(kind, "JPEGLOSSY") && ParseKindNumber(kind.substr(9), number)) {
    request.method = CompressionRequest::Method::JpegLossy;
    request.quality = number == 0 ? 80 : number > 99 ? 99 : number < 1 ? 1 : number;
  } else if (StartsWith(kind, "ZIP") && ParseKindNumber(kind.substr(3), number)) {
    request.method = CompressionRequest::Method::Zip;
    request.level = number == 0 ? 1 : number % 10;
  }
  return request;
}

namespace {

bool CompressPixelDataOnce(DicomDataSet& dataSet, const std::string& kind, DicomError* error) {
  const CompressionRequest request = ParseCompressionKind(kind);
  switch (request.method) {
    case CompressionRequest::Method::Zip:
      return CompressZip(dataSet, request.level, error);
    case CompressionRequest::Method::Elpeg:
      return CompressElpeg(dataSet, error);
    case CompressionRequest::Method::JpegLossless:
      return CompressJpeg(dataSet, true, 100, error);
    case CompressionRequest::Method::JpegLossy:
      return CompressJpeg(dataSet, false, request.quality, error);
    case CompressionRequest::Method::None:
      break;
  }
  return true;
}

bool DecompressPixelDataOnce(DicomDataSet& dataSet, DicomError* error) {
  const std::string kind = CompressionKind(dataSet);
  if (kind == "ZIP") return DecompressZip(dataSet, error);
  if (kind == "ELPEG") return DecompressElpeg(dataSet, error);
  if (kind == "JPEGLOSSLESS" || kind == "JPEGLOSSY") {
    return DecompressJpeg(dataSet, IsLosslessKind(kind), error);
  }
  return true;
}

bool DecompressFrameOnce(const DicomDataSet& dataSet, const uint8_t* fragment, uint32_t length,
                         uint64_t frameSize, std::vector<uint8_t>& frame, DicomError* error) {
  const std::string kind = CompressionKind(dataSet);
  if (frameSize == 0 || frameSize > 0xFFFFFFFEu) return Fail(error, "bad frame size");
  if (kind == "ZIP" || kind == "ELPEG" || kind == "JPEGLOSSLESS" || kind == "JPEGLOSSY") {
    if (!PlausibleOutput(frameSize, length)) return Fail(error, kTooShort);
    std::vector<uint8_t> decoded(frameSize);
    bool ok = false;
    if (kind == "ZIP") {
      ok = InflateExactly(fragment, length, decoded.data(), frameSize, error);
    } else if (kind == "ELPEG") {
      ok = DecodeElpeg(dataSet, fragment, length, decoded.data(), frameSize, error);
    } else {
      const PixelLayout layout(dataSet);
      ok =
          CheckJpegLayout(layout, error) &&
          (PlanarConfigurationOk(dataSet) || Fail(error, "JPEG needs interleaved colour pixels")) &&
          DecodeJpegFragment(layout, IsLosslessKind(kind), fragment, length, decoded.data(),
                             frameSize, error);
    }
    if (!ok) return false;
    frame = std::move(decoded);
    return true;
  }
  if (length != frameSize) return Fail(error, "uncompressed fragment is not one frame long");
  frame.assign(fragment, fragment + length);
  return true;
}

}  // namespace

namespace {
// Buffers are sized from the file's own description; when memory runs out the operation
// fails like any other, before the data set has been touched.
template <typename Operation>
bool FailingOnExhaustedMemory(DicomError* error, Operation operation) {
  try {
    return operation();
  } catch (const std::bad_alloc&) {
    return Fail(error, "not enough memory for the pixel data");
  }
}
}  // namespace

bool CompressPixelData(DicomDataSet& dataSet, const std::string& kind, DicomError* error) {
  return FailingOnExhaustedMemory(error,
                                  [&] { return CompressPixelDataOnce(dataSet, kind, error); });
}

bool DecompressPixelData(DicomDataSet& dataSet, DicomError* error) {
  return FailingOnExhaustedMemory(error, [&] { return DecompressPixelDataOnce(dataSet, error); });
}

bool DecompressFrame(const DicomDataSet& dataSet, const uint8_t* fragment, uint32_t length,
                     uint64_t frameSize, std::vector<uint8_t>& frame, DicomError* error) {
  return FailingOnExhaustedMemory(error, [&] {
    return DecompressFrameOnce(dataSet, fragment, length, frameSize, frame, error);
  });
}

bool WriteCompressedDicomFile(const std::string& path, std::unique_ptr<DicomDataSet> dataSet,
                              const std::string& kind, DicomError* error, bool* compressed) {
  if (compressed) *compressed = false;
  if (!dataSet) return Fail(error, "no data set");
  const DicomElement* existing = dataSet->FindElement(kKindGroup, kKindElement);
  if (existing && !StartsWith(existing->Text(), "NONE")) {
    if (compressed) *compressed = true;
  } else {
    DicomError ignored;
    const bool done = CompressPixelData(*dataSet, kind, &ignored);
    if (compressed)
      *compressed = done && ParseCompressionKind(kind).method != CompressionRequest::Method::None;
  }
  return WriteDicomFile(path, FileLayout::PartTenImplicit, std::move(dataSet), error);
}

}  // namespace tolmar
