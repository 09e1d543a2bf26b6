// The creation and selection tools as the view drives them.
#include <gtest/gtest.h>

#include "AnnotationFixtures.h"
#include "annotation/DrawObjList.h"
#include "annotation/DrawPoly.h"
#include "annotation/DrawText.h"
#include "annotation/DrawTool.h"

namespace tolmar {
namespace {

struct DragCase {
  const char* name;
  DrawShape shape;
  int32_t type;
  ImageRect expected;
};

class DragTools : public ::testing::TestWithParam<DragCase> {};

TEST_P(DragTools, DraggingMakesTheObject) {
  auto image = test::GreyImageOf(64, 64, 16, 100);
  DrawTool tool(GetParam().shape);
  EXPECT_TRUE(tool.ButtonDown(*image, {10, 12}));
  tool.MouseMove(*image, {20, 15});
  EXPECT_TRUE(tool.ButtonUp(*image, {30, 40}));
  auto& list = DrawObjList::Of(*image);
  ASSERT_EQ(list.Size(), 1u);
  EXPECT_EQ(list.At(0)->Type(), GetParam().type);
  EXPECT_EQ(list.At(0)->Position(), GetParam().expected);
  EXPECT_EQ(tool.Selected(), list.At(0));
  EXPECT_TRUE(list.Modified());
}

INSTANTIATE_TEST_SUITE_P(
    Tools, DragTools,
    ::testing::Values(
        DragCase{"Line", DrawShape::Line, draw_type::kLine, {10, 12, 30, 40}},
        DragCase{"Arrow", DrawShape::Arrow, draw_type::kArrow, {10, 12, 30, 40}},
        DragCase{"Rectangle", DrawShape::Rect, draw_type::kRect, {10, 12, 30, 40}},
        DragCase{"RoundRectangle", DrawShape::RoundRect, draw_type::kRoundRect, {10, 12, 30, 40}},
        DragCase{"Ellipse", DrawShape::Ellipse, draw_type::kEllipse, {10, 12, 30, 40}},
        DragCase{"WindowRectangle", DrawShape::WCRect, draw_type::kWCRect, {10, 12, 30, 40}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Tools, AClickWithoutDragMakesNothing) {
  auto image = test::GreyImageOf(64, 64);
  DrawTool tool(DrawShape::Rect);
  tool.ButtonDown(*image, {10, 10});
  tool.ButtonUp(*image, {10, 10});
  EXPECT_TRUE(DrawObjList::Of(*image).IsEmpty());
}

TEST(Tools, PointByPointToolsAddPointsUntilDoubleClick) {
  auto image = test::GreyImageOf(64, 64);
  DrawTool tool(DrawShape::Poly);
  tool.ButtonDown(*image, {1, 1});
  tool.ButtonDown(*image, {1, 1});
  tool.ButtonDown(*image, {20, 1});
  tool.ButtonDown(*image, {10, 30});
  EXPECT_TRUE(tool.Placing());
  EXPECT_TRUE(tool.DoubleClick(*image, {10, 30}));
  EXPECT_FALSE(tool.Placing());
  auto& list = DrawObjList::Of(*image);
  ASSERT_EQ(list.Size(), 1u);
  auto* poly = static_cast<CDrawPoly*>(list.At(0));
  EXPECT_EQ(poly->Points(), (std::vector<QPoint>{{1, 1}, {20, 1}, {10, 30}}));
  EXPECT_EQ(poly->Position(), (ImageRect{1, 1, 20, 30}));
  // The next click starts a new polygon.
  tool.ButtonDown(*image, {40, 40});
  EXPECT_EQ(list.Size(), 2u);
}

TEST(Tools, AngleIsCompleteWithItsThirdPoint) {
  auto image = test::GreyImageOf(64, 64);
  DrawTool tool(DrawShape::Angle);
  for (const QPoint p : {QPoint(0, 0), QPoint(10, 0), QPoint(10, 10)}) tool.ButtonDown(*image, p);
  EXPECT_FALSE(tool.Placing());
  auto& list = DrawObjList::Of(*image);
  ASSERT_EQ(list.Size(), 1u);
  EXPECT_EQ(list.At(0)->Note()->Text(), "Angle:90.0");
}

TEST(Tools, TextToolPlacesOnlyConfirmedNonEmptyTexts) {
  auto image = test::GreyImageOf(64, 64);
  DrawTool tool(DrawShape::Text);
  std::string answer;
  bool confirm = false;
  tool.askText = [&](std::string& text) {
    text = answer;
    return confirm;
  };
  tool.ButtonDown(*image, {5, 6});
  answer = "";
  confirm = true;
  tool.ButtonDown(*image, {5, 6});
  answer = "Hello";
  tool.ButtonDown(*image, {5, 6});
  auto& list = DrawObjList::Of(*image);
  ASSERT_EQ(list.Size(), 1u);
  EXPECT_EQ(static_cast<CDrawText*>(list.At(0))->Text(), "Hello");
  EXPECT_EQ(list.At(0)->Position(), (ImageRect{5, 6, 6, 7}));
}

TEST(Tools, ClipToolCoversTheImageOnlyOnce) {
  auto image = test::GreyImageOf(30, 50);
  DrawTool tool(DrawShape::ClipRect);
  EXPECT_TRUE(tool.ButtonDown(*image, {5, 5}));
  EXPECT_FALSE(tool.ButtonDown(*image, {5, 5}));
  auto& list = DrawObjList::Of(*image);
  ASSERT_EQ(list.Size(), 1u);
  EXPECT_EQ(list.At(0)->Position(), (ImageRect{0, 0, 52, 30}));
}

TEST(Tools, SelectionMovesObjectsAndDragsHandles) {
  auto image = test::GreyImageOf(100, 100);
  DrawTool make(DrawShape::Rect);
  make.ButtonDown(*image, {10, 10});
  make.ButtonUp(*image, {30, 30});
  CDrawObj* rect = DrawObjList::Of(*image).At(0);

  DrawTool select(DrawShape::Select);
  EXPECT_FALSE(select.ButtonDown(*image, {60, 60}));
  EXPECT_EQ(select.Selected(), nullptr);
  EXPECT_TRUE(select.ButtonDown(*image, {10, 20}));  // on the left edge
  EXPECT_EQ(select.Selected(), rect);
  select.MouseMove(*image, {15, 25});
  select.ButtonUp(*image, {15, 25});
  EXPECT_EQ(rect->Position(), (ImageRect{15, 15, 35, 35}));
  // Handle 5 (bottom-right) under the press: the corner follows.
  select.ButtonDown(*image, {35, 35});
  select.MouseMove(*image, {50, 45});
  select.ButtonUp(*image, {50, 45});
  EXPECT_EQ(rect->Position(), (ImageRect{15, 15, 50, 45}));
}

}  // namespace
}  // namespace tolmar
