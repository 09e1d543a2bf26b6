// Pixel data compression in place: kind strings, the ZIP, ELPEG and JPEG data layouts,
// refusals that leave the data set as it was, and the codec libraries missing.
#include <gtest/gtest.h>

#include <cstring>

#include "CompressionFixtures.h"
#include "dicom/ElpegCodec.h"
#include "dicom/MultiFrameReader.h"
#include "dicom/PixcodecLibrary.h"
#include "dicom/PixelCompression.h"
#include "dicom/ZlibLibrary.h"

namespace tolmar {
namespace {

using test::CtLikePixels;
using test::ImageSpec;
using test::MakeImage;
using test::PixelBytes;
using Method = CompressionRequest::Method;

struct KindCase {
  const char* name;
  const char* kind;
  Method method;
  int level;
  int quality;
};

class KindStringTest : public testing::TestWithParam<KindCase> {};

TEST_P(KindStringTest, GivesMethodLevelAndQuality) {
  const KindCase& c = GetParam();
  const CompressionRequest request = ParseCompressionKind(c.kind);
  EXPECT_EQ(request.method, c.method);
  if (c.method == Method::Zip) {
    EXPECT_EQ(request.level, c.level);
  }
  if (c.method == Method::JpegLossy || c.method == Method::JpegLossless) {
    EXPECT_EQ(request.quality, c.quality);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, KindStringTest,
    testing::Values(KindCase{"ZipAloneIsLevel1", "ZIP", Method::Zip, 1, 0},
                    KindCase{"ZipZeroIsLevel1", "ZIP 0", Method::Zip, 1, 0},
                    KindCase{"Zip9", "ZIP 9", Method::Zip, 9, 0},
                    KindCase{"Zip15IsLevel5", "ZIP 15", Method::Zip, 5, 0},
                    KindCase{"ZipNumberWithoutBlank", "ZIP9", Method::Zip, 9, 0},
                    KindCase{"LossyAloneIsQuality80", "JPEGLOSSY", Method::JpegLossy, 0, 80},
                    KindCase{"Lossy90", "JPEGLOSSY 90", Method::JpegLossy, 0, 90},
                    KindCase{"Lossy120IsQuality99", "JPEGLOSSY 120", Method::JpegLossy, 0, 99},
                    KindCase{"Lossless", "JPEGLOSSLESS", Method::JpegLossless, 0, 100},
                    KindCase{"Elpeg", "ELPEG", Method::Elpeg, 0, 0},
                    KindCase{"NoneAsksNothing", "NONE", Method::None, 0, 0},
                    KindCase{"KindsAreCaseSensitive", "zip", Method::None, 0, 0},
                    KindCase{"ZipWithTextAsksNothing", "ZIPPED", Method::None, 0, 0},
                    KindCase{"EmptyAsksNothing", "", Method::None, 0, 0}),
    [](const testing::TestParamInfo<KindCase>& info) { return std::string(info.param.name); });

TEST(CompressPixelData, UnknownKindSucceedsWithoutChange) {
  const ImageSpec shape;
  const auto pixels = CtLikePixels(shape);
  auto ds = MakeImage(shape, pixels);
  EXPECT_TRUE(CompressPixelData(*ds, "LZW"));
  EXPECT_EQ(PixelBytes(*ds), pixels);
  EXPECT_EQ(ds->FindElement(0x0500, 0x0001), nullptr);
}

// ------------------------------------------------------------------ ZIP

std::vector<uint8_t> ZlibReference(const std::vector<uint8_t>& data, int level) {
  const ZlibFunctions* zlib = ZlibLibrary();
  std::vector<uint8_t> out(data.size() + 1024);
  unsigned long length = out.size();
  EXPECT_EQ(zlib->compress2(out.data(), &length, data.data(), data.size(), level), 0);
  out.resize(length);
  return out;
}

TEST(ZipCompression, UsesTheLevelOfTheKindString) {
  ASSERT_NE(ZlibLibrary(), nullptr);
  const ImageSpec shape{128, 128};
  const auto pixels = CtLikePixels(shape);
  for (const auto& [kind, level] :
       std::vector<std::pair<std::string, int>>{{"ZIP", 1}, {"ZIP 9", 9}, {"ZIP 15", 5}}) {
    auto ds = MakeImage(shape, pixels);
    ASSERT_TRUE(CompressPixelData(*ds, kind)) << kind;
    EXPECT_EQ(PixelBytes(*ds), ZlibReference(pixels, level)) << kind;
    EXPECT_EQ(ds->GetText(0x0500, 0x0001), "ZIP");
  }
}

TEST(ZipCompression, RoundTripIsBitExactForEveryFrame) {
  const ImageSpec shape{40, 30, 16, 16, "MONOCHROME2", 3};
  const auto pixels = CtLikePixels(shape);
  auto ds = MakeImage(shape, pixels);
  ASSERT_TRUE(CompressPixelData(*ds, "ZIP 6"));
  EXPECT_LT(PixelBytes(*ds).size(), pixels.size());
  ASSERT_TRUE(DecompressPixelData(*ds));
  EXPECT_EQ(PixelBytes(*ds), pixels);
  EXPECT_EQ(ds->GetText(0x0500, 0x0001), "NONE");
}

TEST(ZipCompression, IncompressibleDataFailsAndStaysAsItWas) {
  const ImageSpec shape{16, 16, 8, 8};
  std::vector<uint8_t> noise(256);
  std::mt19937 random(3);
  for (auto& b : noise) b = static_cast<uint8_t>(random());
  auto ds = MakeImage(shape, noise);
  EXPECT_FALSE(CompressPixelData(*ds, "ZIP 9"));
  EXPECT_EQ(PixelBytes(*ds), noise);
  EXPECT_EQ(ds->FindElement(0x0500, 0x0001), nullptr);
}

// A ZIP data set whose compressed value is replaced by `value`.
std::unique_ptr<DicomDataSet> ZipDataSetWith(const std::vector<uint8_t>& value) {
  const ImageSpec shape{32, 32};
  auto ds = MakeImage(shape, CtLikePixels(shape));
  test::PutText(*ds, 0x0500, 0x0001, vr::CS, "ZIP");
  ds->SetElement(DicomElement::FromBytes(0x7FE0, 0x0010, vr::OW, value));
  return ds;
}

TEST(ZipDecompression, BadStreamsFailAndLeaveTheDataSetUnchanged) {
  const ImageSpec shape{32, 32};
  const auto frame = CtLikePixels(shape);
  const auto good = ZlibReference(frame, 6);
  auto larger = frame;
  larger.insert(larger.end(), 64, 0);
  const std::vector<uint8_t> shorter(frame.begin(), frame.end() - 2);
  auto corrupt = good;
  corrupt[good.size() / 2] ^= 0x55;
  auto trailing = good;
  trailing.insert(trailing.end(), {1, 2, 3, 4});
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"truncated", std::vector<uint8_t>(good.begin(), good.end() - 10)},
      {"inflates past the frame", ZlibReference(larger, 6)},
      {"inflates short of the frame", ZlibReference(shorter, 6)},
      {"corrupt", corrupt},
      {"longer than its stream", trailing},
      {"not zlib", frame}};
  for (const auto& [name, value] : cases) {
    auto ds = ZipDataSetWith(value);
    auto padded = value;
    if (padded.size() % 2) padded.push_back(0);
    EXPECT_FALSE(DecompressPixelData(*ds)) << name;
    EXPECT_EQ(PixelBytes(*ds), padded) << name;
    EXPECT_EQ(ds->GetText(0x0500, 0x0001), "ZIP") << name;
  }
  auto ds = ZipDataSetWith(good);
  EXPECT_TRUE(DecompressPixelData(*ds));
  EXPECT_EQ(PixelBytes(*ds), frame);
}

TEST(ZipDecompression, AHeaderPromisingFarMoreThanTheStreamCanHoldIsRefusedBeforeAllocating) {
  auto ds = ZipDataSetWith(ZlibReference(std::vector<uint8_t>(64, 0), 6));
  test::PutUShort(*ds, 0x0028, 0x0010, 30000);  // 30000 x 30000 x 16 bits: 1.8 GB promised
  test::PutUShort(*ds, 0x0028, 0x0011, 30000);
  DicomError error;
  EXPECT_FALSE(DecompressPixelData(*ds, &error));
  EXPECT_NE(error.what.find("too short"), std::string::npos) << error.what;
  EXPECT_EQ(ds->GetText(0x0500, 0x0001), "ZIP");
}

class WithoutZlib : public testing::Test {
 protected:
  void SetUp() override { RebindZlibLibraryForTesting("libz-that-is-not-installed.so.1"); }
  void TearDown() override { RebindZlibLibraryForTesting(kZlibLibraryName); }
};

TEST_F(WithoutZlib, EveryZipOperationFails) {
  const ImageSpec shape{32, 32};
  const auto pixels = CtLikePixels(shape);
  auto ds = MakeImage(shape, pixels);
  EXPECT_FALSE(CompressPixelData(*ds, "ZIP"));
  EXPECT_EQ(PixelBytes(*ds), pixels);

  RebindZlibLibraryForTesting(kZlibLibraryName);
  ASSERT_TRUE(CompressPixelData(*ds, "ZIP"));
  const auto compressed = PixelBytes(*ds);
  test::TempFolder folder;
  const std::string path = folder.File("zip.dcm");
  ASSERT_TRUE(WriteCompressedDicomFile(path, ds->Clone(), "ZIP"));
  RebindZlibLibraryForTesting("libz-that-is-not-installed.so.1");

  EXPECT_FALSE(DecompressPixelData(*ds));
  EXPECT_EQ(PixelBytes(*ds), compressed);
  std::vector<uint8_t> frame;
  EXPECT_FALSE(DecompressFrame(*ds, compressed.data(), static_cast<uint32_t>(compressed.size()),
                               pixels.size(), frame));
  // The viewer cannot open the image.
  EXPECT_EQ(ReadDicomImage(path, ReadMode::FullRead), nullptr);
  EXPECT_NE(ReadDicomFile(path, ReadMode::FullRead), nullptr);
}

// ------------------------------------------------------------------ ELPEG

std::vector<uint8_t> Row16(const std::vector<int>& values) {
  std::vector<uint8_t> bytes;
  for (int v : values) {
    bytes.push_back(static_cast<uint8_t>(v));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
  }
  return bytes;
}

TEST(ElpegCode, SinglePositivePixelGivesAnEightByteRecord) {
  std::vector<int> row(300, 0);
  row[100] = 1234;
  std::vector<uint8_t> records;
  std::vector<uint16_t> table;
  ASSERT_TRUE(ElpegEncode(Row16(row).data(), 1, 300, records, table));
  EXPECT_EQ(table, std::vector<uint16_t>{4});
  EXPECT_EQ(records, (std::vector<uint8_t>{100, 0, 0xD2, 0x04, 0, 0, 0, 0}));
}

TEST(ElpegCode, DifferencesTakeOneOrTwoBytesAndPairsAreExchanged) {
  // Differences -64, +64, -65: one byte 0x40, then 0x80 0x40, then 0xFF 0xBF.
  const std::vector<int> row = {0, 1000, 936, 1000, 935, 0, 0};
  std::vector<uint8_t> records;
  std::vector<uint16_t> table;
  ASSERT_TRUE(ElpegEncode(Row16(row).data(), 1, 7, records, table));
  const std::vector<uint8_t> expected = {1,    0,    0xE8, 0x03, 3,    0,     // s, f, n
                                         0x80, 0x40, 0xFF, 0x40, 0x00, 0xBF,  // exchanged pairs
                                         0,    0};
  EXPECT_EQ(records, expected);
  EXPECT_EQ(table, std::vector<uint16_t>{7});
}

TEST(ElpegCode, RoundTripKeepsTwelveBitsExactly) {
  const ImageSpec shape{64, 80, 16, 12};
  auto pixels = CtLikePixels(shape);
  // Rows of only zeros, large jumps both ways and an odd difference count.
  for (int c = 0; c < 80; ++c) pixels[2 * (5 * 80 + c)] = pixels[2 * (5 * 80 + c) + 1] = 0;
  const auto jumps = Row16({0, 4095, 1, 4095, 0, 2000, 17, 0});
  std::copy(jumps.begin(), jumps.end(), pixels.begin() + 2 * (9 * 80));
  auto ds = MakeImage(shape, pixels);
  ASSERT_TRUE(CompressPixelData(*ds, "ELPEG"));
  EXPECT_EQ(ds->GetText(0x0500, 0x0001), "ELPEG");
  EXPECT_EQ(ds->FindElement(0x0500, 0x0002)->length, 64u * 2);
  ASSERT_TRUE(DecompressPixelData(*ds));
  EXPECT_EQ(PixelBytes(*ds), pixels);
  EXPECT_EQ(ds->GetText(0x0500, 0x0001), "NONE");
  EXPECT_EQ(ds->FindElement(0x0500, 0x0002)->length, 0u);
}

TEST(ElpegCode, RefusesWhatItCannotCode) {
  const ImageSpec shape{8, 8, 16, 12};
  auto negative = CtLikePixels(shape);
  negative[1] = 0x80;  // first value negative
  const ImageSpec eightBit{8, 8, 8, 8};
  const ImageSpec frames{8, 8, 16, 12, "MONOCHROME2", 2};
  std::vector<std::unique_ptr<DicomDataSet>> sets;
  sets.push_back(MakeImage(shape, negative));
  sets.push_back(MakeImage(eightBit, CtLikePixels(eightBit)));
  sets.push_back(MakeImage(frames, CtLikePixels(frames)));
  sets.push_back(MakeImage(shape, std::vector<uint8_t>(64)));  // shorter than the image
  for (auto& ds : sets) {
    const auto before = PixelBytes(*ds);
    EXPECT_FALSE(CompressPixelData(*ds, "ELPEG"));
    EXPECT_EQ(PixelBytes(*ds), before);
    EXPECT_EQ(ds->FindElement(0x0500, 0x0001), nullptr);
  }
}

struct ElpegBadCase {
  const char* name;
  std::vector<uint8_t> records;
  std::vector<uint16_t> table;  // two rows of eight columns
};

class ElpegBadInputTest : public testing::TestWithParam<ElpegBadCase> {};

TEST_P(ElpegBadInputTest, FailsWithoutWritingOutsideTheImage) {
  const ElpegBadCase& c = GetParam();
  const ImageSpec shape{2, 8, 16, 12};
  auto ds = MakeImage(shape, CtLikePixels(shape));
  test::PutText(*ds, 0x0500, 0x0001, vr::CS, "ELPEG");
  std::vector<uint8_t> table;
  for (uint16_t t : c.table) {
    table.push_back(static_cast<uint8_t>(t));
    table.push_back(static_cast<uint8_t>(t >> 8));
  }
  ds->SetElement(DicomElement::FromBytes(0x0500, 0x0002, vr::OW, table));
  ds->SetElement(DicomElement::FromBytes(0x7FE0, 0x0010, vr::OB, c.records));
  const auto before = PixelBytes(*ds);
  EXPECT_FALSE(DecompressPixelData(*ds));
  EXPECT_EQ(PixelBytes(*ds), before);
  EXPECT_EQ(ds->GetText(0x0500, 0x0001), "ELPEG");
  std::vector<uint8_t> frame;
  EXPECT_FALSE(DecompressFrame(*ds, c.records.data(), static_cast<uint32_t>(c.records.size()),
                               2 * 8 * 2, frame));
}

INSTANTIATE_TEST_SUITE_P(
    Records, ElpegBadInputTest,
    testing::Values(
        ElpegBadCase{"StartPastTheRow", {8, 0, 5, 0, 0, 0, 0, 0}, {4, 0}},
        ElpegBadCase{"CountPastTheRow", {6, 0, 5, 0, 2, 0, 1, 1, 0, 0}, {5, 0}},
        ElpegBadCase{"DifferencesPastTheRecord", {0, 0, 5, 0, 3, 0, 1, 1, 0, 0}, {5, 0}},
        ElpegBadCase{
            "TwoByteDifferenceCutByTheRecordEnd", {0, 0, 5, 0, 2, 0, 0x80, 0x01, 0, 0}, {5, 0}},
        ElpegBadCase{"RecordPastTheData", {0, 0, 5, 0, 0, 0, 0, 0}, {4, 4}},
        ElpegBadCase{"RecordShorterThanItsHeader", {0, 0, 5, 0}, {2, 0}},
        ElpegBadCase{"DataLongerThanTheTable", {0, 0, 5, 0, 0, 0, 0, 0, 9, 9}, {4, 0}},
        ElpegBadCase{"TableShorterThanTheRows", {0, 0, 5, 0, 0, 0, 0, 0}, {4}},
        ElpegBadCase{"UnusedBytesInsideARecord", {0, 0, 5, 0, 0, 0, 1, 1, 1, 1, 0, 0}, {6, 0}}),
    [](const testing::TestParamInfo<ElpegBadCase>& info) { return std::string(info.param.name); });

// ------------------------------------------------------------------ JPEG

bool CodecAvailable() { return PixcodecLibrary() != nullptr; }

TEST(JpegCompression, TwoFramesGiveAnOffsetTableAndTwoFragments) {
  if (!CodecAvailable()) GTEST_SKIP() << "libPixcodec.so is not in the program folder";
  const ImageSpec shape{32, 24, 16, 12, "MONOCHROME2", 2};
  const auto pixels = CtLikePixels(shape);
  auto ds = MakeImage(shape, pixels);
  ASSERT_TRUE(CompressPixelData(*ds, "JPEGLOSSLESS"));
  const DicomElement* encapsulated = ds->FindElement(0x7FE0, 0x0010);
  ASSERT_NE(encapsulated, nullptr);
  EXPECT_FALSE(encapsulated->HasValue());
  ASSERT_EQ(encapsulated->ItemCount(), 3u);
  const auto& items = *encapsulated->Items();
  const DicomElement* offsets = items[0]->FindElement(0xFFFE, 0xE000);
  const DicomElement* first = items[1]->FindElement(0xFFFE, 0xE000);
  ASSERT_TRUE(offsets && first);
  ASSERT_EQ(offsets->length, 8u);
  uint32_t o[2];
  std::memcpy(o, offsets->Value(), 8);
  EXPECT_EQ(o[0], 0u);
  EXPECT_EQ(o[1], first->length + (first->length & 1) + 8);
  EXPECT_EQ(ds->GetText(0x0500, 0x0001), "JPEGLOSSLESS");
  EXPECT_EQ(ds->GetText(0x0002, 0x0010), "1.2.840.780701.1.2.4.70");

  ASSERT_TRUE(DecompressPixelData(*ds));
  EXPECT_EQ(PixelBytes(*ds), pixels);
  EXPECT_EQ(ds->GetText(0x0500, 0x0001), "NONE");
}

struct JpegRoundTripCase {
  const char* name;
  ImageSpec shape;
  const char* kind;
  int tolerance;  // 0: lossless
};

class JpegRoundTripTest : public testing::TestWithParam<JpegRoundTripCase> {};

TEST_P(JpegRoundTripTest, DecodesWhatItEncoded) {
  if (!CodecAvailable()) GTEST_SKIP() << "libPixcodec.so is not in the program folder";
  const JpegRoundTripCase& c = GetParam();
  const auto pixels = CtLikePixels(c.shape);
  auto ds = MakeImage(c.shape, pixels);
  ASSERT_TRUE(CompressPixelData(*ds, c.kind));
  EXPECT_EQ(ds->GetText(0x0002, 0x0010),
            c.tolerance == 0 ? "1.2.840.780701.1.2.4.70" : "1.2.840.780701.1.2.4.50");
  // Through a file, as the viewer meets it.
  test::TempFolder folder;
  const std::string path = folder.File("jpeg.dcm");
  ASSERT_TRUE(WriteCompressedDicomFile(path, std::move(ds), "ZIP"));
  auto read = ReadDicomImage(path, ReadMode::FullRead);
  ASSERT_NE(read, nullptr);
  const auto decoded = PixelBytes(*read);
  ASSERT_EQ(decoded.size(), pixels.size());
  if (c.tolerance == 0) {
    EXPECT_EQ(decoded, pixels);
    return;
  }
  int worst = 0;
  const bool wide = c.shape.bitsAllocated > 8;
  for (size_t i = 0; i < pixels.size(); i += wide ? 2 : 1) {
    const int a = wide ? pixels[i] | (pixels[i + 1] << 8) : pixels[i];
    const int b = wide ? decoded[i] | (decoded[i + 1] << 8) : decoded[i];
    worst = std::max(worst, std::abs(a - b));
  }
  EXPECT_LE(worst, c.tolerance);
  EXPECT_GT(worst, 0) << "lossy coding that changes nothing is suspicious";
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, JpegRoundTripTest,
    testing::Values(
        JpegRoundTripCase{"Lossless8Bit", {40, 36, 8, 8}, "JPEGLOSSLESS", 0},
        JpegRoundTripCase{"Lossless12Bit", {64, 50, 16, 12}, "JPEGLOSSLESS", 0},
        JpegRoundTripCase{"Lossless16Bit", {33, 17, 16, 16}, "JPEGLOSSLESS", 0},
        JpegRoundTripCase{"LosslessEightStoredInSixteen", {20, 20, 16, 8}, "JPEGLOSSLESS", 0},
        JpegRoundTripCase{"LosslessRgb", {30, 22, 8, 8, "RGB"}, "JPEGLOSSLESS", 0},
        JpegRoundTripCase{"LosslessFrames", {16, 16, 16, 12, "MONOCHROME2", 3}, "JPEGLOSSLESS", 0},
        JpegRoundTripCase{"Lossy8Bit", {64, 64, 8, 8}, "JPEGLOSSY 90", 40},
        JpegRoundTripCase{"LossyRgb", {64, 48, 8, 8, "RGB"}, "JPEGLOSSY", 60},
        JpegRoundTripCase{"Lossy12Bit", {64, 64, 16, 12}, "JPEGLOSSY 95", 200}),
    [](const testing::TestParamInfo<JpegRoundTripCase>& info) {
      return std::string(info.param.name);
    });

TEST(JpegCompression, LosslessKeepsSamplesWiderThanBitsStored) {
  if (!CodecAvailable()) GTEST_SKIP() << "libPixcodec.so is not in the program folder";
  // Signed CT data: negative values set the bits above bits stored.
  const ImageSpec shape{16, 16, 16, 12, "MONOCHROME2", 1, 1};
  auto pixels = CtLikePixels(shape);
  for (size_t i = 0; i < pixels.size(); i += 8) pixels[i + 1] = 0xFC;
  auto ds = MakeImage(shape, pixels);
  ASSERT_TRUE(CompressPixelData(*ds, "JPEGLOSSLESS"));
  ASSERT_TRUE(DecompressPixelData(*ds));
  EXPECT_EQ(PixelBytes(*ds), pixels);
}

TEST(JpegCompression, RefusesPlanarColourAndOddLayouts) {
  if (!CodecAvailable()) GTEST_SKIP() << "libPixcodec.so is not in the program folder";
  const ImageSpec rgb{8, 8, 8, 8, "RGB"};
  auto planar = MakeImage(rgb, CtLikePixels(rgb));
  test::PutUShort(*planar, 0x0028, 0x0006, 1);
  const ImageSpec ybr{8, 8, 8, 8, "YBR_FULL"};
  const ImageSpec shallow{8, 8, 8, 4};
  const ImageSpec tooWide{8, 8, 8, 12};  // 12 bits stored in 8 allocated
  std::vector<std::unique_ptr<DicomDataSet>> sets;
  sets.push_back(std::move(planar));
  sets.push_back(MakeImage(ybr, std::vector<uint8_t>(64)));
  sets.push_back(MakeImage(shallow, std::vector<uint8_t>(64)));
  sets.push_back(MakeImage(tooWide, std::vector<uint8_t>(64)));
  sets.push_back(MakeImage(ImageSpec{8, 8, 16, 12, "MONOCHROME2", 2}, std::vector<uint8_t>(128)));
  for (auto& ds : sets) {
    for (const char* kind : {"JPEGLOSSLESS", "JPEGLOSSY"}) {
      const auto before = PixelBytes(*ds);
      EXPECT_FALSE(CompressPixelData(*ds, kind)) << kind;
      EXPECT_EQ(PixelBytes(*ds), before);
      EXPECT_EQ(ds->FindElement(0x0500, 0x0001), nullptr);
      EXPECT_EQ(ds->FindElement(0x0002, 0x0010), nullptr);
    }
  }
}

TEST(JpegDecompression, KindNoneWithAJpegSyntaxIsNotDecoded) {
  if (!CodecAvailable()) GTEST_SKIP() << "libPixcodec.so is not in the program folder";
  const ImageSpec shape{16, 16};
  auto ds = MakeImage(shape, CtLikePixels(shape));
  ASSERT_TRUE(CompressPixelData(*ds, "JPEGLOSSLESS"));
  test::PutText(*ds, 0x0500, 0x0001, vr::CS, "NONE");
  EXPECT_EQ(CompressionKind(*ds), "NONE");
  EXPECT_TRUE(DecompressPixelData(*ds));
  EXPECT_EQ(ds->FindElement(0x7FE0, 0x0010)->ItemCount(), 2u);
}

TEST(JpegDecompression, KindFollowsTheTransferSyntaxWithoutTheMarker) {
  DicomDataSet ds;
  const std::pair<const char*, const char*> cases[] = {{"1.2.840.10008.1.2.4.70", "JPEGLOSSLESS"},
                                                       {"1.2.840.10008.1.2.4.57", "JPEGLOSSLESS"},
                                                       {"1.2.840.780701.1.2.4.70", "JPEGLOSSLESS"},
                                                       {"1.2.840.10008.1.2.4.50", "JPEGLOSSY"},
                                                       {"1.2.840.10008.1.2.4.51", "JPEGLOSSY"},
                                                       {"1.2.840.780701.1.2.4.50", "JPEGLOSSY"},
                                                       {"1.2.840.10008.1.2.1", ""},
                                                       {"1.2.840.10008.1.2.5", ""}};
  for (const auto& [uid, kind] : cases) {
    test::PutText(ds, 0x0002, 0x0010, vr::UI, uid);
    EXPECT_EQ(CompressionKind(ds), kind) << uid;
  }
}

TEST(JpegDecompression, CorruptFragmentsFailAndLeaveTheDataSetUnchanged) {
  if (!CodecAvailable()) GTEST_SKIP() << "libPixcodec.so is not in the program folder";
  const ImageSpec shape{32, 32};
  auto ds = MakeImage(shape, CtLikePixels(shape));
  ASSERT_TRUE(CompressPixelData(*ds, "JPEGLOSSLESS"));
  const DicomElement* fragment =
      (*ds->FindElement(0x7FE0, 0x0010)->Items())[1]->FindElement(0xFFFE, 0xE000);
  const std::vector<uint8_t> good(fragment->Value(), fragment->Value() + fragment->length);
  auto flipped = good;
  flipped[good.size() / 2] ^= 0xFF;
  auto extra = good;
  extra.insert(extra.end(), {0x12, 0x34});
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"truncated", std::vector<uint8_t>(good.begin(), good.end() - 20)},
      {"without EOI", std::vector<uint8_t>(good.begin(), good.end() - 2)},
      {"bytes after EOI", extra},
      {"not JPEG", std::vector<uint8_t>(100, 0x55)}};
  for (const auto& [name, bytes] : cases) {
    std::vector<uint8_t> frame;
    EXPECT_FALSE(
        DecompressFrame(*ds, bytes.data(), static_cast<uint32_t>(bytes.size()), 32 * 32 * 2, frame))
        << name;
  }
  // A frame size other than the image's is refused too.
  std::vector<uint8_t> frame;
  EXPECT_FALSE(
      DecompressFrame(*ds, good.data(), static_cast<uint32_t>(good.size()), 32 * 31 * 2, frame));
  EXPECT_TRUE(
      DecompressFrame(*ds, good.data(), static_cast<uint32_t>(good.size()), 32 * 32 * 2, frame));
}

