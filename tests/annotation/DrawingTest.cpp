// Painting of drawing objects onto a QImage: pens, printer colours, arrow
// strokes, text boxes and notes.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>

#include "AnnotationFixtures.h"
#include "annotation/AnnotationStyle.h"
#include "annotation/DrawLine.h"
#include "annotation/DrawObjList.h"
#include "annotation/DrawPoly.h"
#include "annotation/DrawRect.h"
#include "annotation/DrawText.h"

namespace tolmar {
namespace {

QImage Canvas(int size = 100) {
  QImage canvas(size, size, QImage::Format_RGB32);
  canvas.fill(Qt::black);
  return canvas;
}

int CountColour(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x)
      n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
  }
  return n;
}

TEST(ArrowStrokes, DirectionBackToTheStartWithTheYAxisUp) {
  struct Case {
    const char* name;
    QPoint start, end;
    double theta;
  };
  const double pi = 3.1415926535;
  const std::vector<Case> cases{{"PointingRight", {0, 0}, {10, 0}, pi},
                                {"PointingLeft", {10, 0}, {0, 0}, 0},
                                {"PointingDown", {0, 0}, {0, 10}, 1.5707963},
                                {"PointingUp", {0, 10}, {0, 0}, 4.71238898038469},
                                {"PointingDownRight", {0, 0}, {10, 10}, pi * 0.75}};
  for (const auto& c : cases) {
    EXPECT_NEAR(ArrowDirection(c.start, c.end), c.theta, 1e-6) << c.name;
    double first = 0, second = 0;
    ArrowStrokeAngles(c.start, c.end, first, second);
    auto wrap = [](double a) { return a < 0 ? a + 6.283185307 : a; };
    EXPECT_NEAR(first, wrap(c.theta - 0.26179938779166667), 1e-6) << c.name;
    EXPECT_NEAR(second, c.theta + 0.26179938779166667, 1e-6) << c.name;
    EXPECT_GE(first, 0);
    EXPECT_LE(second, 6.283185307);
  }
}

