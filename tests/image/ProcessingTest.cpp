// Image processing: the filter table and its results, colour adjustments,
// pseudo-colour palettes, the display reset and the palette file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ImageTestData.h"
#include "dicom/DicomCodec.h"
#include "image/ByteWriter.h"
#include "image/CategoryImage.h"
#include "image/FilterRecord.h"
#include "image/ImageFactory.h"
#include "image/PaletteFile.h"
#include "image/PaletteSegment.h"

namespace tolmar {
namespace {

using test::ImageDataSet;

std::unique_ptr<DicomImage> Grey8(int rows, int columns, const std::vector<uint8_t>& pixels, int frames = 1) {
  ImageDataSet d;
  d.Grey(rows, columns, 8, 8, 7);
  std::vector<uint8_t> all;
  for (int f = 0; f < frames; ++f) all.insert(all.end(), pixels.begin(), pixels.end());
  d.Pixels8(all);
  if (frames > 1) d.Text(0x0028, 0x0008, vr::IS, std::to_string(frames));
  std::string reason;
  auto image = BuildImage("p.dcm", d.Get(), 2, {}, reason);
  EXPECT_TRUE(image) << reason;
  return image;
}

const FilterRecord& Filter(const char* name) {
  for (const FilterRecord& f : FilterTable()) {
    if (f.name == name) return f;
  }
  throw std::runtime_error(name);
}

TEST(FilterTableTest, SixFiltersWithDivisorsFromTheirWeights) {
  const auto& table = FilterTable();
  ASSERT_EQ(table.size(), 6u);
  const std::vector<std::pair<const char*, int>> expected{{"模糊", 16}, {"平滑", 16}, {"锐化", 1},
                                                          {"阴影", 3},  {"边界增强", 4}, {"深度增强", 1}};
  for (size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table[i].name, expected[i].first);
    EXPECT_EQ(table[i].divisor, expected[i].second) << table[i].name;
    EXPECT_EQ(table[i].offset, 0);
    EXPECT_EQ(table[i].width, i < 4 ? 3 : 5);
  }
}

struct FilterCase {
  const char* name;
  const char* filter;
  uint8_t centre;
  uint8_t around;
  int expectedCentre;  // at (4, 4)
  int expectedCorner;  // at (0, 0), where neighbours are missing
};

class FilterResultTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterResultTest, EightBitResultsAreLimitedAndBordersSeeZeros) {
  const FilterCase& c = GetParam();
  std::vector<uint8_t> pixels(64, c.around);
  pixels[4 * 8 + 4] = c.centre;
  auto image = Grey8(8, 8, pixels);
  CommandArgument a;
  a.filter = &Filter(c.filter);
  ASSERT_TRUE(image->RunCommand(image_command::kFilter, a));
  EXPECT_EQ(image->GetPixel(4, 4), c.expectedCentre);
  EXPECT_EQ(image->GetPixel(0, 0), c.expectedCorner);
  EXPECT_TRUE(image->Display().changed);
}

