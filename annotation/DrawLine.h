#pragma once

#include "DrawObj.h"

namespace tolmar {

// A straight line from (left, top) to (right, bottom) showing its length.
class CDrawLine : public CDrawObj {
 public:
  CDrawLine() : CDrawObj(draw_type::kLine) {}
  CDrawLine(DicomImage* owner, const ImageRect& position);

  int GetHandleCount() const override { return 2; }
  // Handle 2 is the end point (the corner handle 5 of a rectangle).
  QPoint GetHandle(int n) const override;
  HandleCursor GetHandleCursor(int n) const override;
  void MoveHandleTo(int n, QPoint imagePoint) override;
  bool Intersects(const ImageRect& rect) const override;
  void Draw(QPainter& painter, const DrawContext& context, bool active) override;
  std::string MeasureText() const override;
  // The end points follow the image as points: a line keeps its direction.
  void Transform(int code, int paddedColumns, int rows) override;

 protected:
  CDrawLine(int32_t type) : CDrawObj(type) {}
  CDrawLine(int32_t type, DicomImage* owner, const ImageRect& position)
      : CDrawObj(type, owner, position) {}
};

// A dotted line without a measurement.
class CDrawVLine : public CDrawLine {
 public:
  CDrawVLine() : CDrawLine(draw_type::kVLine) {}
  CDrawVLine(DicomImage* owner, const ImageRect& position);
  void Draw(QPainter& painter, const DrawContext& context, bool active) override;
  void MoveTo(const ImageRect& position, bool markModified) override;
  std::string MeasureText() const override { return {}; }
  void CreateNote() override {}
};

// An arrow: the segment and two strokes at its end point.
class CDrawArrow : public CDrawObj {
 public:
  CDrawArrow() : CDrawObj(draw_type::kArrow) {}
  CDrawArrow(DicomImage* owner, const ImageRect& position);

  int GetHandleCount() const override { return 2; }
  QPoint GetHandle(int n) const override;
  HandleCursor GetHandleCursor(int n) const override;
  void MoveHandleTo(int n, QPoint imagePoint) override;
  bool Intersects(const ImageRect& rect) const override;
  void Draw(QPainter& painter, const DrawContext& context, bool active) override;
  void Transform(int code, int paddedColumns, int rows) override;
  void CreateNote() override {}
};

// Direction in radians, in [0, 2 pi], from `end` back to `start` in screen
// coordinates with the y axis pointing up, and the two stroke angles of an arrow.
double ArrowDirection(QPoint start, QPoint end);
void ArrowStrokeAngles(QPoint start, QPoint end, double& first, double& second);

}  // namespace tolmar

namespace tolmar {
// Thin objects (lines, narrowing polygons): the plain overlap test, then again
// with the bounding rectangle widened to at least 6 pixels each way.
bool ThinIntersects(const ImageRect& position, const ImageRect& rect);
}  // namespace tolmar
