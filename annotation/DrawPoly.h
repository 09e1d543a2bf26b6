#pragma once

#include <vector>

#include "DrawObj.h"
#include "RegionShape.h"

namespace tolmar {

// A closed polygon showing the statistics of the pixels inside it (alternate
// filling). Its position is the bounding rectangle of its points.
class CDrawPoly : public CDrawObj {
 public:
  CDrawPoly() : CDrawObj(draw_type::kPoly) {}
  CDrawPoly(DicomImage* owner, const ImageRect& position);

  const std::vector<QPoint>& Points() const { return m_points; }
  int Capacity() const { return m_capacity; }
  // Adds a point unless it equals the last one; the capacity grows by 10 at a
  // time and the position becomes the bounding rectangle. False when not added.
  bool AddPoint(QPoint point);
  // Replaces the points (a tool moving the point being placed, or a loader).
  void SetPoints(std::vector<QPoint> points);

  int LoadRecord(DicomImage* image, std::span<const uint8_t> bytes) override;
  int SaveRecord(ByteWriter& writer) const override;
  void Serialize(ByteWriter& writer) const override;
  bool Deserialize(ByteReader& reader) override;
  void Draw(QPainter& painter, const DrawContext& context, bool active) override;
  int GetHandleCount() const override { return static_cast<int>(m_points.size()); }
  QPoint GetHandle(int n) const override;
  HandleCursor GetHandleCursor(int) const override { return HandleCursor::Cross; }
  void MoveTo(const ImageRect& position, bool markModified) override;
  void MoveHandleTo(int n, QPoint imagePoint) override;
  bool Intersects(const ImageRect& rect) const override;
  std::string MeasureText() const override;
  void Transform(int code, int paddedColumns, int rows) override;
  RegionShape Region() const { return RegionShape::Polygon(m_points); }

 protected:
  CDrawPoly(int32_t type) : CDrawObj(type) {}
  CDrawPoly(int32_t type, DicomImage* owner, const ImageRect& position)
      : CDrawObj(type, owner, position) {}
  void FitPosition();
  virtual void MovePoints(int dx, int dy);

  std::vector<QPoint> m_points;
  int m_capacity = 0;
};

// An angle: an open polyline; with three points it shows the opening at the middle one.
class CDrawAngle : public CDrawPoly {
 public:
  CDrawAngle() : CDrawPoly(draw_type::kAngle) {}
  CDrawAngle(DicomImage* owner, const ImageRect& position);
  void Draw(QPainter& painter, const DrawContext& context, bool active) override;
  std::string MeasureText() const override;
};

// The centre line of a vessel; the narrowing analysis hands it an outline.
class CDrawNarrowPoly : public CDrawPoly {
 public:
  // Display modes: the centre line, the outline polygon, or the outline filled.
  enum class Mode { Polyline = 0, Outline = 1, Filled = 2 };

  CDrawNarrowPoly() : CDrawPoly(draw_type::kNarrowPoly) {}
  CDrawNarrowPoly(DicomImage* owner, const ImageRect& position);

  const std::vector<QPoint>& Outline() const { return m_outline; }
  Mode DisplayMode() const { return m_mode; }
  // The outline's bounding rectangle becomes the position; the previous
  // position is kept until the outline is removed.
  void SetOutline(std::vector<QPoint> outline, Mode mode);
  void RemoveOutline();

  void Draw(QPainter& painter, const DrawContext& context, bool active) override;
  bool Intersects(const ImageRect& rect) const override;
  std::string MeasureText() const override { return {}; }
  void CreateNote() override { RemoveNote(); }
  void Transform(int code, int paddedColumns, int rows) override;

 protected:
  void MovePoints(int dx, int dy) override;

 private:
  std::vector<QPoint> m_outline;
  Mode m_mode = Mode::Polyline;
  ImageRect m_savedPosition;
};

}  // namespace tolmar