TEST(JpegDecompression, SingleFrameSplitOverFragmentsDecodesAsOneStream) {
  if (!CodecAvailable()) GTEST_SKIP() << "libPixcodec.so is not in the program folder";
  const ImageSpec shape{32, 40};
  const auto pixels = CtLikePixels(shape);
  auto ds = MakeImage(shape, pixels);
  ASSERT_TRUE(CompressPixelData(*ds, "JPEGLOSSLESS"));
  DicomElement* encapsulated = ds->FindElement(0x7FE0, 0x0010);
  const DicomElement* whole = (*encapsulated->Items())[1]->FindElement(0xFFFE, 0xE000);
  const std::vector<uint8_t> stream(whole->Value(), whole->Value() + whole->length);
  const size_t half = stream.size() / 2 & ~size_t{1};
  auto split = DicomElement::Empty(0x7FE0, 0x0010, vr::OB);
  for (const auto& part :
       {std::vector<uint8_t>{}, std::vector<uint8_t>(stream.begin(), stream.begin() + half),
        std::vector<uint8_t>(stream.begin() + half, stream.end())}) {
    auto item = std::make_unique<DicomDataSet>();
    item->AddElement(part.empty() ? DicomElement::Empty(0xFFFE, 0xE000, vr::kUnknown)
                                  : DicomElement::FromBytes(0xFFFE, 0xE000, vr::kUnknown, part));
    split->AppendItem(std::move(item));
  }
  ds->SetElement(std::move(split));
  ASSERT_TRUE(DecompressPixelData(*ds));
  EXPECT_EQ(PixelBytes(*ds), pixels);
}

