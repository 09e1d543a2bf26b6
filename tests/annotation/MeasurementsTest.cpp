// Lengths, region statistics, angles, clip text, calibration, histograms and
// the narrowing analysis.
#include <gtest/gtest.h>

#include "AnnotationFixtures.h"
#include "annotation/AnnotationStyle.h"
#include "annotation/DrawLine.h"
#include "annotation/DrawObjList.h"
#include "annotation/DrawPoly.h"
#include "annotation/DrawRect.h"
#include "annotation/DrawText.h"
#include "annotation/Measurements.h"
#include "annotation/NarrowingAnalysis.h"

namespace tolmar {
namespace {

struct LengthCase {
  const char* name;
  std::string spacing;
  ImageRect line;
  std::string text;
};

class LineLengthText : public ::testing::TestWithParam<LengthCase> {};

TEST_P(LineLengthText, ShowsTruncatedLengthWithUnit) {
  auto image = test::GreyImageOf(200, 200, 8, 0, GetParam().spacing);
  CDrawLine line(image.get(), GetParam().line);
  EXPECT_EQ(line.MeasureText(), GetParam().text);
  ASSERT_TRUE(line.Note());
  EXPECT_EQ(line.Note()->Text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, LineLengthText,
    ::testing::Values(
        LengthCase{"HundredPixelsAtHalfMillimetre", "0.5\\0.5", {10, 10, 110, 10}, "Len:50mm"},
        LengthCase{"HundredPixelsWithoutSpacing", "", {10, 10, 110, 10}, "Len:100Pt"},
        LengthCase{"DiagonalIsTruncated", "", {0, 0, 10, 10}, "Len:14Pt"},
        LengthCase{"RowAndColumnSpacingApplyToTheirAxes", "2\\1", {0, 0, 30, 20}, "Len:50mm"}),
    [](const auto& info) { return std::string(info.param.name); });

struct RegionCase {
  const char* name;
  std::string spacing;
  int mask;
  std::string text;
};

class RectangleStatistics : public ::testing::TestWithParam<RegionCase> {};

TEST_P(RectangleStatistics, TenByTenOfSevens) {
  auto image = test::GreyImageOf(32, 32, 8, 7, GetParam().spacing);
  AnnotationStyle style = MeasureStyle();
  const AnnotationStyle saved = style;
  style.annotationMask = GetParam().mask;
  SetMeasureStyle(style);
  CDrawRect rect(image.get(), {20, 20, 10, 10});  // not normalised on purpose
  EXPECT_EQ(rect.MeasureText(), GetParam().text);
  SetMeasureStyle(saved);
}

INSTANTIATE_TEST_SUITE_P(
    Statistics, RectangleStatistics,
    ::testing::Values(
        RegionCase{"HalfMillimetreSpacing", "0.5\\0.5", -1, "Ar:25\r\nAv:7.0\r\nSD:0.0"},
        RegionCase{"NoSpacing", "", -1, "Ar:0\r\nAv:7.0\r\nSD:0.0"},
        RegionCase{"MaskSixStartsWithALineBreak", "0.5\\0.5", 6, "\r\nAv:7.0\r\nSD:0.0"},
        RegionCase{"MaskOneIsTheAreaAlone", "0.5\\0.5", 1, "Ar:25"},
        RegionCase{"MaskZeroIsEmpty", "0.5\\0.5", 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegionStatisticsTest, MeanIsAWholeNumberAndDeviationIsThePopulationForm) {
  auto image = test::GreyImageOf(4, 4, 8, 0);
  // Values 1, 2 in a 2 x 1 rectangle: mean 3 / 2 = 1, deviations 0 and 1.
  image->SetPixel(0, 0, 1);
  image->SetPixel(1, 0, 2);
  const auto s = MeasureRegion(*image, RegionShape::Rectangle({0, 0, 2, 1}));
  EXPECT_EQ(s.count, 2);
  EXPECT_DOUBLE_EQ(s.mean, 1.0);
  EXPECT_DOUBLE_EQ(s.deviation, std::sqrt(0.5));
}

TEST(RegionStatisticsTest, PixelsOutsideTheImageAreNotCounted) {
  auto image = test::GreyImageOf(8, 8, 8, 5);
  const auto s = MeasureRegion(*image, RegionShape::Rectangle({-10, -10, 4, 4}));
  EXPECT_EQ(s.count, 16);
  EXPECT_DOUBLE_EQ(s.mean, 5.0);
  const auto none = MeasureRegion(*image, RegionShape::Ellipse({100, 100, 120, 120}));
  EXPECT_EQ(none.count, 0);
  EXPECT_DOUBLE_EQ(none.mean, 0.0);
}

TEST(RegionStatisticsTest, RegionsCountOnlyTheirInsidePixels) {
  auto image = test::GreyImageOf(64, 64, 8, 1);
  const int64_t ellipse = MeasureRegion(*image, RegionShape::Ellipse({0, 0, 20, 20})).count;
  EXPECT_GT(ellipse, 280);  // pi x 10 x 10 = 314
  EXPECT_LT(ellipse, 340);
  const int64_t triangle =
      MeasureRegion(*image, RegionShape::Polygon({{0, 0}, {20, 0}, {0, 20}})).count;
  EXPECT_GT(triangle, 180);  // 200
  EXPECT_LT(triangle, 220);
  const int64_t rounded =
      MeasureRegion(*image, RegionShape::RoundRectangle({0, 0, 20, 20}, 8, 8)).count;
  EXPECT_LT(rounded, 400);
  EXPECT_GT(rounded, 380);
}

TEST(AngleTest, OpeningAtTheMiddlePoint) {
  struct Case {
    std::vector<QPoint> points;
    std::string text;
  };
  const std::vector<Case> cases{{{{0, 0}, {10, 0}, {20, 0}}, "Angle:180.0"},
                                {{{0, 0}, {10, 0}, {10, 10}}, "Angle:90.0"},
                                {{{10, 0}, {0, 0}, {10, 10}}, "Angle:45.0"},
                                {{{0, 0}, {10, 0}}, "Angle:0.0"},
                                {{{0, 0}, {0, 0}, {10, 0}}, "Angle:0.0"}};
  for (const auto& c : cases) {
    CDrawAngle angle;
    angle.SetPoints(c.points);
    EXPECT_EQ(angle.MeasureText(), c.text);
  }
}

TEST(ClipTextTest, CornersAndSize) {
  EXPECT_EQ(ClipText({100, 40, 10, 20}), "(  10,  20)\r\n( 100,  40)\r\nw:90, h:20");
}

TEST(Calibration, TwoHundredPixelLineToFiftyMillimetres) {
  auto image = test::GreyImageOf(300, 300);
  CDrawLine line(image.get(), {0, 50, 200, 50});
  EXPECT_EQ(LinePixelLength(line.Position()), 200);
  ASSERT_TRUE(CalibrateLine(*image, line.Position(), 50));
  EXPECT_DOUBLE_EQ(image->ColumnSpacing(), 0.25);
  EXPECT_DOUBLE_EQ(image->RowSpacing(), 0.25);
  line.UpdateNote();
  EXPECT_EQ(line.Note()->Text(), "Len:50mm");
  EXPECT_FALSE(CalibrateLine(*image, {5, 5, 5, 5}, 10));
  EXPECT_FALSE(CalibrateLine(*image, line.Position(), 0));
  EXPECT_DOUBLE_EQ(image->ColumnSpacing(), 0.25);
}

TEST(Histogram, CountsValuesAndFindsTheExtremes) {
  auto image = test::GreyImageOf(4, 4, 8, 3);
  image->SetPixel(0, 0, 9);
  image->SetPixel(1, 0, 9);
  image->SetPixel(2, 0, 1);
  const auto histogram = RegionHistogram(*image, RegionShape::Rectangle({0, 0, 4, 4}));
  EXPECT_EQ(histogram, (std::map<int64_t, int64_t>{{1, 1}, {3, 13}, {9, 2}}));
  const auto s = SummariseHistogram(histogram);
  EXPECT_EQ(s.leastValue, 1);
  EXPECT_EQ(s.leastCount, 1);
  EXPECT_EQ(s.mostValue, 3);
  EXPECT_EQ(s.mostCount, 13);
  EXPECT_EQ(s.firstValue, 1);
  EXPECT_EQ(s.lastValue, 9);
  EXPECT_EQ(s.axisLabels, (std::vector<int64_t>{1, 4, 7, 10, 13}));
}

TEST(Narrowing, RasterLineExcludesTheEndPoint) {
  EXPECT_EQ(RasterLine({0, 0}, {3, 1}), (std::vector<QPoint>{{0, 0}, {1, 0}, {2, 1}}));
  EXPECT_EQ(RasterLine({5, 5}, {5, 5}), (std::vector<QPoint>{{5, 5}}));
  EXPECT_EQ(RasterLine({0, 0}, {0, -2}), (std::vector<QPoint>{{0, 0}, {0, -1}}));
}

TEST(Narrowing, ThresholdTexts) {
  struct Case {
    const char* text;
    bool ok;
    int value;
    bool percent;
  };
  for (const Case& c :
       {Case{"30", true, 30, false}, Case{"15%", true, 15, true}, Case{" 7 ", true, 7, false},
        Case{"x", false, 30, false}, Case{"%", false, 30, false}, Case{"-5", false, 30, false}}) {
    NarrowingThreshold t;
    EXPECT_EQ(ParseThreshold(c.text, t), c.ok) << c.text;
    EXPECT_EQ(t.value, c.value) << c.text;
    EXPECT_EQ(t.percent, c.percent) << c.text;
  }
}

// A horizontal vessel of value 100 in rows 40..49 on a background of 0.
std::unique_ptr<DicomImage> VesselImage() {
  auto image = test::GreyImageOf(100, 100, 8, 0, "0.5\\0.5");
  for (int y = 40; y < 50; ++y) {
    for (int x = 0; x < 100; ++x) image->SetPixel(x, y, 100);
  }
  // A narrowing at x 50..59: rows 43..46 only.
  for (int x = 50; x < 60; ++x) {
    for (int y : {40, 41, 42, 47, 48, 49}) image->SetPixel(x, y, 0);
  }
  return image;
}

TEST(Narrowing, FindsTheVesselEdgesAndTheNarrowestWidth) {
  auto image = VesselImage();
  NarrowingAnalysis analysis(*image, {{20, 45}, {80, 45}});
  ASSERT_EQ(analysis.Rays().size(), 60u);
  const auto result = analysis.Analyse({30, false});
  ASSERT_EQ(result.widths.size(), 60u);
  ASSERT_EQ(result.outline.size(), 120u);
  // Ray at x = 20: edges at the first outside rows, y 50 (down) and 39 (up).
  EXPECT_EQ(result.outline.front(), QPoint(20, 50));
  EXPECT_EQ(result.outline.back(), QPoint(20, 39));
  EXPECT_DOUBLE_EQ(result.widest, 11 * 0.5);
  EXPECT_DOUBLE_EQ(result.narrowest, 5 * 0.5);
  EXPECT_EQ(WidthText(*image, result.narrowest), "2.5 mm");
}

TEST(Narrowing, ThresholdAboveTheReferenceValueStillFindsEdges) {
  // Reference value 100 with threshold 150: the lower bound is clamped at 0,
  // the band covers every pixel and each side runs to the image edge (a point
  // outside the image is outside the band).
  auto image = VesselImage();
  NarrowingAnalysis analysis(*image, {{20, 45}, {30, 45}});
  const auto result = analysis.Analyse({150, false});
  ASSERT_FALSE(result.widths.empty());
  EXPECT_EQ(result.outline.front(), QPoint(20, 100));
  EXPECT_EQ(result.outline.back(), QPoint(20, -1));
  EXPECT_DOUBLE_EQ(result.narrowest, 101 * 0.5);
  // A band of 100 +- 50 % still finds the vessel.
  EXPECT_DOUBLE_EQ(analysis.Analyse({50, true}).narrowest, 11 * 0.5);
}

TEST(Narrowing, DoubleClickPointIsDroppedAndProfileFitsTheArea) {
  auto image = VesselImage();
  NarrowingAnalysis analysis(*image, {{20, 45}, {21, 45}, {40, 45}});
  EXPECT_EQ(analysis.CentreLine().size(), 2u);
  const auto result = analysis.Analyse({30, false});
  const auto profile = ProfileGraph(result, QRect(0, 0, 100, 50));
  EXPECT_DOUBLE_EQ(profile.topValue, 1.25 * 5.5);
  EXPECT_EQ(profile.labels, (std::vector<std::string>{"1.7", "3.4", "5.2", "6.9"}));
  ASSERT_EQ(profile.points.size(), result.widths.size());
  EXPECT_EQ(profile.points[0], QPoint(0, 50 - 40 - 1));
}

TEST(Narrowing, OutlineBecomesThePositionUntilRemoved) {
  auto image = VesselImage();
  CDrawNarrowPoly narrow(image.get(), {});
  narrow.SetPoints({{20, 45}, {80, 45}});
  EXPECT_EQ(narrow.Note(), nullptr);
  const ImageRect before = narrow.Position();
  const auto result = NarrowingAnalysis(*image, narrow.Points()).Analyse({30, false});
  narrow.SetOutline(result.outline, CDrawNarrowPoly::Mode::Filled);
  EXPECT_EQ(narrow.Position(), (ImageRect{20, 39, 79, 50}));
  narrow.RemoveOutline();
  EXPECT_EQ(narrow.Position(), before);
}

}  // namespace
}  // namespace tolmar
