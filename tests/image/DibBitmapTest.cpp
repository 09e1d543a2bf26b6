// The bitmap type the suite exchanges: header layout, palette, bottom-up rows,
// and parsing packed bitmaps without reading past them.
#include <gtest/gtest.h>

#include <QImage>

#include "image/ByteWriter.h"
#include "image/DibBitmap.h"

namespace tolmar {
namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

TEST(DibBitmap, PackedGreyBitmapHasTheHeaderPaletteAndPaddedRows) {
  auto dib = DibBitmap::Create(5, 3, 8);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(dib->Stride(), 8);
  dib->Row(0)[0] = 42;  // top row is stored last
  const auto packed = dib->ToPackedDib();
  ASSERT_EQ(packed.size(), 40u + 1024u + 24u);
  EXPECT_EQ(U32(packed, 0), 40u);
  EXPECT_EQ(U32(packed, 4), 5u);
  EXPECT_EQ(U32(packed, 8), 3u);
  EXPECT_EQ(packed[12] | (packed[13] << 8), 1);
  EXPECT_EQ(packed[14] | (packed[15] << 8), 8);
  EXPECT_EQ(U32(packed, 16), 0u);
  EXPECT_EQ(U32(packed, 24), 100u);
  EXPECT_EQ(U32(packed, 28), 100u);
  EXPECT_EQ(U32(packed, 32), 256u);
  EXPECT_EQ(packed[40 + 4 * 200], 200) << "grey ramp palette";
  EXPECT_EQ(packed[40 + 1024 + 16], 42);
}

TEST(DibBitmap, BmpFileAndPackedFormRoundTrip) {
  auto dib = DibBitmap::Create(3, 2, 24);
  dib->Row(1)[0] = 9;
  dib->Row(0)[8] = 7;
  const auto file = dib->ToBmpFile();
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(U32(file, 2), file.size());
  EXPECT_EQ(U32(file, 10), 54u);
  const auto packed = dib->ToPackedDib();
  auto back = DibBitmap::FromPackedDib(packed);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->Width(), 3);
  EXPECT_EQ(back->Stride(), 12);
  EXPECT_EQ(back->Row(1)[0], 9);
  EXPECT_EQ(back->Row(0)[8], 7);
}

TEST(DibBitmap, ShortOrForeignPackedBitmapsAreRefused) {
  auto dib = DibBitmap::Create(4, 4, 8);
  const auto packed = dib->ToPackedDib();
  for (size_t cut : {size_t{10}, size_t{40}, size_t{500}, packed.size() - 1}) {
    std::string reason;
    EXPECT_EQ(DibBitmap::FromPackedDib(std::span(packed.data(), cut), &reason), nullptr) << cut;
    EXPECT_FALSE(reason.empty());
  }
  auto huge = packed;
  huge[4] = 0xFF;
  huge[5] = 0xFF;
  huge[6] = 0xFF;  // width far beyond the limit
  EXPECT_EQ(DibBitmap::FromPackedDib(huge), nullptr);
  auto compressed = packed;
  compressed[16] = 1;
  EXPECT_EQ(DibBitmap::FromPackedDib(compressed), nullptr);
  EXPECT_EQ(DibBitmap::Create(0, 4, 8), nullptr);
  EXPECT_EQ(DibBitmap::Create(4, 4, 16), nullptr);
}

TEST(DibBitmap, ConvertsToATopDownQImage) {
  auto grey = DibBitmap::Create(2, 2, 8);
  grey->Row(0)[1] = 200;
  grey->SetGreyPalette(true);
  const QImage image = grey->ToQImage();
  EXPECT_EQ(image.format(), QImage::Format_Indexed8);
  EXPECT_EQ(image.pixelIndex(1, 0), 200);
  EXPECT_EQ(qRed(image.pixel(1, 0)), 55);
  auto colour = DibBitmap::Create(1, 2, 24);
  colour->Row(1)[0] = 1;  // blue
  colour->Row(1)[2] = 3;  // red
  const QImage rgb = colour->ToQImage();
  EXPECT_EQ(rgb.pixel(0, 1), qRgb(3, 0, 1));
}

TEST(ByteWriter, PatchesOnlyWrittenBytesAndReaderStopsAtTheEnd) {
  ByteWriter w;
  w.U32(1);
  EXPECT_TRUE(w.PatchU32(0, 0xABCDEF01));
  EXPECT_FALSE(w.PatchU32(2, 5));
  EXPECT_TRUE(w.Failed());
  const auto bytes = w.Take();
  ByteReader r(bytes);
  uint32_t v = 0;
  EXPECT_TRUE(r.U32(v));
  EXPECT_EQ(v, 0xABCDEF01u);
  uint16_t s = 7;
  EXPECT_FALSE(r.U16(s));
  EXPECT_EQ(s, 0);
  EXPECT_TRUE(r.Failed());
  EXPECT_TRUE(r.Take(1).empty());
}

}  // namespace
}  // namespace tolmar