TEST(JpegCompression, MultiFrameFileReadsFrameByFrame) {
  if (!CodecAvailable()) GTEST_SKIP() << "libPixcodec.so is not in the program folder";
  const ImageSpec shape{48, 40, 16, 12, "MONOCHROME2", 4};
  const auto pixels = CtLikePixels(shape);
  test::TempFolder folder;
  for (const char* kind : {"JPEGLOSSLESS", "JPEGLOSSY 99"}) {
    const std::string path = folder.File("multi.dcm");
    bool compressed = false;
    ASSERT_TRUE(
        WriteCompressedDicomFile(path, MakeImage(shape, pixels), kind, nullptr, &compressed));
    ASSERT_TRUE(compressed) << kind;
    MultiFrameReader reader;
    DicomError error;
    ASSERT_TRUE(reader.Open(path, &error)) << error.ToString();
    const size_t frameSize = pixels.size() / 4;
    std::vector<uint8_t> frame;
    for (int k = 0; k < 4; ++k) {
      ASSERT_TRUE(reader.NextFrame(frame, &error)) << error.ToString();
      ASSERT_EQ(frame.size(), frameSize);
      if (std::string(kind) == "JPEGLOSSLESS") {
        EXPECT_TRUE(std::equal(frame.begin(), frame.end(), pixels.begin() + k * frameSize));
      }
    }
    EXPECT_FALSE(reader.NextFrame(frame));
  }
}

