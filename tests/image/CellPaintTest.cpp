// Display cells: fit zoom and placement, zoom and pan limits, transforms and
// their history, the ruler, the overlay size limit and the interpolation.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <random>

#include "ImageTestData.h"
#include "dicom/DicomCodec.h"
#include "image/BilinearScaler.h"
#include "image/CategoryImage.h"
#include "image/CellPainter.h"
#include "image/DisplaySettings.h"
#include "image/ImageFactory.h"
#include "image/OrientationLabels.h"
#include "image/OverlayText.h"

namespace tolmar {
namespace {

using test::ImageDataSet;

// QFont needs an application object; one for the whole test program.
QGuiApplication& App() {
  static int argc = 1;
  static char name[] = "image_tests";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = QGuiApplication::instance()
                                    ? static_cast<QGuiApplication*>(QGuiApplication::instance())
                                    : new QGuiApplication(argc, argv);
  return *app;
}

std::unique_ptr<DicomImage> Grey8(int rows, int columns, const std::vector<uint8_t>& pixels,
                                  const std::string& spacing = {}) {
  ImageDataSet d;
  d.Grey(rows, columns, 8, 8, 7).Pixels8(pixels);
  if (!spacing.empty()) d.Text(0x0028, 0x0030, vr::DS, spacing);
  std::string reason;
  auto image = BuildImage("cell.dcm", d.Get(), 2, {}, reason);
  EXPECT_TRUE(image) << reason;
  return image;
}

std::vector<uint8_t> Ramp(int rows, int columns) {
  std::vector<uint8_t> v(static_cast<size_t>(rows) * columns);
  for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<uint8_t>(i * 7 % 251);
  return v;
}

class CellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    SetProgramReferenceRect({});
    DisplaySettings s;
    s.interpolation = false;
    SetDisplaySettings(s);
  }
  void TearDown() override {
    SetProgramReferenceRect({});
    SetDisplaySettings({});
  }
};

TEST_F(CellTest, LargeImageInSmallCellFitsAtHalfAndInsetHidesFourImagePixels) {
  auto image = Grey8(512, 512, std::vector<uint8_t>(512 * 512, 9));
  QImage target(256, 256, QImage::Format_RGB32);
  QPainter painter(&target);
  ASSERT_TRUE(PaintCell(*image, painter, {0, 0, 256, 256}));
  EXPECT_EQ(FitZoom(*image), 50);
  const auto place = PlaceImage(*image, {0, 0, 256, 256});
  ASSERT_TRUE(place);
  EXPECT_EQ(place->source, (ImageRect{4, 4, 508, 508}));
  EXPECT_EQ(place->destination, (ImageRect{2, 2, 254, 254}));
}

TEST_F(CellTest, FitZoomFollowsTheNarrowerSideOfTheReference) {
  auto image = Grey8(100, 200, std::vector<uint8_t>(100 * 200, 1));
  SetProgramReferenceRect({0, 0, 400, 400});
  EXPECT_EQ(FitZoom(*image), 200);  // 200 columns into 400 pixels
  image->Display().referenceRect = {0, 0, 100, 400};
  EXPECT_EQ(FitZoom(*image), 50);
}

struct ZoomCase {
  const char* name;
  int start;
  int delta;
  int expected;
};

class ZoomLimitTest : public CellTest, public ::testing::WithParamInterface<ZoomCase> {};

