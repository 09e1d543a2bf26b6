// Side-by-side timing of the pixel compression paths on a CT series, in one process:
// lossless JPEG (our Pixcodec against DCMTK's and GDCM's codecs, on the same frames and
// the same streams), "ZIP" against raw zlib level 1, and ELPEG.
//
// usage: compression-bench CT_FOLDER [ROUNDS]
// Each figure is the best of ROUNDS (default 3) passes over every frame of the series.
#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmjpeg/djcparam.h"
#include "dcmtk/dcmjpeg/djdijg12.h"
#include "dcmtk/dcmjpeg/djeijg12.h"
#include "dicom/DicomCodec.h"
#include "dicom/PixcodecLibrary.h"
#include "dicom/PixelCompression.h"
#include "dicom/ZlibLibrary.h"
#include "gdcmImage.h"
#include "gdcmImageChangeTransferSyntax.h"
#include "gdcmSequenceOfFragments.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

struct Series {
  std::vector<std::unique_ptr<tolmar::DicomDataSet>> images;
  std::vector<Bytes> frames;
  int rows = 0, columns = 0, bitsStored = 0;
  size_t totalBytes = 0;
};

double BestSeconds(int rounds, const std::function<void()>& pass) {
  double best = 1e30;
  for (int r = 0; r < rounds; ++r) {
    const auto start = Clock::now();
    pass();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "compression-bench: %s\n", what.c_str());
  std::exit(1);
}

// ------------------------------------------------------------------ the three JPEG codecs

const DJCodecParameter& DcmtkParameters() {
  static const DJCodecParameter p(ECC_lossyYCbCr, EDC_photometricInterpretation, EUC_default,
                                  EPC_default);
  return p;
}

// DCMTK codes 12-bit CT with its 12-bit IJG library, as dcmcjpeg chooses by default.
Bytes DcmtkEncode(const Series& s, const Bytes& frame) {
  DJCompressIJG12Bit encoder(DcmtkParameters(), EJM_lossless, 1, 0);
  Uint8* out = nullptr;
  Uint32 length = 0;
  std::vector<Uint16> samples(frame.size() / 2);
  std::memcpy(samples.data(), frame.data(), frame.size());
  if (encoder
          .encode(static_cast<Uint16>(s.columns), static_cast<Uint16>(s.rows), EPI_Monochrome2, 1,
                  samples.data(), out, length)
          .bad()) {
    Fail("DCMTK could not encode");
  }
  Bytes result(out, out + length);
  delete[] out;
  return result;
}

void DcmtkDecode(const Bytes& stream, Bytes& out) {
  DJDecompressIJG12Bit decoder(DcmtkParameters(), OFFalse);
  if (decoder.init().bad() ||
      decoder
          .decode(const_cast<Uint8*>(stream.data()), static_cast<Uint32>(stream.size()), out.data(),
                  static_cast<Uint32>(out.size()), OFFalse)
          .bad()) {
    Fail("DCMTK could not decode");
  }
}

Bytes OursEncode(const Series& s, const Bytes& frame) {
  const tolmar::PixcodecFunctions* codec = tolmar::PixcodecLibrary();
  int length = 0;
  if (codec->compressV2(s.columns, s.rows, s.bitsStored, frame.data(), &length, 100) != 0) {
    Fail("Pixcodec could not encode");
  }
  Bytes out(static_cast<size_t>(length));
  codec->getCompressed(s.bitsStored, out.data());
  return out;
}

void OursDecode(const Series& s, const Bytes& stream, Bytes& out) {
  if (tolmar::PixcodecLibrary()->decompress(s.columns, s.rows, s.bitsStored, stream.data(),
                                            static_cast<int>(stream.size()), out.data(),
                                            static_cast<int>(out.size())) != 0) {
    Fail("Pixcodec could not decode");
  }
}

// GDCM filters keep their input in a smart pointer: the image must live on the heap.
gdcm::SmartPointer<gdcm::Image> GdcmImage(const Series& s, const gdcm::TransferSyntax& syntax) {
  gdcm::SmartPointer<gdcm::Image> image = new gdcm::Image;
  image->SetNumberOfDimensions(2);
  image->SetDimension(0, static_cast<unsigned>(s.columns));
  image->SetDimension(1, static_cast<unsigned>(s.rows));
  gdcm::PixelFormat format(1, 16, static_cast<unsigned short>(s.bitsStored),
                           static_cast<unsigned short>(s.bitsStored - 1), 0);
  image->SetPixelFormat(format);
  image->SetPhotometricInterpretation(gdcm::PhotometricInterpretation::MONOCHROME2);
  image->SetTransferSyntax(syntax);
  return image;
}

