// The JPEG codec library against files written by other software: DCMTK's dcmcjpeg and
// GDCM's gdcmconv applied at test time, and pydicom's JPEG test files. Our decoded pixels
// must equal what DCMTK's dcmdjpeg decodes (bit-exact for lossless).
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "CompressionFixtures.h"
#include "dicom/PixcodecLibrary.h"
#include "dicom/PixelCompression.h"

namespace tolmar {
namespace {

using test::CtLikePixels;
using test::ImageSpec;
using test::MakeImage;
using test::PixelBytes;

// Largest difference between two pixel buffers of the same layout (16-bit samples when wide).
int MaxDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, bool wide) {
  int worst = 0;
  for (size_t i = 0; i + (wide ? 1 : 0) < a.size(); i += wide ? 2 : 1) {
    const int x = wide ? a[i] | (a[i + 1] << 8) : a[i];
    const int y = wide ? b[i] | (b[i + 1] << 8) : b[i];
    worst = std::max(worst, std::abs(x - y));
  }
  return worst;
}

std::vector<uint8_t> DecodedPixels(const std::string& path) {
  DicomError error;
  auto ds = ReadDicomImage(path, ReadMode::FullRead, &error);
  EXPECT_NE(ds, nullptr) << path << ": " << error.ToString();
  return ds ? PixelBytes(*ds) : std::vector<uint8_t>{};
}

struct OracleCase {
  const char* name;
  ImageSpec shape;
  const char* program;
  const char* options;  // between the program and IN OUT
  int tolerance;        // against dcmdjpeg; 0 also means lossless against the original
};

class JpegFromOtherEncoderTest : public testing::TestWithParam<OracleCase> {};

TEST_P(JpegFromOtherEncoderTest, DecodesLikeDcmdjpeg) {
  const OracleCase& c = GetParam();
  if (!test::ProgramInstalled(c.program) || !test::ProgramInstalled("dcmdjpeg")) {
    GTEST_SKIP() << c.program << " or dcmdjpeg is not installed";
  }
  if (!PixcodecLibrary()) GTEST_SKIP() << "libPixcodec.so is not in the program folder";
  test::TempFolder folder;
  const auto pixels = CtLikePixels(c.shape, 11);
  const std::string original = folder.File("original.dcm");
  const std::string encoded = folder.File("encoded.dcm");
  const std::string reference = folder.File("reference.dcm");
  ASSERT_TRUE(WriteDicomFile(original, FileLayout::PartTenExplicit, MakeImage(c.shape, pixels)));
  ASSERT_TRUE(
      test::RunQuietly(std::string(c.program) + " " + c.options + " " + original + " " + encoded))
      << c.program << " " << c.options;
  ASSERT_TRUE(test::RunQuietly("dcmdjpeg " + encoded + " " + reference));

  const auto ours = DecodedPixels(encoded);
  const auto theirs = DecodedPixels(reference);
  ASSERT_EQ(ours.size(), pixels.size());
  ASSERT_EQ(theirs.size(), pixels.size());
  const bool wide = c.shape.bitsAllocated > 8;
  EXPECT_LE(MaxDifference(ours, theirs, wide), c.tolerance);
  if (c.tolerance == 0) {
    EXPECT_EQ(ours, pixels);
  }
}

const ImageSpec kCt12{96, 80, 16, 12};
const ImageSpec kCt16{64, 72, 16, 16};
const ImageSpec kGrey8{72, 64, 8, 8};
const ImageSpec kRgb8{40, 56, 8, 8, "RGB"};

INSTANTIATE_TEST_SUITE_P(
    Encoders, JpegFromOtherEncoderTest,
    testing::Values(
        OracleCase{"DcmtkBaseline", kGrey8, "dcmcjpeg", "+eb", 2},
        OracleCase{"DcmtkBaselineRgbWithoutColourTransform", kRgb8, "dcmcjpeg", "+eb +cr", 2},
        OracleCase{"DcmtkExtended12Bit", kCt12, "dcmcjpeg", "+ee", 2},
        OracleCase{"DcmtkExtended12BitLowQuality", kCt12, "dcmcjpeg", "+ee +q 40", 2},
        OracleCase{"DcmtkProgressive", kGrey8, "dcmcjpeg", "+ep", 2},
        OracleCase{"DcmtkLosslessFirstOrder", kCt12, "dcmcjpeg", "+e1", 0},
        OracleCase{"DcmtkLosslessPredictor6", kCt12, "dcmcjpeg", "+el", 0},
        OracleCase{"DcmtkLosslessPredictor7", kCt12, "dcmcjpeg", "+el +sv 7", 0},
        OracleCase{"DcmtkLosslessPredictor5On16Bits", kCt16, "dcmcjpeg", "+el +sv 5", 0},
        OracleCase{"DcmtkLosslessPredictor2On8Bits", kGrey8, "dcmcjpeg", "+el +sv 2", 0},
        OracleCase{"DcmtkLosslessPredictor3Rgb", kRgb8, "dcmcjpeg", "+el +sv 3", 0},
        OracleCase{"DcmtkLosslessPredictor4PointTransform2", kCt12, "dcmcjpeg", "+el +sv 4 +pt 2",
                   1 << 30},
        OracleCase{"DcmtkLosslessPredictor1On16Bits", kCt16, "dcmcjpeg", "+el +sv 1", 0},
        OracleCase{"GdcmLossless", kCt12, "gdcmconv", "--jpeg", 0},
        OracleCase{"GdcmLosslessRgb", kRgb8, "gdcmconv", "--jpeg", 0},
        OracleCase{"GdcmLossy", kGrey8, "gdcmconv", "--jpeg --lossy -q 85", 2}),
    [](const testing::TestParamInfo<OracleCase>& info) { return std::string(info.param.name); });

// A point transform drops low bits: what we decode equals dcmdjpeg exactly, and equals
// the original with its two low bits cleared.
TEST(JpegFromOtherEncoder, PointTransformDecodesBitExactWithDcmdjpeg) {
  if (!test::ProgramInstalled("dcmcjpeg") || !test::ProgramInstalled("dcmdjpeg")) GTEST_SKIP();
  if (!PixcodecLibrary()) GTEST_SKIP() << "libPixcodec.so is not in the program folder";
  test::TempFolder folder;
  const auto pixels = CtLikePixels(kCt12, 5);
  ASSERT_TRUE(
      WriteDicomFile(folder.File("o.dcm"), FileLayout::PartTenExplicit, MakeImage(kCt12, pixels)));
  ASSERT_TRUE(test::RunQuietly("dcmcjpeg +el +sv 4 +pt 2 " + folder.File("o.dcm") + " " +
                               folder.File("e.dcm")));
  ASSERT_TRUE(test::RunQuietly("dcmdjpeg " + folder.File("e.dcm") + " " + folder.File("r.dcm")));
  const auto ours = DecodedPixels(folder.File("e.dcm"));
  EXPECT_EQ(ours, DecodedPixels(folder.File("r.dcm")));
  auto cleared = pixels;
  for (size_t i = 0; i < cleared.size(); i += 2) cleared[i] &= 0xFC;
  EXPECT_EQ(ours, cleared);
}

struct PydicomCase {
  const char* file;
  int tolerance;
};

class PydicomJpegFileTest : public testing::TestWithParam<PydicomCase> {};

TEST_P(PydicomJpegFileTest, DecodesLikeDcmdjpeg) {
  const std::string path =
      std::string("/usr/lib/python3/dist-packages/pydicom/data/test_files/") + GetParam().file;
  if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is not installed";
  if (!test::ProgramInstalled("dcmdjpeg")) GTEST_SKIP() << "dcmdjpeg is not installed";
  if (!PixcodecLibrary()) GTEST_SKIP() << "libPixcodec.so is not in the program folder";
  test::TempFolder folder;
  ASSERT_TRUE(test::RunQuietly("dcmdjpeg '" + path + "' " + folder.File("r.dcm")));
  auto header = ReadDicomFile(path, ReadMode::HeaderOnly);
  ASSERT_NE(header, nullptr);
  const bool wide = header->GetUShort(0x0028, 0x0100) > 8;
  const auto ours = DecodedPixels(path);
  const auto theirs = DecodedPixels(folder.File("r.dcm"));
  ASSERT_FALSE(ours.empty());
  ASSERT_EQ(ours.size(), theirs.size());
  EXPECT_LE(MaxDifference(ours, theirs, wide), GetParam().tolerance);
}

INSTANTIATE_TEST_SUITE_P(Files, PydicomJpegFileTest,
                         testing::Values(PydicomCase{"JPEG-lossy.dcm", 2},
                                         PydicomCase{"JPGExtended.dcm", 2},
                                         PydicomCase{"SC_jpeg_no_color_transform.dcm", 2},
                                         PydicomCase{"SC_jpeg_no_color_transform_2.dcm", 2},
                                         PydicomCase{"SC_rgb_dcmtk_+eb+cr.dcm", 2},
                                         PydicomCase{"SC_rgb_jpeg_app14_dcmd.dcm", 2},
                                         PydicomCase{"SC_rgb_jpeg_lossy_gdcm.dcm", 2},
                                         PydicomCase{"SC_rgb_jpeg_gdcm.dcm", 0}),
                         [](const testing::TestParamInfo<PydicomCase>& info) {
                           std::string name;
                           for (const char* p = info.param.file; *p && *p != '.'; ++p) {
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           }
                           return name;
                         });

// What DCMCompress writes, other software reads: our lossless frames decode bit-exact
// with dcmdjpeg once the file carries the standard lossless syntax.
TEST(PixcodecOwnEncoder, LosslessFramesDecodeBitExactWithDcmdjpeg) {
  if (!test::ProgramInstalled("dcmdjpeg")) GTEST_SKIP() << "dcmdjpeg is not installed";
  if (!PixcodecLibrary()) GTEST_SKIP() << "libPixcodec.so is not in the program folder";
  for (const ImageSpec& shape : {kCt12, kCt16, kGrey8, kRgb8}) {
    test::TempFolder folder;
    const auto pixels = CtLikePixels(shape, 21);
    auto ds = MakeImage(shape, pixels);
    ASSERT_TRUE(CompressPixelData(*ds, "JPEGLOSSLESS"));
    test::PutText(*ds, 0x0002, 0x0010, vr::UI, "1.2.840.10008.1.2.4.70");
    ds->RemoveElement(0x0500, 0x0001);
    ASSERT_TRUE(WriteDicomFile(folder.File("e.dcm"), FileLayout::PartTenExplicit, std::move(ds)));
    ASSERT_TRUE(test::RunQuietly("dcmdjpeg " + folder.File("e.dcm") + " " + folder.File("r.dcm")));
    EXPECT_EQ(DecodedPixels(folder.File("r.dcm")), pixels) << shape.bitsStored << shape.photometric;
  }
}

// Restart intervals: PVRG's encoder (another independent writer) puts restart markers
// every N rows; our decoder must agree with dcmdjpeg on such streams.
TEST(JpegFromOtherEncoder, RestartIntervalsDecodeLikeDcmdjpeg) {
  if (!test::ProgramInstalled("pvrg-jpeg") || !test::ProgramInstalled("dcmdjpeg")) {
    GTEST_SKIP() << "pvrg-jpeg or dcmdjpeg is not installed";
  }
  if (!PixcodecLibrary()) GTEST_SKIP() << "libPixcodec.so is not in the program folder";
  const ImageSpec shape{48, 64, 16, 12};
  const auto pixels = CtLikePixels(shape, 9);
  for (const char* options : {"-k 1 -r 64", "-k 6 -r 128", "-k 7"}) {
    test::TempFolder folder;
    // PVRG reads 16-bit samples big endian.
    std::vector<uint8_t> bigEndian(pixels.size());
    for (size_t i = 0; i < pixels.size(); i += 2) {
      bigEndian[i] = pixels[i + 1];
      bigEndian[i + 1] = pixels[i];
    }
    {
      std::FILE* raw = std::fopen(folder.File("c.raw").c_str(), "wb");
      ASSERT_NE(raw, nullptr);
      std::fwrite(bigEndian.data(), 1, bigEndian.size(), raw);
      std::fclose(raw);
    }
    ASSERT_TRUE(test::RunQuietly("cd " + folder.File("") + " && pvrg-jpeg -iw 64 -ih 48 -p 12 " +
                                 options + " -s s.jpg c.raw"));
    std::vector<uint8_t> stream;
    {
      std::FILE* jpeg = std::fopen(folder.File("s.jpg").c_str(), "rb");
      ASSERT_NE(jpeg, nullptr);
      uint8_t buffer[4096];
      size_t n = 0;
      while ((n = std::fread(buffer, 1, sizeof buffer, jpeg)) > 0) {
        stream.insert(stream.end(), buffer, buffer + n);
      }
      std::fclose(jpeg);
    }
    auto ds = MakeImage(shape, pixels);
    auto encapsulated = DicomElement::Empty(0x7FE0, 0x0010, vr::OB);
    auto table = std::make_unique<DicomDataSet>();
    table->AddElement(DicomElement::Empty(0xFFFE, 0xE000, vr::kUnknown));
    encapsulated->AppendItem(std::move(table));
    auto item = std::make_unique<DicomDataSet>();
    item->AddElement(DicomElement::FromBytes(0xFFFE, 0xE000, vr::kUnknown, stream));
    encapsulated->AppendItem(std::move(item));
    ds->SetElement(std::move(encapsulated));
    test::PutText(*ds, 0x0002, 0x0010, vr::UI, "1.2.840.10008.1.2.4.70");
    ASSERT_TRUE(WriteDicomFile(folder.File("e.dcm"), FileLayout::PartTenExplicit, std::move(ds)));
    ASSERT_TRUE(test::RunQuietly("dcmdjpeg " + folder.File("e.dcm") + " " + folder.File("r.dcm")));
    const auto ours = DecodedPixels(folder.File("e.dcm"));
    ASSERT_EQ(ours.size(), pixels.size()) << options;
    EXPECT_EQ(ours, DecodedPixels(folder.File("r.dcm"))) << options;
  }
}

// ------------------------------------------------------------------ the exports themselves

TEST(PixcodecExports, AnswerVersionTwo) {
  const PixcodecFunctions* codec = PixcodecLibrary();
  if (!codec) GTEST_SKIP() << "libPixcodec.so is not in the program folder";
  EXPECT_EQ(codec->version, 2);
  EXPECT_TRUE(codec->CanCompressLossy());
  EXPECT_TRUE(codec->CanDecompressLossy());
}

std::vector<uint8_t> CompressFrame(const PixcodecFunctions& codec, int columns, int rows, int bits,
                                   const std::vector<uint8_t>& frame, int quality) {
  int length = 0;
  if (codec.compressV2(columns, rows, bits, frame.data(), &length, quality) != 0) return {};
  std::vector<uint8_t> out(static_cast<size_t>(length));
  EXPECT_EQ(codec.getCompressed(bits, out.data()), 0);
  return out;
}

TEST(PixcodecExports, DecompressRefusesAMismatchedFrame) {
  const PixcodecFunctions* codec = PixcodecLibrary();
  if (!codec) GTEST_SKIP() << "libPixcodec.so is not in the program folder";
  const ImageSpec shape{20, 10, 16, 12};
  const auto frame = CtLikePixels(shape);
  const auto jpeg = CompressFrame(*codec, 10, 20, 12, frame, 100);
  ASSERT_FALSE(jpeg.empty());
  std::vector<uint8_t> out(frame.size() + 2);
  const int n = static_cast<int>(jpeg.size());
  EXPECT_EQ(codec->decompress(10, 20, 12, jpeg.data(), n, out.data(), 400), 0);
  EXPECT_TRUE(std::equal(frame.begin(), frame.end(), out.begin()));
  EXPECT_NE(codec->decompress(10, 20, 12, jpeg.data(), n, out.data(), 402), 0);  // size
  EXPECT_NE(codec->decompress(20, 10, 12, jpeg.data(), n, out.data(), 400), 0);  // shape
  EXPECT_NE(codec->decompress(10, 20, 8, jpeg.data(), n, out.data(), 200), 0);   // too narrow
  EXPECT_NE(codec->decompress(10, 20, 24, jpeg.data(), n, out.data(), 600), 0);  // not colour
  EXPECT_NE(codec->decompress(10, 20, 12, jpeg.data(), 0, out.data(), 400), 0);
  EXPECT_NE(codec->compressV2(10, 20, 16, frame.data(), nullptr, 90), 0);
  int length = 0;
  EXPECT_NE(codec->compressV2(10, 20, 16, frame.data(), &length, 90), 0);  // lossy 16-bit
}

// Damaged streams fail or decode to something; they never read outside the fragment
// (the copy below is exactly as long as the fragment, for the address sanitizer).
TEST(PixcodecExports, DamagedStreamsNeverCrash) {
  const PixcodecFunctions* codec = PixcodecLibrary();
  if (!codec) GTEST_SKIP() << "libPixcodec.so is not in the program folder";
  const ImageSpec grey{24, 20, 16, 12};
  const ImageSpec rgb{24, 20, 8, 8, "RGB"};
  struct Stream {
    int bits;
    int quality;
    std::vector<uint8_t> frame;
  };
  const Stream streams[] = {{12, 100, CtLikePixels(grey)},
                            {24, 100, CtLikePixels(rgb)},
                            {24, 80, CtLikePixels(rgb)},
                            {12, 90, CtLikePixels(grey)}};
  std::mt19937 random(1);
  for (const auto& s : streams) {
    const auto jpeg = CompressFrame(*codec, 20, 24, s.bits, s.frame, s.quality);
    ASSERT_FALSE(jpeg.empty());
    std::vector<uint8_t> out(s.frame.size());
    for (int round = 0; round < 300; ++round) {
      std::vector<uint8_t> damaged = jpeg;
      const int edits = 1 + static_cast<int>(random() % 4);
      for (int e = 0; e < edits; ++e)
        damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
      if (round % 3 == 0) damaged.resize(random() % damaged.size() + 1);
      std::unique_ptr<uint8_t[]> exact(new uint8_t[damaged.size()]);
      std::copy(damaged.begin(), damaged.end(), exact.get());
      codec->decompress(20, 24, s.bits, exact.get(), static_cast<int>(damaged.size()), out.data(),
                        static_cast<int>(out.size()));
    }
  }
}

}  // namespace
}  // namespace tolmar
