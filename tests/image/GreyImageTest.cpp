// The grey-scale pipeline: class choice, attribute and pixel loading, rescale,
// CT remapping, window fields and clamping, window lookup table and rendering.
#include <gtest/gtest.h>

#include "ImageTestData.h"
#include "image/ByteWriter.h"
#include "image/CategoryImage.h"
#include "image/ImageFactory.h"
#include "image/WindowLookupTable.h"

namespace tolmar {
namespace {

using test::ImageDataSet;

std::unique_ptr<DicomImage> Build(ImageDataSet& data, int category = 2, ImageSettings settings = {},
                                  std::string* reasonOut = nullptr) {
  std::string reason;
  auto image = BuildImage("test.dcm", data.Get(), category, settings, reason);
  if (reasonOut) *reasonOut = reason;
  return image;
}

GreyImage16* AsGrey16(DicomImage* image) { return dynamic_cast<GreyImage16*>(image); }
GreyImage* AsGrey(DicomImage* image) { return dynamic_cast<GreyImage*>(image); }

ImageDataSet Ct(int rows, int columns, const std::vector<uint16_t>& pixels, const std::string& intercept,
                int bitsStored = 12) {
  ImageDataSet d;
  d.Grey(rows, columns, 16, bitsStored, bitsStored - 1).Text(0x0008, 0x0060, vr::CS, "CT");
  if (!intercept.empty()) d.Text(0x0028, 0x1052, vr::DS, intercept);
  d.Pixels16(pixels);
  return d;
}

// --- class choice ---------------------------------------------------------

struct ClassChoiceCase {
  const char* name;
  const char* photometric;
  int bitsAllocated;
  int expectedCode;  // 0: no class
};

class ClassChoice : public testing::TestWithParam<ClassChoiceCase> {};

TEST_P(ClassChoice, PicksTheClassFromCategoryBitsAndPhotometric) {
  const auto& c = GetParam();
  ImageDataSet d;
  d.Grey(4, 4, c.bitsAllocated, c.bitsAllocated, c.bitsAllocated - 1, c.photometric);
  const int code = ImageClassCode(3, d.Get());
  auto image = CreateImage(code, {});
  if (c.expectedCode == 0) {
    EXPECT_EQ(image, nullptr);
  } else {
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(code, c.expectedCode);
    EXPECT_EQ(image->ClassCode(), c.expectedCode);
    EXPECT_EQ(image->Category(), 3);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ClassChoice,
    testing::Values(ClassChoiceCase{"Mono2_8bit", "MONOCHROME2", 8, 3 * 65536 + 8 * 256 + 1},
                    ClassChoiceCase{"Mono1_16bit", "MONOCHROME1 ", 16, 3 * 65536 + 16 * 256 + 1},
                    ClassChoiceCase{"Mono_1bit", "MONOCHROME2", 1, 3 * 65536 + 8 * 256 + 1},
                    ClassChoiceCase{"Rgb8", "RGB", 8, 3 * 65536 + 8 * 256 + 2},
                    ClassChoiceCase{"Palette8", "PALETTE COLOR", 8, 3 * 65536 + 8 * 256 + 2},
                    ClassChoiceCase{"YbrFullGetsColourClass", "YBR_FULL", 8, 3 * 65536 + 8 * 256 + 2},
                    ClassChoiceCase{"TwelveBitsAllocated", "MONOCHROME2", 12, 0},
                    ClassChoiceCase{"SixteenBitRgb", "RGB", 16, 0},
                    ClassChoiceCase{"ThirtyTwoBitGrey", "MONOCHROME2", 32, 0},
                    ClassChoiceCase{"UnknownPhotometric", "HSV", 8, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ImageCategories, UnknownCategoriesAndSopClassesBecome255) {
  SopClassCategories table({{1, "1.2.840.10008.5.1.4.1.1.2"}, {7, "1.2.3"}});
  EXPECT_EQ(table.CategoryOf("1.2.840.10008.5.1.4.1.1.2"), 1);
  EXPECT_EQ(table.CategoryOf("1.2.3"), 255);
  EXPECT_EQ(table.CategoryOf("9.9"), 255);
  ImageDataSet d;
  d.Grey(2, 2, 8, 8, 7).Pixels8({1, 2, 3, 4});
  auto image = Build(d, 77);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Category(), 255);
}

TEST(ImageCategories, EveryCategoryAndPixelClassHasItsOwnConcreteClass) {
  for (const int category : kImageCategories) {
    for (const int low : {8 * 256 + 1, 16 * 256 + 1, 8 * 256 + 2}) {
      auto image = CreateImage(category * 65536 + low, {});
      ASSERT_NE(image, nullptr) << category << " " << low;
      EXPECT_EQ(image->ClassCode(), category * 65536 + low);
      EXPECT_EQ(&image->Overlay(), &OverlayOfCategory(category));
    }
  }
}

// --- bad input -------------------------------------------------------------

struct BadInputCase {
  const char* name;
  void (*prepare)(ImageDataSet&);
  bool loadLut;
};

class BadInput : public testing::TestWithParam<BadInputCase> {};

TEST_P(BadInput, YieldsNoImageWithAReason) {
  ImageDataSet d;
  d.Grey(4, 4, 16, 12, 11).Pixels16(test::Filled16(4, 4, 100));
  GetParam().prepare(d);
  ImageSettings settings;
  settings.loadLut = GetParam().loadLut;
  std::string reason;
  EXPECT_EQ(Build(d, 2, settings, &reason), nullptr);
  EXPECT_FALSE(reason.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadInput,
    testing::Values(
        BadInputCase{"ZeroRows", [](ImageDataSet& d) { d.UShort(0x0028, 0x0010, 0); }, false},
        BadInputCase{"MissingColumns", [](ImageDataSet& d) { d.Remove(0x0028, 0x0011); }, false},
        BadInputCase{"MissingBitsStored", [](ImageDataSet& d) { d.Remove(0x0028, 0x0101); }, false},
        BadInputCase{"ZeroHighBit", [](ImageDataSet& d) { d.UShort(0x0028, 0x0102, 0); }, false},
        BadInputCase{"BitsStoredAboveAllocated", [](ImageDataSet& d) { d.UShort(0x0028, 0x0101, 17); }, false},
        BadInputCase{"HighBitOutsideTheWord", [](ImageDataSet& d) { d.UShort(0x0028, 0x0102, 16); }, false},
        BadInputCase{"YbrFull", [](ImageDataSet& d) {
                       d.Grey(4, 4, 8, 8, 7, "YBR_FULL").Pixels8(std::vector<uint8_t>(48, 1));
                     }, false},
        BadInputCase{"NoPixelData", [](ImageDataSet& d) { d.Remove(0x7FE0, 0x0010); }, false},
        BadInputCase{"PixelDataShorterThanOneFrame",
                     [](ImageDataSet& d) { d.Pixels16(test::Filled16(3, 4, 1)); }, false},
        BadInputCase{"ModalityLutShorterThanDescriptor",
                     [](ImageDataSet& d) { d.ModalityLut({100, 0, 16}, {1, 2, 3}); }, true},
        BadInputCase{"ModalityLutDescriptorShort",
                     [](ImageDataSet& d) { d.ModalityLut({100}, std::vector<uint16_t>(100, 1)); }, true},
        BadInputCase{"RgbPlanarConfigurationTwo",
                     [](ImageDataSet& d) {
                       d.Grey(4, 4, 8, 8, 7, "RGB").UShort(0x0028, 0x0006, 2).Pixels8(std::vector<uint8_t>(48, 1));
                     }, false},
        BadInputCase{"PaletteDescriptorShort",
                     [](ImageDataSet& d) {
                       d.Grey(4, 4, 8, 8, 7, "PALETTE COLOR").Pixels8(std::vector<uint8_t>(16, 1));
                       for (uint16_t t : {0x1101, 0x1102, 0x1103}) d.UShorts(0x0028, t, {4, 0});
                       for (uint16_t t : {0x1201, 0x1202, 0x1203}) d.UShorts(0x0028, t, {1, 2, 3, 4});
                     }, false},
        BadInputCase{"PaletteDataShort",
                     [](ImageDataSet& d) {
                       d.Grey(4, 4, 8, 8, 7, "PALETTE COLOR").Pixels8(std::vector<uint8_t>(16, 1));
                       for (uint16_t t : {0x1101, 0x1102, 0x1103}) d.UShorts(0x0028, t, {256, 0, 16});
                       for (uint16_t t : {0x1201, 0x1202, 0x1203}) d.UShorts(0x0028, t, {1, 2, 3, 4});
                     }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BadInput, ModalityLutIsIgnoredWithoutLoadLut) {
  ImageDataSet d;
  d.Grey(4, 4, 16, 12, 11).Pixels16(test::Filled16(4, 4, 100)).ModalityLut({100, 0, 16}, {1, 2, 3});
  EXPECT_NE(Build(d), nullptr);
}

// --- CT rescale and remapping ----------------------------------------------

TEST(CtRescale, InterceptBelowMinus1000MasksTo12BitsAndKeepsTheIntercept) {
  // 1024 shows as 0 HU; bits above bit 11 are dropped; negative values become 0.
  auto d = Ct(1, 4, {1024, 0x1400, 0xFFF0, 4095}, "-1024");
  auto image = Build(d);
  auto* grey = AsGrey16(image.get());
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ(grey->Intercept(), -1024);
  EXPECT_EQ(grey->GetPixel(0, 0), 1024);
  EXPECT_EQ(grey->ToModality(grey->GetPixel(0, 0)), 0);
  EXPECT_EQ(grey->GetPixel(1, 0), 0x400);
  EXPECT_EQ(grey->GetPixel(2, 0), 0);
  EXPECT_EQ(grey->GetPixel(3, 0), 4095);
}

TEST(CtRescale, InterceptZeroIsRemappedToMinus1000) {
  auto d = Ct(1, 4, {40, 0, 3500, 100}, "0");
  auto image = Build(d);
  auto* grey = AsGrey16(image.get());
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ(grey->Intercept(), -1000);
  EXPECT_EQ(grey->GetPixel(0, 0), 1040);
  EXPECT_EQ(grey->ToModality(1040), 40);
  EXPECT_EQ(grey->GetPixel(1, 0), 1000);
  EXPECT_EQ(grey->GetPixel(2, 0), 4095) << "12-bit results above 4095 are capped";
}

TEST(CtRescale, ResultsAbove4095BecomeZeroOnceANegativeValueWasSeen) {
  auto d = Ct(1, 4, {3500, 0xFFFF, 3500, 10}, "0");
  auto image = Build(d);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetPixel(0, 0), 4095);
  EXPECT_EQ(image->GetPixel(1, 0), 999);  // -1 + 1000
  EXPECT_EQ(image->GetPixel(2, 0), 0);
  EXPECT_EQ(image->GetPixel(3, 0), 1010);
}

// Whole frames are remapped in blocks of many pixels; the rules must hold
// pixel by pixel across block edges and in the block where the first negative
// value turns up.
TEST(CtRescale, AWideFrameFollowsThePixelRulesAcrossBlocks) {
  std::vector<uint16_t> pixels(2 * 100);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint16_t>(i % 7 == 0 ? 3500 : i * 9);
  pixels[77] = 0xFFFF;  // -1: the first negative, in the middle of a block
  pixels[150] = 0x8000;
  for (const char* intercept : {"0", "-1024"}) {
    auto d = Ct(2, 100, pixels, intercept);
    auto image = Build(d);
    ASSERT_NE(image, nullptr) << intercept;
    bool negativeSeen = false;
    for (size_t i = 0; i < pixels.size(); ++i) {
      const int raw = static_cast<int16_t>(pixels[i]);
      int expected = 0;
      if (std::string(intercept) == "0") {
        negativeSeen = negativeSeen || raw < 0;
        expected = std::max(raw + 1000, 0);
        if (expected > 4095) expected = negativeSeen ? 0 : 4095;
      } else {
        expected = raw < 0 ? 0 : (raw & 0x0FFF);
      }
      ASSERT_EQ(image->GetPixel(static_cast<int>(i % 100), static_cast<int>(i / 100)), expected)
          << "intercept " << intercept << ", pixel " << i;
    }
  }
}

TEST(CtRescale, EveryFrameOfAMultiFrameCtIsRemappedAlike) {
  auto d = Ct(1, 4, {40, 40, 40, 40, 40, 40, 40, 40}, "0");
  auto image = Build(d);
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(image->FrameCount(), 2);
  EXPECT_EQ(image->GetPixel(0, 0, 0), 1040);
  EXPECT_EQ(image->GetPixel(0, 0, 1), 1040);
}

TEST(CtRescale, DefaultCentreFollowsTheRemappedIntercept) {
  // A 40 HU centre written for intercept 0 must still mean 40 HU after remapping.
  auto d = Ct(1, 4, {40, 40, 40, 40}, "0");
  d.Text(0x0028, 0x1050, vr::DS, "40").Text(0x0028, 0x1051, vr::DS, "400");
  auto image = Build(d);
  auto* grey = AsGrey16(image.get());
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ(grey->Centre(), 1040);
  double width = 0, centre = 0;
  grey->GetWindow(width, centre);
  EXPECT_EQ(centre, 40);
  EXPECT_EQ(width, 400);
}

TEST(CtRescale, MissingInterceptMeansMinus1000ForCtAndZeroOtherwise) {
  auto ct = Ct(1, 4, {1000, 0, 0, 0}, "");
  auto image = Build(ct);
  ASSERT_NE(AsGrey16(image.get()), nullptr);
  EXPECT_EQ(AsGrey16(image.get())->Intercept(), -1000);
  EXPECT_EQ(image->GetPixel(0, 0), 1000);

  ImageDataSet mr;
  mr.Grey(1, 4, 16, 12, 11).Text(0x0008, 0x0060, vr::CS, "MR").Text(0x0028, 0x1053, vr::DS, "0");
  mr.Pixels16({5, 6, 7, 8});
  auto mrImage = Build(mr);
  ASSERT_NE(AsGrey16(mrImage.get()), nullptr);
  EXPECT_EQ(AsGrey16(mrImage.get())->Intercept(), 0);
  EXPECT_EQ(AsGrey16(mrImage.get())->Slope(), 1) << "slope 0 means 1";
}

struct Full16Case {
  const char* name;
  bool setting;
  const char* displayFlags;
};

class Full16Bit : public testing::TestWithParam<Full16Case> {};

TEST_P(Full16Bit, KeepsTheWholeRangeWithoutRemapping) {
  auto d = Ct(1, 4, {0x9000, 40, 0xFFFF, 5000}, "0", 16);
  if (GetParam().displayFlags) d.Text(0x0501, 0x0152, vr::IS, GetParam().displayFlags);
  ImageSettings settings;
  settings.full16Bit = GetParam().setting;
  auto image = Build(d, 2, settings);
  auto* grey = AsGrey16(image.get());
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ(grey->LookupTableSize(), 65536);
  EXPECT_EQ(grey->Intercept(), 0);
  EXPECT_EQ(grey->GetPixel(0, 0), 0x9000);
  EXPECT_EQ(grey->GetPixel(2, 0), 0xFFFF);
}

INSTANTIATE_TEST_SUITE_P(Sources, Full16Bit,
                         testing::Values(Full16Case{"Setting", true, nullptr},
                                         Full16Case{"DisplayFlag", false, "2"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Full16Bit, LookupTableSizeFollowsBitsStoredOtherwise) {
  auto d = Ct(1, 4, {1, 2, 3, 4}, "-1024", 12);
  auto image = Build(d);
  EXPECT_EQ(image->LookupTableSize(), 4096);
}

TEST(ModalityLut, MapsStoredValuesWithLoadLutOn) {
  ImageDataSet d;
  // Three entries from value 2: below 2 the first entry, after 4 the last.
  d.Grey(1, 8, 16, 12, 11).Pixels16({0, 1, 2, 3, 4, 5, 100, 7}).ModalityLut({3, 2, 12}, {500, 600, 700});
  ImageSettings settings;
  settings.loadLut = true;
  auto image = Build(d, 2, settings);
  ASSERT_NE(image, nullptr);
  const int expected[] = {500, 500, 500, 600, 700, 700, 700, 700};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(image->GetPixel(x, 0), expected[x]) << x;
}

// --- window fields ----------------------------------------------------------

TEST(WindowFields, MultiValuedCentreAndWidthOpenWithTheFirstValue) {
  ImageDataSet d;
  d.Grey(2, 2, 8, 8, 7).Pixels8({1, 2, 3, 4});
  d.Text(0x0028, 0x1050, vr::DS, "100\\30").Text(0x0028, 0x1051, vr::DS, "50\\200");
  auto image = Build(d);
  auto* grey = AsGrey(image.get());
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ(grey->Centre(), 100);
  EXPECT_EQ(grey->Width(), 50);
}

TEST(WindowFields, ClassDefaultsDependOnPixelClassAndCategory) {
  ImageDataSet d16;
  d16.Grey(1, 4, 16, 12, 11).Pixels16({1, 2, 3, 4});
  auto category1 = Build(d16, 1);
  auto category2 = Build(d16, 2);
  ImageDataSet d8;
  d8.Grey(1, 4, 8, 8, 7).Pixels8({1, 2, 3, 4});
  auto grey8 = Build(d8, 1);
  double w = 0, c = 0;
  AsGrey(category1.get())->GetWindow(w, c);
  EXPECT_EQ(c, 40);
  EXPECT_EQ(w, 400);
  AsGrey(category2.get())->GetWindow(w, c);
  EXPECT_EQ(c, 2047);
  EXPECT_EQ(w, 4096);
  AsGrey(grey8.get())->GetWindow(w, c);
  EXPECT_EQ(c, 128);
  EXPECT_EQ(w, 256);
}

struct SetWindowCase {
  const char* name;
  double width, centre;
  int expectedWidth, expectedCentre;  // stored units
};

class SetWindow : public testing::TestWithParam<SetWindowCase> {};

TEST_P(SetWindow, ConvertsAndClampsToTheLookupTable) {
  // 12-bit MR image with intercept 100: modality = stored + 100.
  ImageDataSet d;
  d.Grey(1, 4, 16, 12, 11).Text(0x0028, 0x1052, vr::DS, "100").Pixels16({1, 2, 3, 4});
  auto image = Build(d);
  auto* grey = AsGrey(image.get());
  ASSERT_NE(grey, nullptr);
  CommandArgument argument;
  argument.width = GetParam().width;
  argument.centre = GetParam().centre;
  ASSERT_TRUE(grey->HasCommand(image_command::kSetWindow));
  EXPECT_TRUE(grey->RunCommand(image_command::kSetWindow, argument));
  EXPECT_EQ(grey->Width(), GetParam().expectedWidth);
  EXPECT_EQ(grey->Centre(), GetParam().expectedCentre);
  CommandArgument readBack;
  EXPECT_TRUE(grey->RunCommand(image_command::kGetWindow, readBack));
  EXPECT_EQ(readBack.width, GetParam().expectedWidth);
  EXPECT_EQ(readBack.centre, GetParam().expectedCentre + 100);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetWindow,
    testing::Values(SetWindowCase{"ModalityCentre", 400, 500, 400, 400},
                    SetWindowCase{"WidthOneBecomesTwo", 1, 500, 2, 400},
                    SetWindowCase{"WidthAboveTableSize", 100000, 500, 4096, 400},
                    SetWindowCase{"CentreAbove4095", 400, 9000, 400, 4095},
                    SetWindowCase{"CentreBelowZero", 400, -500, 400, 0},
                    SetWindowCase{"NegativeWidthMeansStoredCentre", -300, 500, 300, 500}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindowFields, AdjustReportsChangeAndResetRestoresDefaults) {
  ImageDataSet d;
  d.Grey(1, 4, 8, 8, 7).Pixels8({1, 2, 3, 4});
  auto image = Build(d);
  auto* grey = AsGrey(image.get());
  EXPECT_TRUE(grey->AdjustCentre(10));
  EXPECT_EQ(grey->Centre(), 138);
  EXPECT_TRUE(grey->AdjustWidth(-100));
  EXPECT_EQ(grey->Width(), 156);
  EXPECT_TRUE(grey->AdjustWidth(1000));
  EXPECT_EQ(grey->Width(), 256) << "clamped to the table size";
  EXPECT_FALSE(grey->AdjustWidth(1000));
  EXPECT_TRUE(grey->AdjustWidth(-1000));
  EXPECT_EQ(grey->Width(), 2);
  EXPECT_FALSE(grey->AdjustWidth(-5));
  grey->ResetWindow();
  EXPECT_EQ(grey->Centre(), 128);
  EXPECT_EQ(grey->Width(), 256);
}

TEST(WindowFields, WindowFromRegionUsesMeanAndNarrowerSpread) {
  ImageDataSet d;
  // Values 100, 200, 300, 1000 in the region: mean 400, spread min(600, 300).
  d.Grey(2, 4, 16, 12, 11).Pixels16({100, 200, 9, 9, 300, 1000, 9, 9});
  auto image = Build(d);
  CommandArgument argument;
  argument.rect = {2, 2, 0, 0};  // not normalised
  ASSERT_TRUE(image->HasCommand(image_command::kWindowFromRegion));
  EXPECT_TRUE(image->RunCommand(image_command::kWindowFromRegion, argument));
  auto* grey = AsGrey(image.get());
  EXPECT_EQ(grey->Centre(), 400);
  EXPECT_EQ(grey->Width(), 600);
  argument.rect = {1, 1, 1, 1};
  EXPECT_FALSE(image->RunCommand(image_command::kWindowFromRegion, argument));
  EXPECT_EQ(grey->Centre(), 400);
}

TEST(WindowFields, WindowFromRegionFindsMinimaAbove4096InFull16BitImages) {
  ImageDataSet d;
  d.Grey(1, 4, 16, 16, 15).Pixels16({10000, 11000, 12000, 13000});
  ImageSettings settings;
  settings.full16Bit = true;
  auto image = Build(d, 2, settings);
  ASSERT_TRUE(AsGrey16(image.get())->WindowFromRegion({0, 0, 4, 1}));
  EXPECT_EQ(AsGrey(image.get())->Centre(), 11500);
  EXPECT_EQ(AsGrey(image.get())->Width(), 3000);
}

TEST(WindowFields, EightBitImagesHaveNoWindowFromRegion) {
  ImageDataSet d;
  d.Grey(1, 4, 8, 8, 7).Pixels8({1, 2, 3, 4});
  auto image = Build(d);
  EXPECT_FALSE(image->HasCommand(image_command::kWindowFromRegion));
  EXPECT_TRUE(image->HasCommand(image_command::kGetWindow));
}

// --- window lookup table ----------------------------------------------------

struct LutCase {
  const char* name;
  int centre, width, size, index, expected;
};

class WindowTable : public testing::TestWithParam<LutCase> {};

TEST_P(WindowTable, MapsStoredValuesToGreyLevels) {
  const auto& c = GetParam();
  WindowLookupTable table;
  table.Build(c.centre, c.width, c.size, 65536);
  EXPECT_EQ(table[c.index], c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowTable,
    testing::Values(LutCase{"IdentityBlack", 128, 256, 256, 0, 0},
                    LutCase{"IdentityMiddle", 128, 256, 256, 128, 128},
                    LutCase{"IdentityWhite", 128, 256, 256, 255, 255},
                    LutCase{"BelowWindowIsBlack", 1000, 100, 4096, 949, 0},
                    LutCase{"LowEdgeOfOddWidth", 1000, 100, 4096, 950, 0},
                    LutCase{"CentreIsMidGrey", 1000, 100, 4096, 1000, 128},
                    LutCase{"TopOfWindowIsWhite", 1000, 100, 4096, 1050, 255},
                    LutCase{"JustBelowTop", 1000, 100, 4096, 1049, 253},
                    LutCase{"BeyondTableSizeIsWhite", 100, 50, 4096, 60000, 255},
                    LutCase{"NarrowestWindow", 500, 2, 4096, 499, 0},
                    LutCase{"NarrowestWindowCentre", 500, 2, 4096, 500, 128},
                    LutCase{"NarrowestWindowAbove", 500, 2, 4096, 502, 255}),
    [](const auto& info) { return std::string(info.param.name); });

// --- inversion and padding ---------------------------------------------------

struct InversionCase {
  const char* name;
  const char* photometric;
  int privateFlag;  // -1: absent
  bool inverted;
};

class Inversion : public testing::TestWithParam<InversionCase> {};

TEST_P(Inversion, PaletteFollowsPhotometricAndPrivateFlag) {
  ImageDataSet d;
  d.Grey(1, 4, 8, 8, 7, GetParam().photometric).Pixels8({0, 64, 128, 255});
  if (GetParam().privateFlag >= 0) d.UShort(0x0501, 0x0010, static_cast<uint16_t>(GetParam().privateFlag));
  auto image = Build(d);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Inverted(), GetParam().inverted);
  const DibBitmap* bitmap = image->RenderedBitmap();
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->Row(0)[0], 0) << "inversion lives in the palette, not the pixels";
  EXPECT_EQ(bitmap->Palette()[0].red, GetParam().inverted ? 255 : 0);
  EXPECT_EQ(bitmap->Palette()[255].blue, GetParam().inverted ? 0 : 255);
}

INSTANTIATE_TEST_SUITE_P(Cases, Inversion,
                         testing::Values(InversionCase{"Mono2", "MONOCHROME2", -1, false},
                                         InversionCase{"Mono1", "MONOCHROME1", -1, true},
                                         InversionCase{"Mono1WithFlag", "MONOCHROME1", 1, false},
                                         InversionCase{"Mono2WithFlag", "MONOCHROME2", 1, true},
                                         InversionCase{"Mono1WithZeroFlag", "MONOCHROME1", 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FrameLayout, RowsArePaddedToAMultipleOfFourWithZeros) {
  ImageDataSet d;
  d.Grey(2, 510, 16, 12, 11).Pixels16(test::Filled16(2, 510, 700));
  auto image = Build(d);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Columns(), 510);
  EXPECT_EQ(image->PaddedColumns(), 512);
  EXPECT_EQ(image->Frame()->size(), 2u * 512u * 2u);
  for (int y = 0; y < 2; ++y) {
    EXPECT_EQ(image->GetPixel(509, y), 700);
    EXPECT_EQ(image->GetPixel(510, y), 0);
    EXPECT_EQ(image->GetPixel(511, y), 0);
  }
  EXPECT_EQ(image->SourceRect(), (ImageRect{0, 0, 512, 2}));
}

TEST(FrameLayout, HighBitShiftsValuesDown) {
  ImageDataSet d;
  d.Grey(1, 4, 16, 12, 15).Pixels16({0x0010, 0x8000, 0xFFF0, 0x0100});
  auto image = Build(d);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetPixel(0, 0), 1);
  EXPECT_EQ(image->GetPixel(1, 0), 0x800);
  EXPECT_EQ(image->GetPixel(3, 0), 0x10);
}

TEST(FrameLayout, PixelDataIsCutIntoWholeFramesOnly) {
  ImageDataSet d;
  std::vector<uint8_t> pixels(4 * 2 * 3 + 3);  // four frames and a partial one
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i);
  d.Grey(2, 3, 8, 8, 7).Text(0x0028, 0x0008, vr::IS, "3").Pixels8(pixels);
  auto image = Build(d);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->NumberOfFrames(), 3);
  EXPECT_EQ(image->FrameCount(), 4);
  EXPECT_EQ(image->GetPixel(0, 0, 1), 6);
  EXPECT_EQ(image->GetPixel(2, 1, 3), 23);
  EXPECT_TRUE(image->SetCurrentFrame(2));
  EXPECT_EQ(image->GetPixel(0, 0), 12);
  EXPECT_FALSE(image->SetCurrentFrame(4));
  EXPECT_EQ(image->Frame(9), nullptr);
}

TEST(FrameLayout, FramesCanBeReplacedAndAppendedOnlyWithTheStoredSize) {
  ImageDataSet d;
  d.Grey(2, 2, 8, 8, 7).Pixels8({1, 2, 3, 4});
  auto image = Build(d);
  const size_t size = image->StoredFrameSize();
  EXPECT_EQ(size, 8u);
  EXPECT_FALSE(image->AppendFrame(std::vector<uint8_t>(size - 1)));
  EXPECT_TRUE(image->AppendFrame(std::vector<uint8_t>(size, 9)));
  EXPECT_EQ(image->FrameCount(), 2);
  EXPECT_TRUE(image->ReplaceFrame(-1, std::vector<uint8_t>(size, 7)));
  EXPECT_EQ(image->GetPixel(1, 1), 7);
  EXPECT_FALSE(image->ReplaceFrame(5, std::vector<uint8_t>(size, 7)));
  EXPECT_TRUE(image->AppendRawFrame(std::vector<uint8_t>{5, 6, 7, 8}));
  EXPECT_EQ(image->GetPixel(1, 1, 2), 8);
  EXPECT_FALSE(image->AppendRawFrame(std::vector<uint8_t>{5, 6}));
}

TEST(FrameLayout, HeaderOnlyDataSetWaitsForFramesFromTheLoader) {
  ImageDataSet d;
  d.Grey(2, 2, 8, 8, 7);
  std::string reason;
  auto image = BuildImage("a.dcm", d.Get(), 2, {}, reason, true);
  ASSERT_NE(image, nullptr) << reason;
  EXPECT_EQ(image->FrameCount(), 0);
  EXPECT_EQ(image->RenderedBitmap(), nullptr);
  EXPECT_TRUE(image->AppendRawFrame(std::vector<uint8_t>{5, 6, 7, 8}));
  EXPECT_NE(image->RenderedBitmap(), nullptr);
}

// --- rendering ----------------------------------------------------------------

std::unique_ptr<DicomImage> Ramp8(int rows, int columns) {
  ImageDataSet d;
  std::vector<uint8_t> pixels(static_cast<size_t>(rows) * columns);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < columns; ++x) pixels[static_cast<size_t>(y) * columns + x] = static_cast<uint8_t>(y * 16 + x);
  d.Grey(rows, columns, 8, 8, 7).Pixels8(pixels);
  return Build(d);
}

TEST(RenderToDib, SameSizeMapsEveryPixelBottomRowFirst) {
  auto image = Ramp8(3, 4);
  auto bitmap = image->CreateBitmap(-1, -1);
  ASSERT_EQ(bitmap->Width(), 4);
  ASSERT_EQ(bitmap->Height(), 3);
  ASSERT_TRUE(image->RenderToDib(*bitmap, nullptr));
  // Window 128/256 is the identity; the first stored row is the picture's bottom row.
  EXPECT_EQ(bitmap->Bits()[0], 2 * 16);
  EXPECT_EQ(bitmap->Bits()[2 * bitmap->Stride() + 3], 3);
}

TEST(RenderToDib, RectangleMapsOnlyThePartInsideItClippedToTheImage) {
  auto image = Ramp8(3, 4);
  auto bitmap = image->CreateBitmap(-1, -1);
  std::fill(bitmap->Bits(), bitmap->Bits() + bitmap->BitsSize(), 0xEE);
  const ImageRect rect{2, 1, 10, 10};
  ASSERT_TRUE(image->RenderToDib(*bitmap, &rect));
  EXPECT_EQ(bitmap->Row(0)[3], 0xEE);
  EXPECT_EQ(bitmap->Row(1)[1], 0xEE);
  EXPECT_EQ(bitmap->Row(1)[2], 16 + 2);
  EXPECT_EQ(bitmap->Row(2)[3], 32 + 3);
}

TEST(RenderToDib, OtherSizesScaleByNearestNeighbour) {
  auto image = Ramp8(3, 4);
  auto bigger = image->CreateBitmap(8, 6);
  ASSERT_TRUE(image->RenderToDib(*bigger, nullptr));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(bigger->Row(y)[x], (y / 2) * 16 + x / 2) << x << "," << y;
  const ImageRect rect{1, 1, 3, 3};
  auto zoomed = image->CreateBitmap(4, 4);
  ASSERT_TRUE(image->RenderToDib(*zoomed, &rect));
  EXPECT_EQ(zoomed->Row(0)[0], 16 + 1);
  EXPECT_EQ(zoomed->Row(3)[3], 32 + 2);
}

TEST(RenderToDib, ScaledRectangleOutsideTheImageIsBlackNotReadPastTheFrame) {
  auto image = Ramp8(3, 4);
  const ImageRect rect{-4, -3, 8, 6};
  auto bitmap = image->CreateBitmap(12, 9);
  ASSERT_TRUE(image->RenderToDib(*bitmap, &rect));
  EXPECT_EQ(bitmap->Row(0)[0], 0);
  EXPECT_EQ(bitmap->Row(3)[4], 0);
  EXPECT_EQ(bitmap->Row(4)[5], 16 + 1);
  EXPECT_EQ(bitmap->Row(8)[11], 0);
}

TEST(RenderToDib, ValuesAboveTheTableSizeRenderWhite) {
  // 10 stored bits but bits above them are kept: 0x0FFF must not index past the table.
  ImageDataSet d;
  d.Grey(1, 4, 16, 10, 9).Pixels16({0, 1023, 0x0FFF, 512});
  auto image = Build(d);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->LookupTableSize(), 1024);
  const DibBitmap* bitmap = image->RenderedBitmap();
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->Row(0)[2], 255);
}

TEST(RenderToDib, WindowChangeInvalidatesTheCachedBitmap) {
  auto image = Ramp8(3, 4);
  const uint8_t before = image->RenderedBitmap()->Row(2)[3];
  AsGrey(image.get())->SetWindow(-4, 35);
  const uint8_t after = image->RenderedBitmap()->Row(2)[3];
  EXPECT_EQ(before, 35);
  EXPECT_NE(after, before);
}

// --- state record ----------------------------------------------------------------

TEST(StateRecord, RoundTripsDisplayStateAndWindow) {
  ImageDataSet d;
  d.Grey(2, 4, 16, 12, 11).Pixels16(test::Filled16(2, 4, 100));
  auto first = Build(d, 3);
  auto second = Build(d, 3);
  // Transforms move the pan centre with the pixels, so they come first.
  first->ApplyTransform(3);
  first->ApplyTransform(1);
  first->PanX() = 1;
  first->PanY() = 3;
  first->Zoom() = 150;
  first->CellRect() = {1, 2, 300, 400};
  first->ToggleInvert();
  first->SourceRect() = {0, 0, 2, 4};
  first->AnnotationRecords() = {1, 2, 3};
  AsGrey(first.get())->SetWindow(-500, 1234);
  ByteWriter writer;
  first->WriteStateRecord(writer);
  const auto bytes = writer.Take();
  ASSERT_GE(bytes.size(), 8u);
  EXPECT_EQ(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16), first->ClassCode());
  EXPECT_EQ(static_cast<size_t>(bytes[4] | (bytes[5] << 8)), bytes.size() - 8);
  EXPECT_EQ(second->ReadStateRecord(bytes), bytes.size());
  EXPECT_EQ(second->PanX(), 1);
  EXPECT_EQ(second->PanY(), 3);
  EXPECT_EQ(second->Zoom(), 150);
  EXPECT_TRUE(second->Inverted());
  EXPECT_EQ(second->CellRect(), (ImageRect{1, 2, 300, 400}));
  EXPECT_EQ(second->SourceRect(), (ImageRect{0, 0, 2, 4}));
  EXPECT_EQ(second->Transforms(), (std::vector<int32_t>{3, 1}));
  EXPECT_EQ(second->AnnotationRecords(), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(AsGrey(second.get())->Centre(), 1234);
  EXPECT_EQ(AsGrey(second.get())->Width(), 500);
}

TEST(StateRecord, RefusesAnotherClassOrATruncatedRecord) {
  ImageDataSet d;
  d.Grey(2, 4, 16, 12, 11).Pixels16(test::Filled16(2, 4, 100));
  auto image = Build(d, 3);
  auto other = Build(d, 2);
  AsGrey(image.get())->SetWindow(-100, 50);
  ByteWriter writer;
  image->WriteStateRecord(writer);
  auto bytes = writer.Take();
  EXPECT_EQ(other->ReadStateRecord(bytes), 0u);
  auto target = Build(d, 3);
  for (size_t cut : {size_t{4}, size_t{30}, bytes.size() - 1}) {
    std::vector<uint8_t> truncated(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
    EXPECT_EQ(target->ReadStateRecord(truncated), 0u) << cut;
  }
  // A transform count far beyond the record must not be trusted.
  bytes[56] = 0xFF;
  bytes[57] = 0xFF;
  EXPECT_EQ(target->ReadStateRecord(bytes), 0u);
  EXPECT_EQ(AsGrey(target.get())->Centre(), AsGrey(other.get())->Centre());
}

// --- texts and geometry ------------------------------------------------------------

TEST(ImageTexts, PatientTextsAreCutAndGeometryKeysRead) {
  ImageDataSet d;
  d.Grey(1, 4, 8, 8, 7).Pixels8({1, 2, 3, 4});
  d.Text(0x0010, 0x0010, vr::PN, std::string(40, 'A')).Text(0x0010, 0x0040, vr::CS, "f ");
  d.Text(0x0008, 0x0016, vr::UI, "1.2.3 ").Text(0x0020, 0x0011, vr::IS, "4");
  d.Text(0x0020, 0x0013, vr::IS, "12").Text(0x0028, 0x0030, vr::DS, "0.5");
  d.Text(0x0018, 0x0050, vr::DS, "2.5");
  auto image = Build(d);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Patient().name.size(), 32u);
  EXPECT_EQ(image->Patient().sex, "F");
  EXPECT_EQ(image->SopClassUid(), "1.2.3");
  EXPECT_TRUE(image->HasSopClass());
  EXPECT_TRUE(image->SopInstanceUid().empty());
  const auto& g = image->Geometry();
  EXPECT_EQ(g.seriesNumber, 4);
  EXPECT_EQ(g.rowSpacing, 0.5);
  EXPECT_EQ(g.columnSpacing, 0.5);
  EXPECT_EQ(g.sliceLocation, 12) << "slice location defaults to the instance number";
  GeometryKeys other = g;
  other.instanceNumber = 13;
  other.sliceLocation = 14;
  EXPECT_TRUE(SameGeometry(g, other));
  EXPECT_EQ(CompareSliceLocation(other, g), 1);
  other.sliceLocation = 12;
  EXPECT_FALSE(SameGeometry(g, other));
}

}  // namespace
}  // namespace tolmar
