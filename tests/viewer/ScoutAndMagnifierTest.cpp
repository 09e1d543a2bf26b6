#include <gtest/gtest.h>

#include "ViewerFixtures.h"
#include "dicom/DicomDataSet.h"
#include "dicom/DicomElement.h"
#include "image/DibBitmap.h"
#include "image/ImageFactory.h"
#include "image/ImageRegistry.h"
#include "viewer/Magnifier.h"
#include "viewer/ScoutWindowModel.h"

namespace tolmar::viewer {
namespace {

TEST(MagnifierRatio, MessageValuesAreLimited) {
  const std::pair<int, int> cases[] = {{50, 101}, {101, 101}, {102, 102}, {400, 400},
                                       {1000, 1000}, {1500, 1000}};
  for (const auto& [message, ratio] : cases) EXPECT_EQ(MagnifierRatioFromMessage(message), ratio);
}

// A 16 x 16 bitmap whose grey level is the column times 16.
std::unique_ptr<DibBitmap> Ramp() {
  auto bitmap = DibBitmap::Create(16, 16, 8);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) bitmap->Row(y)[x] = static_cast<uint8_t>(x * 16);
  }
  return bitmap;
}

TEST(MagnifiedPicture, EnlargesTheSquareUnderTheCentre) {
  auto bitmap = Ramp();
  // Ratio 400 on an 80-pixel picture: a 20-pixel square, wider than the bitmap.
  const QImage inside = MagnifiedPicture(*bitmap, QPoint(8, 8), QSize(40, 40), 400, false);
  // 10-pixel square from column 3: the left edge shows column 3, the right column 12.
  EXPECT_EQ(qGray(inside.pixel(0, 20)), 3 * 16);
  EXPECT_EQ(qGray(inside.pixel(39, 20)), 12 * 16);
}

TEST(MagnifiedPicture, OutsideTheBitmapIsBlack) {
  auto bitmap = Ramp();
  for (bool smooth : {false, true}) {
    const QImage corner = MagnifiedPicture(*bitmap, QPoint(0, 0), QSize(40, 40), 400, smooth);
    EXPECT_EQ(corner.pixel(5, 5), qRgb(0, 0, 0)) << smooth;  // above-left of the bitmap
    EXPECT_EQ(qGray(corner.pixel(38, 38)), 4 * 16) << smooth;
    const QImage away = MagnifiedPicture(*bitmap, QPoint(100, 100), QSize(40, 40), 400, smooth);
    EXPECT_EQ(away.pixel(20, 20), qRgb(0, 0, 0));
  }
}

// Two axial images and two scouts (coronal) through them, registered as the loader does.
class ScoutWindow : public ::testing::Test {
 protected:
  std::unique_ptr<DicomImage> Make(int instance, bool coronal) {
    test::ImageSpec shape;
    shape.instance = instance;
    shape.series = coronal ? 9 : 1;
    auto dataSet = test::MakeImageDataSet(shape);
    auto text = [&](uint16_t element, const std::string& value) {
      dataSet->SetElement(DicomElement::FromText(0x0020, element, vr::DS, value));
    };
    dataSet->SetElement(DicomElement::FromText(0x0020, 0x0052, vr::UI, "1.2.3.4"));
    text(0x0032, coronal ? "-100\\0\\-100" : "-100\\-100\\" + std::to_string(instance * 10));
    text(0x0037, coronal ? "1\\0\\0\\0\\0\\-1" : "1\\0\\0\\0\\1\\0");
    dataSet->SetElement(DicomElement::FromText(0x0028, 0x0030, vr::DS, "25\\25"));
    std::string reason;
    auto image = BuildImage("memory", *dataSet, 255, ImageSettings{}, reason);
    if (image) {
      if (coronal) image->Display().plane.scoutOverride = 1;
      ImageRegistry::Program().Register(image.get());
      ImageRegistry::Program().ImageLoaded(*image, true);
    }
    return image;
  }
};

TEST_F(ScoutWindow, StepsThroughTheScoutsOfTheImageAndDropsOnesThatWent) {
  auto axial = Make(1, false);
  auto scoutA = Make(2, true);
  auto scoutB = Make(3, true);
  ASSERT_TRUE(axial && scoutA && scoutB);
  ScoutWindowModel model;
  model.FillFor(axial.get());
  ASSERT_EQ(model.Count(), 2);
  EXPECT_EQ(model.Shown(), scoutA.get());
  EXPECT_EQ(model.Counter(), QStringLiteral("1/2"));
  model.Next();
  model.Next();  // wraps around
  EXPECT_EQ(model.Shown(), scoutA.get());
  model.Previous();
  EXPECT_EQ(model.Shown(), scoutB.get());

  // Refilled for an image of the same frame, the shown scout stays.
  auto second = Make(4, false);
  model.FillFor(second.get());
  EXPECT_EQ(model.Shown(), scoutB.get());

  scoutB.reset();
  EXPECT_EQ(model.Shown(), scoutA.get());
  EXPECT_EQ(model.Count(), 1);
  scoutA.reset();
  EXPECT_EQ(model.Shown(), nullptr);
  EXPECT_TRUE(model.Counter().isEmpty());
  model.FillFor(scoutB.get());  // no image at all
  EXPECT_EQ(model.Count(), 0);
}

}  // namespace
}  // namespace tolmar::viewer