TEST_P(ZoomLimitTest, ZoomStaysWithinTwoAndEightHundredPercent) {
  auto image = Grey8(64, 64, std::vector<uint8_t>(64 * 64, 1));
  ASSERT_TRUE(SetZoom(*image, GetParam().start) || GetParam().start == 0);
  CommandArgument a;
  a.value = GetParam().delta;
  image->RunCommand(image_command::kZoomBy, a);
  image->RunCommand(image_command::kGetZoom, a);
  EXPECT_EQ(a.value, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Steps, ZoomLimitTest,
                         ::testing::Values(ZoomCase{"DownToOne", 10, -9, 2}, ZoomCase{"FarDown", 100, -5000, 2},
                                           ZoomCase{"UpToThousand", 100, 900, 800},
                                           ZoomCase{"Inside", 100, 50, 150}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CellTest, PanningPastTheEdgeStopsAtTheEdge) {
  auto image = Grey8(64, 64, std::vector<uint8_t>(64 * 64, 1));
  int movedX = 0, movedY = 0;
  PanBy(*image, -1000, 1000, &movedX, &movedY);
  EXPECT_EQ(image->PanX(), 64);
  EXPECT_EQ(image->PanY(), 0);
  EXPECT_EQ(movedX, -32);
  EXPECT_EQ(movedY, 32);
  EXPECT_EQ(PanBy(*image, -5, 0), 0);  // already at the edge
}

TEST_F(CellTest, PaintingNeverReadsOutsideTheFrameWhateverZoomPanOrSource) {
  auto image = Grey8(10, 12, Ramp(10, 12), "0.5\\0.7");
  DisplaySettings s;
  s.interpolation = true;
  SetDisplaySettings(s);
  QImage target(300, 200, QImage::Format_RGB32);
  QPainter painter(&target);
  for (const int zoom : {2, 37, 100, 799}) {
    for (const auto& pan : {std::pair{0, 0}, std::pair{12, 10}, std::pair{-50, 900}}) {
      SetZoom(*image, zoom);
      SetPan(*image, pan.first, pan.second);
      image->SourceRect() = {-100, -100, 1000, 1000};
      PaintCell(*image, painter, {0, 0, 300, 200});
      image->SourceRect() = {3, 3, 5, 5};
      PaintCell(*image, painter, {7, 9, 300, 200});
      if (const auto place = PlaceImage(*image, {0, 0, 300, 200})) {
        EXPECT_GE(place->source.left, 0);
        EXPECT_GE(place->source.top, 0);
        EXPECT_LE(place->source.right, image->PaddedColumns());
        EXPECT_LE(place->source.bottom, image->Rows());
      }
    }
  }
}

TEST_F(CellTest, UnscaledCellShowsEveryPixelThroughTheGreyRampAndBorder) {
  // 8 x 8 at 100 %: the picture lands at the cell centre pixel for pixel.
  auto image = Grey8(8, 8, Ramp(8, 8));
  SetZoom(*image, 100);
  QImage target(20, 20, QImage::Format_RGB32);
  target.fill(Qt::blue);
  QPainter painter(&target);
  PaintCellOptions o;
  o.border = CellBorder::Active;
  ASSERT_TRUE(PaintCell(*image, painter, {0, 0, 20, 20}, o));
  painter.end();
  const auto place = PlaceImage(*image, {0, 0, 20, 20});
  ASSERT_TRUE(place);
  EXPECT_EQ(place->destination, (ImageRect{6, 6, 14, 14}));
  const auto* frame = image->Frame();
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const int v = (*frame)[static_cast<size_t>(y * 8 + x)];
      ASSERT_EQ(target.pixel(6 + x, 6 + y), qRgb(v, v, v)) << x << "," << y;
    }
  }
  EXPECT_EQ(target.pixel(0, 0), qRgb(255, 0, 0));   // active border
  EXPECT_EQ(target.pixel(1, 10), qRgb(255, 0, 0));  // second ring
  EXPECT_EQ(target.pixel(3, 3), qRgb(0, 0, 0));     // background
}