INSTANTIATE_TEST_SUITE_P(
    Kernels, FilterResultTest,
    ::testing::Values(
        // 9 x 200 - 8 x 100 = 1000, limited to 255; the corner sees 4 neighbours of 9 as 0.
        FilterCase{"SharpenPeak", "锐化", 200, 100, 255, 255},
        FilterCase{"SharpenUniform", "锐化", 100, 100, 100, 255},
        // Blur of a uniform v stays v (16v / 16); the corner loses the missing neighbours.
        FilterCase{"BlurUniform", "模糊", 80, 80, 80, (4 * 80 + 4 * 80 + 80 - 4 * 80) / 16},
        FilterCase{"DepthUniform", "深度增强", 90, 90, 0, 255}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FilterTest, MultiFrameImagesAreLeftAlone) {
  auto image = Grey8(4, 4, std::vector<uint8_t>(16, 5), 2);
  ASSERT_EQ(image->FrameCount(), 2);
  EXPECT_FALSE(ApplyFilter(*image, FilterTable()[0]));
  EXPECT_FALSE(image->Display().changed);
}

TEST(FilterTest, SixteenBitResultsStopAtTheStoredBits) {
  ImageDataSet d;
  d.Grey(3, 4, 16, 12, 11).Pixels16({100, 100, 100, 100, 100, 4000, 100, 100, 100, 100, 100, 100});
  std::string reason;
  auto image = BuildImage("p.dcm", d.Get(), 2, {}, reason);
  ASSERT_TRUE(image) << reason;
  ASSERT_TRUE(ApplyFilter(*image, Filter("锐化")));
  EXPECT_EQ(image->GetPixel(1, 1), 4095);
}

TEST(FilterTest, ColourChannelsAreFilteredApart) {
  ImageDataSet d;
  d.Grey(3, 4, 8, 8, 7, "RGB").UShort(0x0028, 0x0002, 3).UShort(0x0028, 0x0006, 0);
  std::vector<uint8_t> rgb;
  for (int i = 0; i < 12; ++i) rgb.insert(rgb.end(), {10, 100, 200});
  d.Pixels8(rgb);
  std::string reason;
  auto image = BuildImage("c.dcm", d.Get(), 2, {}, reason);
  ASSERT_TRUE(image) << reason;
  ASSERT_TRUE(ApplyFilter(*image, Filter("平滑")));
  EXPECT_EQ(image->GetPixel(1, 1), (10 << 16) | (100 << 8) | 200);  // uniform inside
}

// --- colour adjustments --------------------------------------------------------

TEST(ColourAdjustTest, BrightnessContrastAndInversionWorkOnTheRenderedBitmap) {
  ImageDataSet d;
  d.Grey(1, 4, 8, 8, 7, "RGB").UShort(0x0028, 0x0002, 3).UShort(0x0028, 0x0006, 0);
  d.Pixels8({0, 100, 200, 50, 128, 255, 10, 20, 30, 40, 50, 60});
  std::string reason;
  auto image = BuildImage("c.dcm", d.Get(), 2, {}, reason);
  ASSERT_TRUE(image) << reason;
  const uint8_t* bits = image->RenderedBitmap()->Row(0);
  // B, G, R of the first pixel: 200, 100, 0.
  ASSERT_EQ(bits[0], 200);
  CommandArgument a;
  a.value = 5;  // k = 100 - 0 = 100: nothing changes
  EXPECT_FALSE(image->RunCommand(image_command::kBrightness, a));
  a.value = -500;  // k = 150
  ASSERT_TRUE(image->RunCommand(image_command::kBrightness, a));
  bits = image->RenderedBitmap()->Row(0);
  EXPECT_EQ(bits[0], 255);  // 300 limited
  EXPECT_EQ(bits[1], 150);
  a.value = 500;  // k = 50: (v - 128) / 2 + 128
  ASSERT_TRUE(image->RunCommand(image_command::kContrast, a));
  bits = image->RenderedBitmap()->Row(0);
  EXPECT_EQ(bits[0], (255 - 128) * 50 / 100 + 128);
  EXPECT_EQ(bits[2], (0 - 128) * 50 / 100 + 128);
  const uint8_t before = bits[1];
  ASSERT_TRUE(image->RunCommand(image_command::kInvert, a));
  EXPECT_EQ(image->RenderedBitmap()->Row(0)[1], 255 - before);
  EXPECT_TRUE(image->Inverted());
  // The reset renders from the frame again: the adjustments are gone, the inversion stays.
  ASSERT_TRUE(image->RunCommand(image_command::kReset, a));
  EXPECT_EQ(image->RenderedBitmap()->Row(0)[0], 255 - 200);
}

// --- pseudo-colour ---------------------------------------------------------------

TEST(PaletteFillTest, IndexSegmentRampsFromBlackToRed) {
  std::array<DibBitmap::PaletteEntry, 256> palette{};
  FillSegmentPalette(palette, {{256, 0, 256, 0x000000, 0x0000FF}}, {}, false);
  for (int k = 0; k < 256; ++k) {
    ASSERT_EQ(palette[k].red, k * 255 / 256) << k;
    ASSERT_EQ(palette[k].green, 0);
    ASSERT_EQ(palette[k].blue, 0);
  }
}

TEST(PaletteFillTest, ModalitySegmentsAreClippedToTheWindow) {
  PaletteWindow window;  // centre 128, width 256: lo 0, hi 256
  window.centre = 1128;
  window.width = 256;  // lo 1000, hi 1256
  window.toStored = [](double v) { return v + 1000; };  // intercept -1000
  std::array<DibBitmap::PaletteEntry, 256> palette{};
  // Wholly inside: from 64 to 192 modality = stored 1064..1192 = entries 64..192.
  FillSegmentPalette(palette, {{4096, 64, 192, 0x000010, 0x0000F0}}, window, false);
  EXPECT_EQ(palette[64].red, 0x10);
  EXPECT_EQ(palette[63].red, 63);  // grey outside the run
  EXPECT_EQ(palette[192].red, 192);
  // Starting below the window: entry 0 takes the colour of the window's lower edge.
  FillSegmentPalette(palette, {{4096, -1000, 1000, 0x000000, 0x0000C8}}, window, false);
  // S = 0, E = 2000, lo = 1000: start red = 200 * 1000 / 2000 = 100.
  EXPECT_EQ(palette[0].red, 100);
  EXPECT_EQ(palette[0].green, 0);
  FillSegmentPalette(palette, {{256, 0, 10, 0x000000, 0x0000FF}}, window, true);
  EXPECT_EQ(palette[0].red, 255);  // complemented like the grey ramp
  EXPECT_EQ(palette[0].green, 255);
  EXPECT_EQ(palette[200].red, 55);
}

TEST(PaletteFillTest, ReversedSegmentsAndHighWindowsNeverWriteOutsideTheTable) {
  PaletteWindow high;
  high.centre = 60000;
  high.width = 2000;
  std::array<DibBitmap::PaletteEntry, 256> palette{};
  const PaletteSegments segments{{256, 300, -50, 0xFF, 0xFF00}, {256, -100, 400, 0x0000FF, 0x0000FF},
                                 {4096, 0, 70000, 0xFF, 0xFF}, {4096, 5000, 100, 0xFF, 0xFF}};
  FillSegmentPalette(palette, segments, high, false);
  // The second segment paints every entry red; nothing else has a run.
  for (const auto& e : palette) ASSERT_EQ(e.red, 255);
}

TEST(PaletteCommandTest, SegmentsReplaceReadBackAndResetEmptiesThem) {
  auto image = Grey8(2, 4, {0, 40, 80, 120, 160, 200, 240, 255});
  PaletteSegments segments{{256, 0, 256, 0x000000, 0x0000FF}};
  CommandArgument a;
  a.segments = &segments;
  ASSERT_TRUE(image->RunCommand(image_command::kSetSegments, a));
  EXPECT_EQ(image->RenderedBitmap()->Palette()[128].red, 127);
  EXPECT_EQ(image->RenderedBitmap()->Palette()[128].green, 0);
  PaletteSegments copy{{256, 1, 2, 3, 4}};
  a.segments = &copy;
  ASSERT_TRUE(image->RunCommand(image_command::kGetSegments, a));
  ASSERT_EQ(copy.size(), 2u);
  EXPECT_EQ(copy[1], segments[0]);
  ASSERT_TRUE(image->RunCommand(image_command::kReset, a));
  EXPECT_TRUE(image->Display().segments.empty());
  EXPECT_EQ(image->RenderedBitmap()->Palette()[128].green, 128);
}

TEST(ResetTest, ChangedImagesReReadTheirFileAndUndoFiltersAndRotations) {
  const auto folder = std::filesystem::temp_directory_path() / "tolmar-reset-test";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "image.dcm").string();
  ImageDataSet d;
  d.Grey(2, 6, 8, 8, 7).Pixels8({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  d.Text(0x0008, 0x0016, vr::UI, "1.2.840.10008.5.1.4.1.1.7").Text(0x0008, 0x0018, vr::UI, "1.2.3.4");
  ASSERT_TRUE(WriteDicomFile(path, FileLayout::PartTenExplicit, d.Take()));
  auto ds = ReadDicomImage(path, ReadMode::FullRead);
  ASSERT_TRUE(ds);
  std::string reason;
  auto image = BuildImage(path, *ds, 2, {}, reason);
  ASSERT_TRUE(image) << reason;
  const std::vector<uint8_t> original = *image->Frame();
  ASSERT_TRUE(ApplyFilter(*image, Filter("锐化")));
  ASSERT_TRUE(image->ApplyTransform(3));
  CommandArgument a;
  ASSERT_TRUE(image->RunCommand(image_command::kReset, a));
  EXPECT_EQ(*image->Frame(), original);
  EXPECT_EQ(image->Rows(), 2);
  EXPECT_TRUE(image->Transforms().empty());
  EXPECT_FALSE(image->Display().changed);
  // A file that has gone away: the reset fails and the pixels stay.
  ASSERT_TRUE(ApplyFilter(*image, Filter("锐化")));
  const std::vector<uint8_t> filtered = *image->Frame();
  std::filesystem::remove_all(folder);
  EXPECT_FALSE(image->RunCommand(image_command::kReset, a));
  EXPECT_EQ(*image->Frame(), filtered);
  EXPECT_TRUE(image->Display().changed);
}

// --- palette file ----------------------------------------------------------------

std::vector<PalettePreset> SamplePresets() {
  return {{"Hot", {{4096, -1000, 3096, 0x000000, 0x0000FF}, {256, 0, 128, 0x00FF00, 0xFF0000}}},
          {"彩虹", {{256, 10, 20, 0x123456, 0x654321}}},
          {"Cold", {{4096, 0, 100, 0xFFFFFF, 0x000000}}}};
}

TEST(PaletteFileTest, PresetsRoundTripWithNegativePositions) {
  const auto bytes = PaletteFile::Serialise(SamplePresets());
  ASSERT_EQ(std::string(bytes.begin(), bytes.begin() + 32), "Tolmar Palette/VoTrelmandor/2001");
  const auto presets = PaletteFile::Parse(bytes);
  EXPECT_EQ(presets, SamplePresets());
  EXPECT_EQ(presets[0].segments[0].from, -1000);
}

TEST(PaletteFileTest, ReadingStopsAtTheFirstBadPresetAndKeepsThoseBefore) {
  auto bytes = PaletteFile::Serialise(SamplePresets());
  // Offset of the third preset's name length: signature, then two presets.
  const size_t third = 32 + (2 + 3 + 2 + 2 * 14) + (2 + 6 + 2 + 14);
  ASSERT_EQ(bytes[third], 4);
  auto zeroName = bytes;
  zeroName[third] = 0;
  EXPECT_EQ(PaletteFile::Parse(zeroName).size(), 2u);
  auto shortSegments = bytes;
  shortSegments.resize(bytes.size() - 3);
  EXPECT_EQ(PaletteFile::Parse(shortSegments).size(), 2u);
  auto noSegments = bytes;
  noSegments[third + 2 + 4] = 0;
  noSegments[third + 2 + 4 + 1] = 0;
  EXPECT_EQ(PaletteFile::Parse(noSegments).size(), 2u);
  auto tooMany = bytes;
  tooMany[32 + 2 + 3] = 0x01;
  tooMany[32 + 2 + 3 + 1] = 0x10;  // 4097 segments
  EXPECT_TRUE(PaletteFile::Parse(tooMany).empty());
  auto badSignature = bytes;
  badSignature[0] = 'X';
  EXPECT_TRUE(PaletteFile::Parse(badSignature).empty());
  EXPECT_TRUE(PaletteFile::Read("/nonexistent/Tolmar.pal").empty());
}

TEST(PaletteFileTest, UnreadablePresetsAreNotWrittenSoLaterOnesSurvive) {
  auto presets = SamplePresets();
  presets.insert(presets.begin() + 1, PalettePreset{"Empty", {}});
  presets.insert(presets.begin() + 1, PalettePreset{std::string(300, 'x'), {{256, 0, 1, 0, 0}}});
  EXPECT_EQ(PaletteFile::Parse(PaletteFile::Serialise(presets)), SamplePresets());
}

TEST(PaletteFileTest, WritingReplacesTheFileAndAFailedWriteKeepsTheOldOne) {
  const auto folder = std::filesystem::temp_directory_path() / "tolmar-pal-test";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / PaletteFile::kFileName).string();
  ASSERT_TRUE(PaletteFile::Write(path, SamplePresets()));
  EXPECT_EQ(PaletteFile::Read(path), SamplePresets());
  EXPECT_FALSE(PaletteFile::Write((folder / "missing" / "Tolmar.pal").string(), {}));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace tolmar