TEST(Drawing, ArrowStrokesLeaveTheEndPointBackwards) {
  QImage canvas = Canvas();
  CDrawArrow arrow(nullptr, {10, 50, 80, 50});
  {
    QPainter painter(&canvas);
    DrawContext context;
    arrow.Draw(painter, context, false);
  }
  // Strokes of 20 pixels at 15 degrees either side of the way back: they end
  // near (80 - 19.3, 50 +- 5.2).
  EXPECT_EQ(canvas.pixel(61, 45) & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(canvas.pixel(61, 55) & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(canvas.pixel(90, 50) & 0xFFFFFF, 0u);
}

TEST(Drawing, PensFollowTheStyleAndPrintersGetWhite) {
  struct Case {
    const char* name;
    bool active, printing;
    QRgb colour;
  };
  for (const Case& c :
       {Case{"Normal", false, false, 0x00FF00}, Case{"Active", true, false, 0xFF0000},
        Case{"Printing", false, true, 0xFFFFFF}}) {
    QImage canvas = Canvas();
    CDrawRect rect;
    rect.MoveTo({10, 10, 60, 60}, false);
    {
      QPainter painter(&canvas);
      DrawContext context;
      context.printing = c.printing;
      rect.Draw(painter, context, c.active);
    }
    EXPECT_EQ(canvas.pixel(10, 30) & 0xFFFFFF, c.colour & 0xFFFFFF) << c.name;
    EXPECT_EQ(canvas.pixel(30, 30) & 0xFFFFFF, 0u) << c.name;
  }
}

TEST(Drawing, ObjectsFollowTheImageToCellMapping) {
  QImage canvas = Canvas();
  CDrawLine line(nullptr, {0, 10, 40, 10});
  {
    QPainter painter(&canvas);
    DrawContext context;
    context.imageToCell = QTransform::fromScale(2, 2) * QTransform::fromTranslate(5, 5);
    line.Draw(painter, context, false);
  }
  EXPECT_EQ(canvas.pixel(50, 25) & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(canvas.pixel(50, 10) & 0xFFFFFF, 0u);
}

TEST(Drawing, TextBoxGrowsToItsLinesAndIsOutlinedOnScreen) {
  QImage canvas = Canvas(200);
  CDrawText one(nullptr, {10, 10, 11, 11});
  one.SetText("W", false);
  CDrawText two(nullptr, {10, 100, 11, 101});
  two.SetText("W\r\nWWWW", false);
  {
    QPainter painter(&canvas);
    DrawContext context;
    context.imageToCell = QTransform::fromScale(2, 2);
    one.Draw(painter, context, false);
    two.Draw(painter, context, false);
  }
  ASSERT_GT(one.MeasuredHeight(), 0);
  EXPECT_EQ(two.MeasuredHeight(), 2 * one.MeasuredHeight());
  EXPECT_GT(two.MeasuredWidth(), 3 * one.MeasuredWidth());
  // The box in image pixels is half the measured cell size, plus 1.
  EXPECT_EQ(one.Position().right, 10 + one.MeasuredWidth() / 2 + 1);
  EXPECT_EQ(two.Position().bottom, 100 + two.MeasuredHeight() / 2 + 1);
  EXPECT_GT(CountColour(canvas, 0x00FF00), 0);
}

TEST(Drawing, NoteLeaderIsShownOnlyWithShowDash) {
  auto image = test::GreyImageOf(100, 100, 8, 0);
  for (const bool dash : {true, false}) {
    AnnotationStyle style = MeasureStyle();
    const AnnotationStyle saved = style;
    style.showDash = dash;
    style.annotationMask = 0;  // an empty note text: only the leader can show
    SetMeasureStyle(style);
    QImage canvas = Canvas();
    CDrawRect rect(image.get(), {10, 10, 20, 20});
    rect.Note()->MoveTo({15, 70, 16, 71}, false);
    {
      QPainter painter(&canvas);
      rect.Note()->Draw(painter, DrawContext{}, false);
    }
    SetMeasureStyle(saved);
    EXPECT_EQ((canvas.pixel(15, 40) & 0xFFFFFF) == 0x00FF00u, dash);
  }
}

TEST(Drawing, NarrowingModes) {
  struct Case {
    CDrawNarrowPoly::Mode mode;
    bool centreLit, fillLit;
  };
  for (const Case& c : {Case{CDrawNarrowPoly::Mode::Polyline, true, false},
                        Case{CDrawNarrowPoly::Mode::Outline, false, false},
                        Case{CDrawNarrowPoly::Mode::Filled, true, true}}) {
    CDrawNarrowPoly narrow;
    narrow.SetPoints({{10, 50}, {90, 50}});
    if (c.mode != CDrawNarrowPoly::Mode::Polyline) {
      narrow.SetOutline({{10, 40}, {90, 40}, {90, 60}, {10, 60}}, c.mode);
    }
    QImage canvas = Canvas();
    {
      QPainter painter(&canvas);
      narrow.Draw(painter, DrawContext{}, false);
    }
    EXPECT_EQ((canvas.pixel(50, 50) & 0xFFFFFF) == 0x00FF00u, c.centreLit);
    EXPECT_EQ((canvas.pixel(50, 45) & 0xFFFFFF) == 0x00FF00u, c.fillLit);
  }
}

TEST(Drawing, ListPaintsThroughTheImageHook) {
  auto image = test::GreyImageOf(50, 50, 8, 0);
  DrawObjList::Of(*image).Add(std::make_unique<CDrawLine>(image.get(), ImageRect{0, 20, 49, 20}));
  QImage canvas = Canvas();
  {
    QPainter painter(&canvas);
    ImageAnnotations* hook = image->Annotations();
    ASSERT_NE(hook, nullptr);
    hook->Paint(painter, QTransform::fromScale(2, 2), true);
  }
  EXPECT_EQ(canvas.pixel(50, 40) & 0xFFFFFF, 0xFFFFFFu);
}

}  // namespace
}  // namespace tolmar