TEST_F(CellTest, EnlargedCellsShowTheBilinearPictureAtTheDestination) {
  auto image = Grey8(8, 8, Ramp(8, 8));
  DisplaySettings s;
  s.interpolation = true;
  SetDisplaySettings(s);
  SetZoom(*image, 300);
  QImage target(40, 40, QImage::Format_RGB32);
  QPainter painter(&target);
  ASSERT_TRUE(PaintCell(*image, painter, {0, 0, 40, 40}));
  painter.end();
  const auto place = PlaceImage(*image, {0, 0, 40, 40});
  ASSERT_TRUE(place);
  const DibBitmap* dib = image->RenderedBitmap();
  PictureView view{dib->Row(0), dib->Width(), dib->Height(), -dib->Stride(), 1};
  const int dw = place->destination.Width() & ~3, dh = place->destination.Height() & ~3;
  std::vector<uint8_t> expected;
  ASSERT_TRUE(BilinearScaler::ScaleScalar(view, place->source, dw, dh, expected));
  for (int y = 0; y < dh; ++y) {
    for (int x = 0; x < dw; ++x) {
      const int v = expected[static_cast<size_t>(y * dw + x)];
      ASSERT_EQ(target.pixel(place->destination.left + x, place->destination.top + y), qRgb(v, v, v)) << x << "," << y;
    }
  }
}

TEST_F(CellTest, FixedZoomFollowsTheCellWidth) {
  auto image = Grey8(8, 8, Ramp(8, 8));
  QImage target(400, 400, QImage::Format_RGB32);
  QPainter painter(&target);
  SetZoom(*image, 300);
  PaintCell(*image, painter, {0, 0, 200, 200});
  PaintCell(*image, painter, {0, 0, 300, 200});
  EXPECT_EQ(image->Zoom(), 450);
  PaintCell(*image, painter, {0, 0, 30, 200});
  EXPECT_EQ(image->Zoom(), 45);
}

struct HistoryCase {
  const char* name;
  std::vector<int> applied;
  std::vector<int32_t> history;
};

class TransformHistoryTest : public CellTest, public ::testing::WithParamInterface<HistoryCase> {};

