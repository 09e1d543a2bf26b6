// Real files written by other software (pydicom's test files), checked against
// pixel values pydicom reads, pinned bitmap checksums, and DCMTK's dcm2pnm.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ImageTestData.h"
#include "dicom/DicomCodec.h"
#include "image/GreyImage.h"
#include "image/ImageFactory.h"

namespace tolmar {
namespace {

namespace fs = std::filesystem;

std::string TestFile(const std::string& name) { return std::string(TOLMAR_PYDICOM_DIR) + "/" + name; }

std::unique_ptr<DicomImage> Load(const std::string& name, std::string* reasonOut = nullptr) {
  const std::string path = TestFile(name);
  if (!fs::exists(path)) return nullptr;
  DicomError error;
  auto dataSet = ReadDicomImage(path, ReadMode::FullRead, &error);
  if (!dataSet) {
    if (reasonOut) *reasonOut = error.ToString();
    return nullptr;
  }
  std::string reason;
  auto image = BuildImage(path, *dataSet, 255, {}, reason);
  if (reasonOut) *reasonOut = reason;
  return image;
}

#define REQUIRE_FILE(name)                                                         \
  if (!fs::exists(TestFile(name))) GTEST_SKIP() << "python3-pydicom test files are not installed"

struct PixelCase {
  const char* name;
  const char* file;
  int x, y, value;
};

class PydicomPixels : public testing::TestWithParam<PixelCase> {};

TEST_P(PydicomPixels, StoredValuesMatchPydicom) {
  REQUIRE_FILE(GetParam().file);
  std::string reason;
  auto image = Load(GetParam().file, &reason);
  ASSERT_NE(image, nullptr) << reason;
  EXPECT_EQ(image->GetPixel(GetParam().x, GetParam().y), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Files, PydicomPixels,
                         testing::Values(PixelCase{"CtCorner", "CT_small.dcm", 0, 0, 175},
                                         PixelCase{"CtInside", "CT_small.dcm", 20, 10, 185},
                                         PixelCase{"CtLast", "CT_small.dcm", 127, 127, 909},
                                         PixelCase{"MrCorner", "MR_small.dcm", 0, 0, 905},
                                         PixelCase{"MrInside", "MR_small.dcm", 20, 10, 316},
                                         PixelCase{"MrLast", "MR_small.dcm", 63, 63, 862},
                                         PixelCase{"MrBigEndian", "MR_small_bigendian.dcm", 20, 10, 316},
                                         PixelCase{"MrImplicit", "MR_small_implicit.dcm", 63, 63, 862}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ChecksumCase {
  const char* name;
  const char* file;
  uint64_t checksum;  // of the packed bitmap at the image's own size and default window
};

class PinnedBitmaps : public testing::TestWithParam<ChecksumCase> {};

TEST_P(PinnedBitmaps, RenderToTheExpectedBitmap) {
  REQUIRE_FILE(GetParam().file);
  std::string reason;
  auto image = Load(GetParam().file, &reason);
  ASSERT_NE(image, nullptr) << reason;
  const DibBitmap* bitmap = image->RenderedBitmap();
  ASSERT_NE(bitmap, nullptr);
  const auto packed = bitmap->ToPackedDib();
  EXPECT_EQ(test::Checksum(packed.data(), packed.size()), GetParam().checksum)
      << std::hex << test::Checksum(packed.data(), packed.size());
}

INSTANTIATE_TEST_SUITE_P(
    Files, PinnedBitmaps,
    testing::Values(ChecksumCase{"Ct", "CT_small.dcm", 0x65c06f32ff058386ull},
                    ChecksumCase{"Mr", "MR_small.dcm", 0x80998ddacaf4bb6cull},
                    ChecksumCase{"MrImplicit", "MR_small_implicit.dcm", 0x80998ddacaf4bb6cull},
                    ChecksumCase{"MrBigEndian", "MR_small_bigendian.dcm", 0x80998ddacaf4bb6cull},
                    ChecksumCase{"RgbOddSize", "SC_rgb_small_odd.dcm", 0x42a159efadf211d2ull},
                    ChecksumCase{"RgbPlanesBigEndian", "ExplVR_BigEnd.dcm", 0x42ce29f6232a47baull}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PydicomFiles, YbrAndSixteenBitColourAreRefused) {
  REQUIRE_FILE("SC_ybr_full_422_uncompressed.dcm");
  std::string reason;
  EXPECT_EQ(Load("SC_ybr_full_422_uncompressed.dcm", &reason), nullptr);
  EXPECT_NE(reason.find("YBR_FULL_422"), std::string::npos) << reason;
  // The class choice needs only the header.
  auto header = ReadDicomFile(TestFile("SC_rgb_rle_16bit.dcm"), ReadMode::HeaderOnly);
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(CreateImage(ImageClassCode(255, *header), {}), nullptr);
}

// A binary PGM ("P5 W H 255") as dcm2pnm writes it.
bool ReadPgm(const std::string& path, int& width, int& height, std::vector<uint8_t>& pixels) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxValue = 0;
  if (!(in >> magic >> width >> height >> maxValue) || magic != "P5" || maxValue != 255) return false;
  in.get();
  pixels.assign(static_cast<size_t>(width) * height, 0);
  in.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
  return static_cast<bool>(in);
}

TEST(Dcm2pnmOracle, CtWindowMatchesDcmtkWithinTwoGreyLevels) {
  REQUIRE_FILE("CT_small.dcm");
  if (std::system("command -v dcm2pnm > /dev/null 2>&1") != 0) GTEST_SKIP() << "dcm2pnm (dcmtk) is not installed";
  const auto pgm = fs::temp_directory_path() / ("tolmar-dcm2pnm-" + std::to_string(::getpid()) + ".pgm");
  const std::string command = "dcm2pnm --write-raw-pnm +Ww 40 400 '" + TestFile("CT_small.dcm") + "' '" +
                              pgm.string() + "' > /dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  int width = 0, height = 0;
  std::vector<uint8_t> reference;
  ASSERT_TRUE(ReadPgm(pgm.string(), width, height, reference));
  fs::remove(pgm);

  auto image = Load("CT_small.dcm");
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(width, image->Columns());
  ASSERT_EQ(height, image->Rows());
  dynamic_cast<GreyImage&>(*image).SetWindow(400, 40);
  const DibBitmap* bitmap = image->RenderedBitmap();
  ASSERT_NE(bitmap, nullptr);
  int worst = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int ours = bitmap->Palette()[bitmap->Row(y)[x]].red;
      worst = std::max(worst, std::abs(ours - reference[static_cast<size_t>(y) * width + x]));
    }
  }
  EXPECT_LE(worst, 2);
}

}  // namespace
}  // namespace tolmar
