// Merged cells (grid, rectangles, grid record) and the mouse handlers of an
// image (window drag, zoom and pan tools, running totals, fast paths).
#include <gtest/gtest.h>

#include "ImageTestData.h"
#include "image/DisplaySettings.h"
#include "image/GreyImage.h"
#include "image/ImageFactory.h"
#include "image/ImageMouse.h"
#include "image/MergedCell.h"

namespace tolmar {
namespace {

using test::ImageDataSet;

std::unique_ptr<DicomImage> Grey16(int rows, int columns) {
  ImageDataSet d;
  d.Grey(rows, columns, 16, 12, 11).Pixels16(test::Filled16(rows, columns, 100));
  std::string reason;
  auto image = BuildImage("m.dcm", d.Get(), 2, {}, reason);
  EXPECT_TRUE(image) << reason;
  return image;
}

struct GridCase {
  const char* name;
  int images;
  int width;
  int height;
  int rows;
  int columns;
};

class MergedGridTest : public ::testing::TestWithParam<GridCase> {};

TEST_P(MergedGridTest, GridFollowsTheCellShapeWhenNotSet) {
  MergedCell cell;
  for (int i = 0; i < GetParam().images; ++i) cell.Add(Grey16(4, 4));
  cell.SetGrid(0, 0);
  int rows = 0, columns = 0;
  cell.GridFor({0, 0, GetParam().width, GetParam().height}, rows, columns);
  EXPECT_EQ(rows, GetParam().rows);
  EXPECT_EQ(columns, GetParam().columns);
}

INSTANTIATE_TEST_SUITE_P(Shapes, MergedGridTest,
                         ::testing::Values(GridCase{"FourInSquare", 4, 400, 400, 2, 2},
                                           GridCase{"ThreeInWide", 3, 900, 300, 1, 3},
                                           GridCase{"FiveInTall", 5, 200, 800, 5, 1},
                                           GridCase{"SevenInSquare", 7, 500, 500, 4, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MergedCellTest, ImageRectanglesAndGridRecord) {
  MergedCell cell;
  for (int i = 0; i < 3; ++i) cell.Add(Grey16(4, 4));
  cell.SetGrid(2, 2);
  EXPECT_EQ(cell.ImageRectAt(0, {10, 20, 211, 421}), (ImageRect{10, 20, 110, 220}));
  EXPECT_EQ(cell.ImageRectAt(2, {10, 20, 211, 421}), (ImageRect{10, 220, 110, 420}));
  EXPECT_TRUE(cell.ImageRectAt(3, {10, 20, 211, 421}).IsEmpty());
  const auto record = cell.SaveGrid();
  EXPECT_EQ(record, (std::array<uint8_t, 16>{1, 0, 0, 0, 12, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0}));
  MergedCell other;
  EXPECT_TRUE(other.RestoreGrid(record));
  EXPECT_EQ(other.Rows(), 2);
  auto wrong = record;
  wrong[0] = 2;
  EXPECT_FALSE(other.RestoreGrid(wrong));
  EXPECT_FALSE(other.RestoreGrid(std::span<const uint8_t>(record).first(10)));
}

class MouseTest : public ::testing::Test {
 protected:
  void SetUp() override { SetDisplaySettings({}); }
  void TearDown() override { SetDisplaySettings({}); }
};

TEST_F(MouseTest, RightDragMovesTheWindowAndKeepsTotals) {
  auto image = Grey16(8, 8);
  auto* grey = dynamic_cast<GreyImage*>(image.get());
  const int width = grey->Width(), centre = grey->Centre();
  MousePress(*image, MouseTool::Other, {10, 10, MouseButton::Right});
  auto r = MouseMove(*image, MouseTool::Other, {7, 8, MouseButton::Right}, {0, 0, 100, 100});
  EXPECT_EQ(r.cursor, mouse_cursor::kWindow);
  EXPECT_TRUE(r.paintNow);
  EXPECT_EQ(grey->Width(), width - 3);
  EXPECT_EQ(grey->Centre(), centre - 2);
  DisplaySettings s;
  s.mouseMulti = 4;
  s.wcRectEnable = true;
  s.wcRectMaxSize = 50;
  s.wcRectWidth = 20;
  s.wcRectHeight = 10;
  SetDisplaySettings(s);
  r = MouseMove(*image, MouseTool::Other, {6, 8, MouseButton::Right, true}, {0, 0, 100, 100});
  EXPECT_EQ(grey->Width(), width - 7);  // Ctrl multiplies the move by "MouseMulti"
  EXPECT_TRUE(r.quickRender);
  EXPECT_EQ(r.quickRect, QRect(0, 3, 16, 10));  // 20 x 10 around the cursor, within the cell
  EXPECT_EQ(image->Display().mouse.totalX, -7);
  EXPECT_EQ(image->Display().mouse.totalY, -2);
  r = MouseRelease(*image, MouseTool::Other, {14, 8, MouseButton::Right});
  EXPECT_TRUE(r.releaseCapture);
  EXPECT_TRUE(r.invalidate);
  MousePress(*image, MouseTool::Other, {5, 5, MouseButton::Right});
  EXPECT_EQ(image->Display().mouse.totalX, 0);
  EXPECT_TRUE(MouseRelease(*image, MouseTool::Other, {5, 5, MouseButton::Right}).contextMenu);
}

TEST_F(MouseTest, ZoomAndPanToolsCountTheActualChange) {
  auto image = Grey16(64, 64);
  image->Zoom() = 795;
  MousePress(*image, MouseTool::Zoom, {0, 0, MouseButton::Left});
  auto r = MouseMove(*image, MouseTool::Zoom, {20, 0, MouseButton::Left}, {0, 0, 64, 64});
  EXPECT_EQ(image->Zoom(), 800);
  EXPECT_EQ(image->Display().mouse.totalX, 5);
  EXPECT_TRUE(r.invalidate);
  MouseRelease(*image, MouseTool::Zoom, {20, 0, MouseButton::Left});

  MousePress(*image, MouseTool::Pan, {0, 0, MouseButton::Left});
  r = MouseMove(*image, MouseTool::Pan, {-40, 3, MouseButton::Left}, {0, 0, 64, 64});
  EXPECT_EQ(image->PanX(), 64);  // 32 + 40 stops at the edge
  EXPECT_EQ(image->PanY(), 29);
  EXPECT_EQ(image->Display().mouse.totalX, -32);
  EXPECT_EQ(image->Display().mouse.totalY, 3);
  EXPECT_EQ(MouseMove(*image, MouseTool::Pan, {0, 0, MouseButton::None}, {0, 0, 64, 64}).cursor,
            mouse_cursor::kPanIdle);
  EXPECT_TRUE(MousePress(*image, MouseTool::Drawing, {0, 0, MouseButton::Left}).forwardToDrawingTool);
}

}  // namespace
}  // namespace tolmar