Bytes GdcmEncode(const Series& s, const Bytes& frame) {
  gdcm::SmartPointer<gdcm::Image> image =
      GdcmImage(s, gdcm::TransferSyntax::ExplicitVRLittleEndian);
  gdcm::DataElement pixels(gdcm::Tag(0x7FE0, 0x0010));
  pixels.SetByteValue(reinterpret_cast<const char*>(frame.data()),
                      static_cast<uint32_t>(frame.size()));
  image->SetDataElement(pixels);
  gdcm::ImageChangeTransferSyntax change;
  change.SetTransferSyntax(gdcm::TransferSyntax::JPEGLosslessProcess14_1);
  change.SetInput(*image);
  if (!change.Change()) Fail("GDCM could not encode");
  const gdcm::SequenceOfFragments* fragments =
      change.GetOutput().GetDataElement().GetSequenceOfFragments();
  if (!fragments || fragments->GetNumberOfFragments() != 1) Fail("GDCM gave no fragment");
  const gdcm::ByteValue* value = fragments->GetFragment(0).GetByteValue();
  return Bytes(value->GetPointer(), value->GetPointer() + value->GetLength());
}

void GdcmDecode(const Series& s, const Bytes& stream, Bytes& out) {
  gdcm::SmartPointer<gdcm::Image> image =
      GdcmImage(s, gdcm::TransferSyntax::JPEGLosslessProcess14_1);
  gdcm::DataElement pixels(gdcm::Tag(0x7FE0, 0x0010));
  gdcm::SmartPointer<gdcm::SequenceOfFragments> fragments = new gdcm::SequenceOfFragments;
  gdcm::Fragment fragment;
  fragment.SetByteValue(reinterpret_cast<const char*>(stream.data()),
                        static_cast<uint32_t>(stream.size()));
  fragments->AddFragment(fragment);
  pixels.SetValue(*fragments);
  image->SetDataElement(pixels);
  if (!image->GetBuffer(reinterpret_cast<char*>(out.data()))) Fail("GDCM could not decode");
}

// ------------------------------------------------------------------ report

struct Row {
  std::string what;
  double seconds;
  double megabytes;
};