TEST_P(TransformHistoryTest, UndoingTheLastTransformRemovesItsRecord) {
  auto image = Grey8(6, 8, Ramp(6, 8));
  for (const int code : GetParam().applied) ASSERT_TRUE(image->ApplyTransform(code));
  EXPECT_EQ(image->Transforms(), GetParam().history);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, TransformHistoryTest,
    ::testing::Values(HistoryCase{"MirrorTwice", {1, 1}, {}}, HistoryCase{"FlipTwice", {2, 2}, {}},
                      HistoryCase{"LeftThenRight", {3, 4}, {}}, HistoryCase{"LeftTwice", {3, 3}, {3, 3}},
                      HistoryCase{"MirrorThenRotate", {1, 3}, {1, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CellTest, RotationMovesPixelsSizesSpacingAndSourceRectangle) {
  // 3 rows x 4 columns; rotating left makes 4 rows of 3 (padded to 4) columns.
  auto image = Grey8(3, 4, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, "0.5\\0.25");
  ASSERT_TRUE(image->ApplyTransform(3));
  EXPECT_EQ(image->PaddedColumns(), 4);
  EXPECT_EQ(image->Columns(), 3);
  EXPECT_EQ(image->Rows(), 4);
  EXPECT_DOUBLE_EQ(image->RowSpacing(), 0.25);
  EXPECT_DOUBLE_EQ(image->ColumnSpacing(), 0.5);
  // New row j is old column 3 - j read from top to bottom; the padding is 0.
  const std::vector<uint8_t> expected{4, 8, 12, 0, 3, 7, 11, 0, 2, 6, 10, 0, 1, 5, 9, 0};
  EXPECT_EQ(*image->Frame(), expected);
  EXPECT_EQ(image->SourceRect(), (ImageRect{0, 0, 3, 4}));
  EXPECT_TRUE(image->Display().changed);
  // Rotating back turns the padding column into a fourth row of zeros: the new
  // height is always the old padded width.
  ASSERT_TRUE(image->ApplyTransform(4));
  EXPECT_EQ(image->Rows(), 4);
  EXPECT_EQ(*image->Frame(), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0, 0, 0, 0}));
  EXPECT_TRUE(image->Transforms().empty());
}

TEST_F(CellTest, TransformRoundTripsRestoreRealImages) {
  const std::string path = std::string(TOLMAR_PYDICOM_DIR) + "/CT_small.dcm";
  auto ds = ReadDicomImage(path, ReadMode::FullRead);
  if (!ds) GTEST_SKIP() << "pydicom test files are not installed";
  std::string reason;
  auto image = BuildImage(path, *ds, 1, {}, reason);
  ASSERT_TRUE(image) << reason;
  const std::vector<uint8_t> original = *image->Frame();
  const ImageRect source = image->SourceRect();
  for (const std::vector<int>& codes : {std::vector<int>{3, 3, 3, 3}, {1, 1}, {2, 2}, {4, 4, 4, 4}, {1, 2, 3, 3}}) {
    for (const int code : codes) ASSERT_TRUE(image->ApplyTransform(code));
    if (codes == std::vector<int>{1, 2, 3, 3}) {
      EXPECT_EQ(*image->Frame(), original);  // mirror both ways = half turn
      continue;
    }
    EXPECT_EQ(*image->Frame(), original);
    EXPECT_EQ(image->SourceRect(), source);
  }
}

TEST_F(CellTest, OrientationLabelsFollowTransforms) {
  auto labels = OrientationLabelsFromCosines("1\\0\\0\\0\\1\\0");
  ASSERT_EQ(labels, (std::vector<std::string>{"[R]", "[A]", "[L]", "[P]"}));
  MoveOrientationLabels(labels, 3);
  EXPECT_EQ(labels, (std::vector<std::string>{"[A]", "[L]", "[P]", "[R]"}));
  MoveOrientationLabels(labels, 4);
  MoveOrientationLabels(labels, 1);
  EXPECT_EQ(labels, (std::vector<std::string>{"[L]", "[A]", "[R]", "[P]"}));
  MoveOrientationLabels(labels, 2);
  EXPECT_EQ(labels, (std::vector<std::string>{"[L]", "[P]", "[R]", "[A]"}));
  EXPECT_EQ(OrientationLabelsFromPosition(" hfdl "), (std::vector<std::string>{"[P]", "[R]", "[A]", "[L]"}));
  EXPECT_TRUE(OrientationLabelsFromPosition("XYZ").empty());
  EXPECT_TRUE(OrientationLabelsFromCosines("0.5\\0.5\\0\\0\\1\\0").empty());
  EXPECT_EQ(OrientationLabelsFromCosines("0\\0\\-1\\0\\1\\0").front(), "[H]");
}

TEST(RulerTest, TenCentimetresWithTwentyOneTicksAtHalfMillimetrePixels) {
  const RulerGeometry r = ComputeRuler(0.5, 0.5, 1.0, 400, 400, false);
  EXPECT_EQ(r.lengthMm, 100);
  EXPECT_DOUBLE_EQ(r.pixels, 200);
  EXPECT_EQ(r.tickCount, 21);
  EXPECT_DOUBLE_EQ(r.tickSpacing, 10);
  EXPECT_EQ(r.tickLength, 8);  // 400 / 40 = 10, at most 8 on screen
  EXPECT_EQ(ComputeRuler(0, 0.5, 1.0, 400, 400, false).lengthMm, 0);
  EXPECT_EQ(ComputeRuler(0.5, 0.5, 8.0, 400, 10, false).lengthMm, 0);
}

TEST_F(CellTest, SmallCellsShowNoOverlaysAndLargeOnesDo) {
  auto image = Grey8(64, 64, std::vector<uint8_t>(64 * 64, 0), "0.5\\0.5");
  auto paint = [&](int w, int h, bool overlays) {
    DisplaySettings s;
    s.interpolation = false;
    s.showOverlays = overlays;
    SetDisplaySettings(s);
    QImage target(w, h, QImage::Format_RGB32);
    target.fill(Qt::black);
    QPainter painter(&target);
    PaintCell(*image, painter, {0, 0, w, h});
    return target;
  };
  EXPECT_EQ(paint(140, 400, true), paint(140, 400, false));  // "MaxDispSize" 150
  EXPECT_NE(paint(400, 400, true), paint(400, 400, false));  // the ruler appears
}

TEST(OverlayTextTest, PatientNameLosesUnknownEndingAndFormatsAreSafe) {
  ImageDataSet d;
  d.Text(0x0010, 0x0010, vr::PN, "DOE^JOHN^Unknown^X")
      .Text(0x0028, 0x0030, vr::DS, "0.5\\0.5")
      .Text(0x0020, 0x0013, vr::IS, "12")
      .Text(0x0008, 0x0020, vr::DA, "20240131");
  ImageInfoItem name{0x0010, 0x0010, "PN", "%s", 1, 1, 1, 0};
  EXPECT_EQ(FormatOverlayItem(name, d.Get(), {}), "DOE^JOHN");
  ImageInfoItem spacing{0x0028, 0x0030, "DS", "%.2f mm|2", 1, 1, 1, 0};
  EXPECT_EQ(FormatOverlayItem(spacing, d.Get(), {}), "1.00 mm");
  ImageInfoItem number{0x0020, 0x0013, "IS", "Im: %.0f", 1, 1, 1, 0};
  EXPECT_EQ(FormatOverlayItem(number, d.Get(), {}), "Im: 12");
  ImageInfoItem date{0x0008, 0x0020, "DA", "%s", 1, 1, 1, 0};
  EXPECT_EQ(FormatOverlayItem(date, d.Get(), {}), "2024.01.31");
  ImageInfoItem missing{0x0008, 0x0080, "LO", "%s", 1, 1, 1, 0};
  EXPECT_EQ(FormatOverlayItem(missing, d.Get(), {}), "");
  ImageInfoItem record{0x0503, 0x0002, "LO", "Bed %s", 1, 1, 1, 0};
  EXPECT_EQ(FormatOverlayItem(record, d.Get(), [](uint16_t e) { return e == 2 ? std::string("12") : ""; }),
            "Bed 12");
  // Hostile formats print the bare value.
  EXPECT_EQ(SafeFormatText("%s%s%n", "abc"), "abc");
  EXPECT_EQ(SafeFormatText("%*d", "abc"), "abc");
  EXPECT_EQ(SafeFormatNumber("%s", 2.5), "2.5");
  EXPECT_EQ(SafeFormatText("100%% %s", "x"), "100% x");
}

TEST(BilinearTest, FastPathEqualsThePixelByPixelFormula) {
  std::mt19937 random(7);
  for (const int bpp : {1, 3}) {
    const int w = 37, h = 29;
    std::vector<uint8_t> picture(static_cast<size_t>(w) * h * bpp);
    for (auto& v : picture) v = static_cast<uint8_t>(random());
    PictureView view{picture.data(), w, h, w * bpp, bpp};
    for (const ImageRect source : {ImageRect{0, 0, 37, 29}, ImageRect{3, 5, 20, 17}, ImageRect{-4, -4, 40, 33}}) {
      std::vector<uint8_t> fast, scalar;
      BilinearScaler scaler;
      ASSERT_TRUE(scaler.Scale(view, source, 100, 76, fast));
      ASSERT_TRUE(BilinearScaler::ScaleScalar(view, source, 100, 76, scalar));
      EXPECT_EQ(fast, scalar);
    }
  }
}

TEST(BilinearTest, TwoPixelsDoubledBlendTowardsTheRealNeighbourAndZeroBeyond) {
  // Row 10, 20, 30: the rectangle holds the first two; its right neighbour 30
  // is real, and below the image there is nothing (0).
  const std::vector<uint8_t> picture{10, 20, 30};
  PictureView view{picture.data(), 3, 1, 3, 1};
  std::vector<uint8_t> out;
  ASSERT_TRUE(BilinearScaler::ScaleScalar(view, {0, 0, 2, 1}, 4, 2, out));
  // Row 0: u = 0, .5, 1, 1.5 -> 10, 15, 20, 25. Row 1: v = .5 -> half of it.
  EXPECT_EQ(out, (std::vector<uint8_t>{10, 15, 20, 25, 5, 7, 10, 12}));
}

}  // namespace
}  // namespace tolmar