class WithoutPixcodec : public testing::Test {
 protected:
  void SetUp() override { RebindPixcodecLibraryForTesting("/nonexistent/libPixcodec.so"); }
  void TearDown() override {
    RebindPixcodecLibraryForTesting(ProgramFolder() + kPixcodecLibraryName);
  }
};

TEST_F(WithoutPixcodec, EveryJpegOperationFails) {
  const ImageSpec shape{16, 16};
  const auto pixels = CtLikePixels(shape);
  auto ds = MakeImage(shape, pixels);
  EXPECT_FALSE(CompressPixelData(*ds, "JPEGLOSSLESS"));
  EXPECT_FALSE(CompressPixelData(*ds, "JPEGLOSSY"));
  EXPECT_EQ(PixelBytes(*ds), pixels);
  // ELPEG and ZIP do not need the codec.
  EXPECT_TRUE(CompressPixelData(*ds, "ELPEG"));

  RebindPixcodecLibraryForTesting(ProgramFolder() + kPixcodecLibraryName);
  if (!CodecAvailable()) GTEST_SKIP() << "libPixcodec.so is not in the program folder";
  auto jpeg = MakeImage(shape, pixels);
  ASSERT_TRUE(CompressPixelData(*jpeg, "JPEGLOSSLESS"));
  RebindPixcodecLibraryForTesting("/nonexistent/libPixcodec.so");
  EXPECT_FALSE(DecompressPixelData(*jpeg));
  EXPECT_EQ(jpeg->GetText(0x0500, 0x0001), "JPEGLOSSLESS");
}