void Print(const std::vector<Row>& rows, const char* title) {
  std::printf("\n%s\n", title);
  std::printf("| %-52s | %9s | %9s |\n", "", "s", "MB/s");
  std::printf("|%s|%s|%s|\n", std::string(54, '-').c_str(), std::string(11, '-').c_str(),
              std::string(11, '-').c_str());
  for (const auto& r : rows) {
    std::printf("| %-52s | %9.3f | %9.1f |\n", r.what.c_str(), r.seconds, r.megabytes / r.seconds);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: compression-bench CT_FOLDER [ROUNDS]\n");
    return 2;
  }
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  if (!tolmar::PixcodecLibrary()) Fail("libPixcodec.so not found (set TOLMAR_PIXCODEC_LIBRARY)");
  if (!tolmar::ZlibLibrary()) Fail("zlib not found");

  Series s;
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
    if (entry.path().extension() == ".dcm") paths.push_back(entry.path().string());
  }
  std::sort(paths.begin(), paths.end());
  for (const auto& path : paths) {
    auto ds = tolmar::ReadDicomImage(path, tolmar::ReadMode::FullRead);
    if (!ds) Fail(path + ": cannot read");
    const tolmar::DicomElement* pixels = ds->FindElement(0x7FE0, 0x0010);
    s.rows = ds->GetUShort(0x0028, 0x0010);
    s.columns = ds->GetUShort(0x0028, 0x0011);
    s.bitsStored = ds->GetUShort(0x0028, 0x0101);
    s.frames.emplace_back(pixels->Value(), pixels->Value() + pixels->length);
    s.totalBytes += pixels->length;
    s.images.push_back(std::move(ds));
  }
  if (s.frames.empty()) Fail("no .dcm files");
  const double mb = static_cast<double>(s.totalBytes) / 1e6;
  std::printf("series: %zu slices of %d x %d, %d bits stored, %.1f MB of pixels, best of %d\n",
              s.frames.size(), s.columns, s.rows, s.bitsStored, mb, rounds);

  const size_t n = s.frames.size();
  std::vector<Bytes> ours(n), dcmtk(n), gdcm(n);
  Bytes out(s.frames[0].size());
  std::vector<Row> jpeg;
  jpeg.push_back({"encode, ours (Pixcodec, predictor 1)",
                  BestSeconds(rounds,
                              [&] {
                                for (size_t i = 0; i < n; ++i) ours[i] = OursEncode(s, s.frames[i]);
                              }),
                  mb});
  jpeg.push_back({"encode, DCMTK (IJG 12-bit lossless, predictor 1)",
                  BestSeconds(rounds,
                              [&] {
                                for (size_t i = 0; i < n; ++i)
                                  dcmtk[i] = DcmtkEncode(s, s.frames[i]);
                              }),
                  mb});
  jpeg.push_back({"encode, GDCM (JPEG lossless process 14, SV1)",
                  BestSeconds(rounds,
                              [&] {
                                for (size_t i = 0; i < n; ++i) gdcm[i] = GdcmEncode(s, s.frames[i]);
                              }),
                  mb});
  // Every decoder reads the same streams: DCMTK's, then each codec's own.
  jpeg.push_back({"decode DCMTK's streams, ours",
                  BestSeconds(rounds,
                              [&] {
                                for (size_t i = 0; i < n; ++i) OursDecode(s, dcmtk[i], out);
                              }),
                  mb});
  jpeg.push_back({"decode DCMTK's streams, DCMTK",
                  BestSeconds(rounds,
                              [&] {
                                for (size_t i = 0; i < n; ++i) DcmtkDecode(dcmtk[i], out);
                              }),
                  mb});
  jpeg.push_back({"decode DCMTK's streams, GDCM",
                  BestSeconds(rounds,
                              [&] {
                                for (size_t i = 0; i < n; ++i) GdcmDecode(s, dcmtk[i], out);
                              }),
                  mb});
  jpeg.push_back({"decode own streams, ours",
                  BestSeconds(rounds,
                              [&] {
                                for (size_t i = 0; i < n; ++i) OursDecode(s, ours[i], out);
                              }),
                  mb});
  jpeg.push_back({"decode own streams, GDCM",
                  BestSeconds(rounds,
                              [&] {
                                for (size_t i = 0; i < n; ++i) GdcmDecode(s, gdcm[i], out);
                              }),
                  mb});
  // Correctness of what was timed.
  for (size_t i = 0; i < n; ++i) {
    for (const Bytes* stream : {&ours[i], &dcmtk[i], &gdcm[i]}) {
      OursDecode(s, *stream, out);
      if (out != s.frames[i]) Fail("lossless decode differs at slice " + std::to_string(i + 1));
    }
    DcmtkDecode(ours[i], out);
    if (out != s.frames[i]) Fail("DCMTK decodes our stream differently");
  }
  size_t oursBytes = 0, dcmtkBytes = 0, gdcmBytes = 0;
  for (size_t i = 0; i < n; ++i) {
    oursBytes += ours[i].size();
    dcmtkBytes += dcmtk[i].size();
    gdcmBytes += gdcm[i].size();
  }
  Print(jpeg, "Lossless JPEG (MB/s of decoded pixels)");
  std::printf("compressed size: ours %.1f MB, DCMTK %.1f MB, GDCM %.1f MB\n", oursBytes / 1e6,
              dcmtkBytes / 1e6, gdcmBytes / 1e6);
  std::printf(
      "ratios: decode DCMTK/ours %.2f, GDCM/ours %.2f; encode DCMTK/ours %.2f, "
      "GDCM/ours %.2f\n",
      jpeg[4].seconds / jpeg[3].seconds, jpeg[5].seconds / jpeg[3].seconds,
      jpeg[1].seconds / jpeg[0].seconds, jpeg[2].seconds / jpeg[0].seconds);

  // ZIP against raw zlib level 1 on the same frames, in turn within each round. Both sides
  // keep every result, as a viewer keeps its images, so fresh memory costs both the same.
  const tolmar::ZlibFunctions* zlib = tolmar::ZlibLibrary();
  std::vector<Bytes> deflated(n);
  std::vector<std::unique_ptr<uint8_t[]>> kept(n);
  std::vector<std::unique_ptr<tolmar::DicomDataSet>> work(n), zipped(n);
  double rawCompress = 1e30, rawUncompress = 1e30, zipCompress = 1e30, zipDecompress = 1e30;
  // The order alternates between rounds: whichever runs second finds the allocator warmer.
  for (int r = 0; r < 2 * rounds; ++r) {
    for (size_t i = 0; i < n; ++i) work[i] = s.images[i]->Clone();
    const auto ours = [&] {
      zipCompress = std::min(zipCompress, BestSeconds(1, [&] {
                               for (size_t i = 0; i < n; ++i) {
                                 if (!tolmar::CompressPixelData(*work[i], "ZIP"))
                                   Fail("ZIP failed");
                               }
                             }));
    };
    if (r % 2 == 0) ours();
    rawCompress = std::min(rawCompress, BestSeconds(1, [&] {
                             for (size_t i = 0; i < n; ++i) {
                               kept[i].reset(new uint8_t[s.frames[i].size()]);
                               unsigned long length = s.frames[i].size();
                               zlib->compress2(kept[i].get(), &length, s.frames[i].data(),
                                               s.frames[i].size(), 1);
                               deflated[i].assign(kept[i].get(), kept[i].get() + length);
                             }
                           }));
    if (r % 2 == 1) ours();
    for (auto& k : kept) k.reset();
  }
  for (size_t i = 0; i < n; ++i) zipped[i] = work[i]->Clone();
  for (int r = 0; r < 2 * rounds; ++r) {
    for (size_t i = 0; i < n; ++i) work[i] = zipped[i]->Clone();
    const auto ours = [&] {
      zipDecompress = std::min(zipDecompress, BestSeconds(1, [&] {
                                 for (size_t i = 0; i < n; ++i) {
                                   if (!tolmar::DecompressPixelData(*work[i])) Fail("unZIP failed");
                                 }
                               }));
    };
    if (r % 2 == 0) ours();
    rawUncompress = std::min(rawUncompress, BestSeconds(1, [&] {
                               for (size_t i = 0; i < n; ++i) {
                                 kept[i].reset(new uint8_t[s.frames[i].size()]);
                                 unsigned long length = s.frames[i].size();
                                 zlib->uncompress(kept[i].get(), &length, deflated[i].data(),
                                                  deflated[i].size());
                               }
                             }));
    if (r % 2 == 1) ours();
    for (auto& k : kept) k.reset();
  }
  for (size_t i = 0; i < n; ++i) {
    const tolmar::DicomElement* p = work[i]->FindElement(0x7FE0, 0x0010);
    if (!std::equal(s.frames[i].begin(), s.frames[i].end(), p->Value())) Fail("ZIP differs");
  }
  std::vector<Row> zip = {{"raw zlib compress2, level 1", rawCompress, mb},
                          {"CompressPixelData \"ZIP\"", zipCompress, mb},
                          {"raw zlib uncompress", rawUncompress, mb},
                          {"DecompressPixelData \"ZIP\"", zipDecompress, mb}};
  Print(zip, "ZIP against raw zlib (MB/s of pixels)");
  std::printf("ratios: compress ZIP/zlib %.3f, decompress ZIP/zlib %.3f\n",
              zip[1].seconds / zip[0].seconds, zip[3].seconds / zip[2].seconds);

  // ELPEG.
  std::vector<Row> elpeg;
  double elpegEncode = 1e30, elpegDecode = 1e30;
  size_t elpegBytes = 0;
  for (int r = 0; r < rounds; ++r) {
    for (size_t i = 0; i < n; ++i) work[i] = s.images[i]->Clone();
    elpegEncode = std::min(elpegEncode, BestSeconds(1, [&] {
                             for (size_t i = 0; i < n; ++i) {
                               if (!tolmar::CompressPixelData(*work[i], "ELPEG"))
                                 Fail("ELPEG failed");
                             }
                           }));
    elpegBytes = 0;
    for (size_t i = 0; i < n; ++i) elpegBytes += work[i]->FindElement(0x7FE0, 0x0010)->length;
    elpegDecode = std::min(elpegDecode, BestSeconds(1, [&] {
                             for (size_t i = 0; i < n; ++i) {
                               if (!tolmar::DecompressPixelData(*work[i])) Fail("unELPEG failed");
                             }
                           }));
  }
  for (size_t i = 0; i < n; ++i) {
    const tolmar::DicomElement* p = work[i]->FindElement(0x7FE0, 0x0010);
    if (!std::equal(s.frames[i].begin(), s.frames[i].end(), p->Value())) Fail("ELPEG differs");
  }
  elpeg.push_back({"CompressPixelData \"ELPEG\"", elpegEncode, mb});
  elpeg.push_back({"DecompressPixelData \"ELPEG\"", elpegDecode, mb});
  Print(elpeg, "ELPEG (MB/s of pixels)");
  size_t zipBytes = 0;
  for (const auto& d : deflated) zipBytes += d.size();
  std::printf("compressed size: ELPEG %.1f MB, zlib level 1 %.1f MB, of %.1f MB\n",
              elpegBytes / 1e6, zipBytes / 1e6, mb);
  return 0;
}
