// Handles, hit tests, moves, intersection tests and image transforms.
#include <gtest/gtest.h>

#include "AnnotationFixtures.h"
#include "annotation/DrawEllipse.h"
#include "annotation/DrawLine.h"
#include "annotation/DrawObjList.h"
#include "annotation/DrawPoly.h"
#include "annotation/DrawRect.h"
#include "annotation/DrawRoundRect.h"
#include "annotation/DrawText.h"

namespace tolmar {
namespace {

TEST(Handles, RectangleHandlesRunClockwiseFromTopLeft) {
  CDrawRect rect;
  rect.MoveTo({10, 20, 31, 41}, false);
  const std::vector<QPoint> expected{{10, 20}, {20, 20}, {31, 20}, {31, 30},
                                     {31, 41}, {20, 41}, {10, 41}, {10, 30}};
  ASSERT_EQ(rect.GetHandleCount(), 8);
  for (int n = 1; n <= 8; ++n)
    EXPECT_EQ(rect.GetHandle(n), expected[static_cast<size_t>(n - 1)]) << n;
  const std::vector<HandleCursor> cursors{
      HandleCursor::SizeNwSe, HandleCursor::SizeNs, HandleCursor::SizeNeSw, HandleCursor::SizeWe,
      HandleCursor::SizeNwSe, HandleCursor::SizeNs, HandleCursor::SizeNeSw, HandleCursor::SizeWe};
  for (int n = 1; n <= 8; ++n)
    EXPECT_EQ(rect.GetHandleCursor(n), cursors[static_cast<size_t>(n - 1)]) << n;
}

TEST(Handles, MovingEachHandleReplacesItsCoordinates) {
  struct Case {
    int handle;
    ImageRect expected;
  };
  const std::vector<Case> cases{{1, {5, 6, 30, 40}},  {2, {10, 6, 30, 40}}, {3, {10, 6, 5, 40}},
                                {4, {10, 20, 5, 40}}, {5, {10, 20, 5, 6}},  {6, {10, 20, 30, 6}},
                                {7, {5, 20, 30, 6}},  {8, {5, 20, 30, 40}}};
  for (const auto& c : cases) {
    CDrawRect rect;
    rect.MoveTo({10, 20, 30, 40}, false);
    rect.MoveHandleTo(c.handle, {5, 6});
    EXPECT_EQ(rect.Position(), c.expected) << "handle " << c.handle;
  }
}

TEST(Handles, DraggingHandle2OfALineMovesItsEndPoint) {
  for (const int32_t type : {draw_type::kLine, draw_type::kArrow}) {
    auto line = CreateDrawObj(type);
    line->MoveTo({1, 2, 3, 4}, false);
    ASSERT_EQ(line->GetHandleCount(), 2);
    EXPECT_EQ(line->GetHandle(1), QPoint(1, 2));
    EXPECT_EQ(line->GetHandle(2), QPoint(3, 4));
    EXPECT_EQ(line->GetHandleCursor(2), HandleCursor::SizeNwSe);
    line->MoveHandleTo(2, {50, 60});
    EXPECT_EQ(line->Position(), (ImageRect{1, 2, 50, 60})) << type;
  }
}

TEST(Handles, RoundRectangleCornerHandleClampsAndSetsTheCornerSize) {
  struct Case {
    QPoint to;
    int width, height;
  };
  // Position (0, 0, 40, 20): centre (20, 10), so x is kept in [20, 39], y in [10, 19].
  const std::vector<Case> cases{
      {{30, 15}, 20, 10}, {{0, 0}, 40, 20}, {{100, 100}, 2, 2}, {{39, 10}, 2, 20}};
  for (const auto& c : cases) {
    CDrawRoundRect rect;
    rect.MoveTo({0, 0, 40, 20}, false);
    EXPECT_EQ(rect.GetHandle(9), QPoint(32, 12));
    EXPECT_EQ(rect.GetHandleCursor(9), HandleCursor::SizeAll);
    rect.MoveHandleTo(9, c.to);
    EXPECT_EQ(rect.CornerWidth(), c.width);
    EXPECT_EQ(rect.CornerHeight(), c.height);
  }
}

TEST(Handles, HitTestFindsTheHandleSquareUnderACellPoint) {
  CDrawRect rect;
  rect.MoveTo({10, 10, 20, 20}, false);
  DrawContext context;
  context.imageToCell = QTransform::fromScale(2, 2);  // handle 1 at cell (20, 20)
  EXPECT_EQ(rect.HitTest({20, 20}, context), 1);
  EXPECT_EQ(rect.HitTest({17, 17}, context), 1);
  EXPECT_EQ(rect.HitTest({23, 23}, context), 0);
  EXPECT_EQ(rect.HitTest({40, 40}, context), 5);
  EXPECT_EQ(rect.HitTest({30, 30}, context), 0);
}

TEST(MoveTo, NoteFollowsTheBottomRightCornerAndTheCentre) {
  auto image = test::GreyImageOf(100, 100);
  CDrawRect rect(image.get(), {10, 10, 20, 20});
  ASSERT_TRUE(rect.Note());
  EXPECT_EQ(rect.Note()->Position(), (ImageRect{20, 20, 21, 21}));
  EXPECT_EQ(rect.Note()->Leader().Position(), (ImageRect{15, 15, 20, 20}));
  rect.MoveTo({30, 40, 50, 60}, true);
  EXPECT_EQ(rect.Note()->Position(), (ImageRect{50, 60, 51, 61}));
  EXPECT_EQ(rect.Note()->Leader().Position().left, 40);
  EXPECT_EQ(rect.Note()->Leader().Position().top, 50);
  EXPECT_TRUE(DrawObjList::Of(*image).Modified());
}

TEST(MoveTo, PolygonPointsMoveWithTheLeftTopCorner) {
  CDrawPoly poly;
  poly.SetPoints({{1, 1}, {11, 1}, {6, 9}});
  EXPECT_EQ(poly.Position(), (ImageRect{1, 1, 11, 9}));
  poly.MoveTo({5, 7, 15, 15}, false);
  EXPECT_EQ(poly.Points(), (std::vector<QPoint>{{5, 7}, {15, 7}, {10, 15}}));
}

TEST(PointByPoint, RepeatedPointsAreSkippedAndCapacityGrowsByTen) {
  CDrawPoly poly;
  EXPECT_TRUE(poly.AddPoint({1, 1}));
  EXPECT_FALSE(poly.AddPoint({1, 1}));
  EXPECT_EQ(poly.Capacity(), 10);
  for (int i = 2; i <= 11; ++i) poly.AddPoint({i, i * 2});
  EXPECT_EQ(poly.Points().size(), 11u);
  EXPECT_EQ(poly.Capacity(), 20);
  EXPECT_EQ(poly.Position(), (ImageRect{1, 1, 11, 22}));
}

TEST(Intersects, ExactRegionsAndThinObjects) {
  struct Case {
    const char* name;
    std::unique_ptr<CDrawObj> object;
    ImageRect probe;
    bool expected;
  };
  std::vector<Case> cases;
  auto add = [&](const char* name, std::unique_ptr<CDrawObj> o, ImageRect probe, bool expected) {
    cases.push_back({name, std::move(o), probe, expected});
  };
  auto positioned = [](int32_t type, ImageRect r) {
    auto o = CreateDrawObj(type);
    o->MoveTo(r, false);
    return o;
  };
  add("RectangleOverlap", positioned(draw_type::kRect, {0, 0, 10, 10}), {5, 5, 6, 6}, true);
  add("RectangleApart", positioned(draw_type::kRect, {0, 0, 10, 10}), {20, 20, 21, 21}, false);
  add("EllipseCentre", positioned(draw_type::kEllipse, {0, 0, 20, 20}), {9, 9, 11, 11}, true);
  add("EllipseCornerIsOutside", positioned(draw_type::kEllipse, {0, 0, 20, 20}), {0, 0, 2, 2},
      false);
  add("RoundRectCornerIsOutside", positioned(draw_type::kRoundRect, {0, 0, 40, 40}), {0, 0, 1, 1},
      false);
  add("RoundRectEdgeIsInside", positioned(draw_type::kRoundRect, {0, 0, 40, 40}), {20, 0, 21, 1},
      true);
  auto triangle = std::make_unique<CDrawPoly>();
  triangle->SetPoints({{0, 0}, {20, 0}, {0, 20}});
  add("PolygonInside", std::move(triangle), {2, 2, 3, 3}, true);
  auto triangle2 = std::make_unique<CDrawPoly>();
  triangle2->SetPoints({{0, 0}, {20, 0}, {0, 20}});
  add("PolygonBeyondTheDiagonal", std::move(triangle2), {17, 17, 19, 19}, false);
  add("HorizontalLineNearby", positioned(draw_type::kLine, {0, 10, 50, 10}), {20, 12, 21, 13},
      true);
  add("HorizontalLineFarAway", positioned(draw_type::kLine, {0, 10, 50, 10}), {20, 20, 21, 21},
      false);
  add("ArrowOnTheSegment", positioned(draw_type::kArrow, {0, 0, 40, 40}), {20, 20, 21, 21}, true);
  add("ArrowOffTheSegment", positioned(draw_type::kArrow, {0, 0, 40, 40}), {30, 5, 31, 6}, false);
  for (const auto& c : cases) EXPECT_EQ(c.object->Intersects(c.probe), c.expected) << c.name;
}

struct TransformCase {
  const char* name;
  int code;
  ImageRect before;
  ImageRect after;
};

class RectTransform : public ::testing::TestWithParam<TransformCase> {};

TEST_P(RectTransform, MovesTheRectangleWithTheImage) {
  // 511 columns are stored as 512; 300 rows.
  auto image = test::GreyImageOf(300, 511);
  DrawObjList& list = DrawObjList::Of(*image);
  CDrawObj* rect = list.Add(std::make_unique<CDrawEllipse>(image.get(), GetParam().before));
  image->ApplyTransform(GetParam().code);
  EXPECT_EQ(rect->Position(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Transforms, RectTransform,
    ::testing::Values(
        TransformCase{"MirrorLeftRightOf511Columns", 1, {10, 5, 20, 8}, {492, 5, 502, 8}},
        TransformCase{"MirrorTopBottom", 2, {10, 5, 20, 8}, {10, 292, 20, 295}},
        TransformCase{"RotateLeft", 3, {10, 5, 20, 8}, {5, 492, 8, 502}},
        TransformCase{"RotateRight", 4, {10, 5, 20, 8}, {292, 10, 295, 20}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Transforms, LinesKeepTheirDirectionAndPointsAndNotesFollow) {
  auto image = test::GreyImageOf(100, 200);
  DrawObjList& list = DrawObjList::Of(*image);
  CDrawObj* line = list.Add(std::make_unique<CDrawLine>(image.get(), ImageRect{10, 20, 30, 60}));
  auto poly = std::make_unique<CDrawPoly>(image.get(), ImageRect{});
  poly->SetPoints({{10, 10}, {50, 10}, {30, 40}});
  auto* polygon = static_cast<CDrawPoly*>(list.Add(std::move(poly)));
  image->ApplyTransform(1);  // W = 200
  EXPECT_EQ(line->Position(), (ImageRect{190, 20, 170, 60}));
  EXPECT_EQ(polygon->Points(), (std::vector<QPoint>{{190, 10}, {150, 10}, {170, 40}}));
  EXPECT_EQ(polygon->Position(), (ImageRect{150, 10, 190, 40}));
  image->ApplyTransform(3);  // P = 200: (x, y) -> (y, 200 - x)
  EXPECT_EQ(line->Position(), (ImageRect{20, 10, 60, 30}));
  ASSERT_TRUE(line->Note());
  EXPECT_EQ(line->Note()->Leader().Position().left, 40);  // centre (180, 40) -> (40, 20)
  EXPECT_EQ(line->Note()->Leader().Position().top, 20);
}

}  // namespace
}  // namespace tolmar
