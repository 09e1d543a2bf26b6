// Colour images: RGB in both planar configurations, palette colour with
// clamped indices, and the 24-bit bitmap.
#include <gtest/gtest.h>

#include "ImageTestData.h"
#include "image/ColourImage.h"
#include "image/ImageFactory.h"

namespace tolmar {
namespace {

using test::ImageDataSet;

std::unique_ptr<DicomImage> Build(ImageDataSet& d) {
  std::string reason;
  auto image = BuildImage("c.dcm", d.Get(), 2, {}, reason);
  EXPECT_NE(image, nullptr) << reason;
  return image;
}

struct PlanarCase {
  const char* name;
  int planar;
  std::vector<uint8_t> raw;  // 2 columns x 1 row: red pixel, then (10, 20, 30)
};

class RgbConversion : public testing::TestWithParam<PlanarCase> {};

TEST_P(RgbConversion, WritesBlueGreenRedPerPixel) {
  ImageDataSet d;
  d.Grey(1, 2, 8, 8, 7, "RGB").UShort(0x0028, 0x0006, static_cast<uint16_t>(GetParam().planar));
  d.Pixels8(GetParam().raw);
  auto image = Build(d);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->PaddedColumns(), 4);
  EXPECT_EQ(image->BytesPerPixel(), 3);
  EXPECT_EQ(image->GetPixel(0, 0), 0xFF0000);
  EXPECT_EQ(image->GetPixel(1, 0), 0x0A141E);
  EXPECT_EQ(image->GetPixel(2, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(Planar, RgbConversion,
                         testing::Values(PlanarCase{"Interleaved", 0, {255, 0, 0, 10, 20, 30}},
                                         PlanarCase{"Planes", 1, {255, 10, 0, 20, 0, 30}}),
                         [](const auto& info) { return std::string(info.param.name); });

ImageDataSet PaletteImage(const std::vector<uint8_t>& indices, int columns, uint16_t entries, uint16_t first,
                          uint16_t bits) {
  ImageDataSet d;
  d.Grey(1, columns, 8, 8, 7, "PALETTE COLOR").Pixels8(indices);
  const uint16_t descriptors[] = {0x1101, 0x1102, 0x1103};
  const uint16_t data[] = {0x1201, 0x1202, 0x1203};
  for (int channel = 0; channel < 3; ++channel) {
    d.UShorts(0x0028, descriptors[channel], {entries, first, bits});
    std::vector<uint16_t> table(entries);
    for (uint16_t i = 0; i < entries; ++i) {
      const int value = (i + 1) * 10 * (channel + 1);
      table[i] = static_cast<uint16_t>(bits == 16 ? value << 8 : value);
    }
    d.UShorts(0x0028, data[channel], table);
  }
  return d;
}

TEST(PaletteColour, LooksIndicesUpAndClampsThoseOutsideTheTable) {
  // Four entries mapped from index 2: indices 0, 1 take the first, 200 the last.
  auto d = PaletteImage({0, 2, 3, 5, 200, 1}, 6, 4, 2, 16);
  auto image = Build(d);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(dynamic_cast<ColourImage*>(image.get())->IsPaletteColour(), true);
  auto rgb = [](int r) { return (r << 16) | ((2 * r) << 8) | (3 * r); };
  EXPECT_EQ(image->GetPixel(0, 0), rgb(10));
  EXPECT_EQ(image->GetPixel(1, 0), rgb(10));
  EXPECT_EQ(image->GetPixel(2, 0), rgb(20));
  EXPECT_EQ(image->GetPixel(3, 0), rgb(40));
  EXPECT_EQ(image->GetPixel(4, 0), rgb(40));
  EXPECT_EQ(image->GetPixel(5, 0), rgb(10));
}

TEST(PaletteColour, EightBitEntriesAreUsedAsTheyAre) {
  auto d = PaletteImage({0, 1, 2, 3}, 4, 4, 0, 8);
  auto image = Build(d);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetPixel(3, 0), (40 << 16) | (80 << 8) | 120);
}

TEST(ColourBitmap, RendersRowsBottomUpOnlyAtTheImageSize) {
  ImageDataSet d;
  d.Grey(2, 1, 8, 8, 7, "RGB").Pixels8({1, 2, 3, 4, 5, 6});
  auto image = Build(d);
  ASSERT_NE(image, nullptr);
  auto bitmap = image->CreateBitmap(-1, -1);
  ASSERT_EQ(bitmap->BitsPerPixel(), 24);
  ASSERT_TRUE(image->RenderToDib(*bitmap, nullptr));
  EXPECT_EQ(bitmap->Bits()[0], 6) << "bottom row first, blue byte first";
  EXPECT_EQ(bitmap->Bits()[2], 4);
  EXPECT_EQ(bitmap->Row(0)[2], 1);
  auto other = image->CreateBitmap(8, 2);
  EXPECT_FALSE(image->RenderToDib(*other, nullptr));
  auto grey = DibBitmap::Create(4, 2, 8);
  EXPECT_FALSE(image->RenderToDib(*grey, nullptr));
  EXPECT_FALSE(image->HasCommand(image_command::kSetWindow));
}

}  // namespace
}  // namespace tolmar