TEST(WriteCompressedDicomFile, WritesUncompressedWhenCompressionFails) {
  test::TempFolder folder;
  const ImageSpec shape{8, 8, 8, 8};
  const auto pixels = CtLikePixels(shape);
  bool compressed = true;
  ASSERT_TRUE(WriteCompressedDicomFile(folder.File("a.dcm"), MakeImage(shape, pixels), "ELPEG",
                                       nullptr, &compressed));
  EXPECT_FALSE(compressed);
  auto read = ReadDicomImage(folder.File("a.dcm"), ReadMode::FullRead);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(PixelBytes(*read), pixels);
}

TEST(WriteCompressedDicomFile, KeepsPixelDataThatIsCompressedAlready) {
  test::TempFolder folder;
  const ImageSpec shape{32, 32};
  const auto pixels = CtLikePixels(shape);
  auto ds = MakeImage(shape, pixels);
  ASSERT_TRUE(CompressPixelData(*ds, "ELPEG"));
  const auto elpeg = PixelBytes(*ds);
  ASSERT_TRUE(WriteCompressedDicomFile(folder.File("b.dcm"), std::move(ds), "ZIP"));
  auto raw = ReadDicomFile(folder.File("b.dcm"), ReadMode::FullRead);
  ASSERT_NE(raw, nullptr);
  EXPECT_EQ(raw->GetText(0x0500, 0x0001), "ELPEG");
  EXPECT_EQ(PixelBytes(*raw), elpeg);
  EXPECT_EQ(raw->GetText(0x0002, 0x0010), "1.2.840.10008.1.2");
  auto image = ReadDicomImage(folder.File("b.dcm"), ReadMode::FullRead);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(PixelBytes(*image), pixels);
}

}  // namespace
}  // namespace tolmar
