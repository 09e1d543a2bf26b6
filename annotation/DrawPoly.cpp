#include "DrawPoly.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>

#include "AnnotationStyle.h"
#include "DrawEllipse.h"
#include "DrawLine.h"
#include "DrawText.h"
#include "Measurements.h"
#include "image/ByteWriter.h"

namespace tolmar {

namespace {

ImageRect BoundsOf(const std::vector<QPoint>& points, const ImageRect& fallback) {
  if (points.empty()) return fallback;
  ImageRect b{points[0].x(), points[0].y(), points[0].x(), points[0].y()};
  for (const QPoint& p : points) {
    b.left = std::min(b.left, p.x());
    b.top = std::min(b.top, p.y());
    b.right = std::max(b.right, p.x());
    b.bottom = std::max(b.bottom, p.y());
  }
  return b;
}

bool InRange(int32_t v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; }

QPolygon CellPolygon(const DrawContext& context, const std::vector<QPoint>& points) {
  QPolygon polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const QPoint& p : points) polygon << context.ToCell(p);
  return polygon;
}

}  // namespace

CDrawPoly::CDrawPoly(DicomImage* owner, const ImageRect& position)
    : CDrawObj(draw_type::kPoly, owner, position) {
  CreateNote();
}

void CDrawPoly::FitPosition() {
  const ImageRect old = m_position;
  m_position = BoundsOf(m_points, m_position);
  if (!(old == m_position)) FollowNote(old);
}

bool CDrawPoly::AddPoint(QPoint point) {
  if (!m_points.empty() && m_points.back() == point) return false;
  if (static_cast<int>(m_points.size()) >= m_capacity) m_capacity += 10;
  m_points.push_back(point);
  FitPosition();
  UpdateNote();
  return true;
}

void CDrawPoly::SetPoints(std::vector<QPoint> points) {
  m_points = std::move(points);
  while (m_capacity < static_cast<int>(m_points.size())) m_capacity += 10;
  FitPosition();
  UpdateNote();
}

int CDrawPoly::LoadRecord(DicomImage* image, std::span<const uint8_t> bytes) {
  const int used = CDrawObj::LoadRecord(image, bytes);
  if (used < 0) return -1;
  ByteReader r(bytes.subspan(static_cast<size_t>(used)));
  int32_t count = 0, capacity = 0;
  r.I32(count);
  r.I32(capacity);
  // The count must fit the bytes that remain before any point is kept.
  if (r.Failed() || count < 0 || capacity < count ||
      static_cast<size_t>(count) > r.Remaining() / 8) {
    return -1;
  }
  std::vector<QPoint> points;
  points.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    int32_t x = 0, y = 0;
    r.I32(x);
    r.I32(y);
    if (!InRange(x) || !InRange(y)) return -1;
    points.emplace_back(x, y);
  }
  m_points = std::move(points);
  m_capacity = capacity;
  return used + 8 + 8 * count;
}

int CDrawPoly::SaveRecord(ByteWriter& w) const {
  SaveHead(w);
  w.I32(static_cast<int32_t>(m_points.size()));
  w.I32(m_capacity);
  for (const QPoint& p : m_points) {
    w.I32(p.x());
    w.I32(p.y());
  }
  return 28 + 8 * static_cast<int>(m_points.size());
}

void CDrawPoly::Serialize(ByteWriter& w) const {
  CDrawObj::Serialize(w);
  // The archive keeps count and capacity as 16-bit numbers.
  const size_t count = std::min<size_t>(m_points.size(), 0xFFFF);
  w.U16(static_cast<uint16_t>(count));
  w.U16(static_cast<uint16_t>(std::clamp(m_capacity, static_cast<int>(count), 0xFFFF)));
  for (size_t i = 0; i < count; ++i) {
    w.I32(m_points[i].x());
    w.I32(m_points[i].y());
  }
}

bool CDrawPoly::Deserialize(ByteReader& r) {
  if (!CDrawObj::Deserialize(r)) return false;
  uint16_t count = 0, capacity = 0;
  r.U16(count);
  r.U16(capacity);
  if (r.Failed() || capacity < count || count > r.Remaining() / 8) return false;
  std::vector<QPoint> points;
  points.reserve(count);
  for (uint16_t i = 0; i < count; ++i) {
    int32_t x = 0, y = 0;
    r.I32(x);
    r.I32(y);
    if (!InRange(x) || !InRange(y)) return false;
    points.emplace_back(x, y);
  }
  m_points = std::move(points);
  m_capacity = capacity;
  return true;
}

void CDrawPoly::Draw(QPainter& painter, const DrawContext& context, bool active) {
  painter.setPen(MakePen(context, active));
  painter.setBrush(Qt::NoBrush);
  painter.drawPolygon(CellPolygon(context, m_points));
  DrawNote(painter, context, active);
}

QPoint CDrawPoly::GetHandle(int n) const {
  if (n < 1 || n > static_cast<int>(m_points.size())) return Centre();
  return m_points[static_cast<size_t>(n - 1)];
}

void CDrawPoly::MovePoints(int dx, int dy) {
  for (QPoint& p : m_points) p += QPoint(dx, dy);
}

void CDrawPoly::MoveTo(const ImageRect& position, bool markModified) {
  if (position == m_position) return;
  MovePoints(position.left - m_position.left, position.top - m_position.top);
  CDrawObj::MoveTo(position, markModified);
}

void CDrawPoly::MoveHandleTo(int n, QPoint p) {
  if (n < 1 || n > static_cast<int>(m_points.size())) return;
  m_points[static_cast<size_t>(n - 1)] = p;
  FitPosition();
  UpdateNote();
  MarkModified();
}

bool CDrawPoly::Intersects(const ImageRect& rect) const {
  return CDrawObj::Intersects(rect) && RegionTouches(Region(), rect);
}

std::string CDrawPoly::MeasureText() const {
  if (!m_owner) return {};
  return RegionText(MeasureRegion(*m_owner, Region()), MeasureStyle().annotationMask);
}

void CDrawPoly::Transform(int code, int paddedColumns, int rows) {
  for (QPoint& p : m_points) p = TransformPoint(p, code, paddedColumns, rows);
  CDrawObj::Transform(code, paddedColumns, rows);
}

CDrawAngle::CDrawAngle(DicomImage* owner, const ImageRect& position)
    : CDrawPoly(draw_type::kAngle, owner, position) {
  CreateNote();
}

void CDrawAngle::Draw(QPainter& painter, const DrawContext& context, bool active) {
  painter.setPen(MakePen(context, active));
  painter.drawPolyline(CellPolygon(context, m_points));
  DrawNote(painter, context, active);
}

std::string CDrawAngle::MeasureText() const { return AngleText(m_points); }

CDrawNarrowPoly::CDrawNarrowPoly(DicomImage* owner, const ImageRect& position)
    : CDrawPoly(draw_type::kNarrowPoly, owner, position) {}

void CDrawNarrowPoly::SetOutline(std::vector<QPoint> outline, Mode mode) {
  if (m_outline.empty()) m_savedPosition = m_position;
  m_outline = std::move(outline);
  m_mode = mode;
  m_position = BoundsOf(m_outline, m_position);
  MarkModified();
}

void CDrawNarrowPoly::RemoveOutline() {
  if (m_outline.empty()) return;
  m_outline.clear();
  m_mode = Mode::Polyline;
  m_position = m_savedPosition;
}

void CDrawNarrowPoly::Draw(QPainter& painter, const DrawContext& context, bool active) {
  const QPen pen = MakePen(context, active);
  painter.setPen(pen);
  if (m_mode == Mode::Polyline || m_outline.empty()) {
    painter.drawPolyline(CellPolygon(context, m_points));
  } else if (m_mode == Mode::Outline) {
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(CellPolygon(context, m_outline));
  } else {
    painter.setBrush(QBrush(pen.color(), Qt::SolidPattern));
    painter.drawPolygon(CellPolygon(context, m_outline));
  }
}

bool CDrawNarrowPoly::Intersects(const ImageRect& rect) const {
  return ThinIntersects(m_position, rect);
}

void CDrawNarrowPoly::MovePoints(int dx, int dy) {
  CDrawPoly::MovePoints(dx, dy);
  for (QPoint& p : m_outline) p += QPoint(dx, dy);
  m_savedPosition = {m_savedPosition.left + dx, m_savedPosition.top + dy,
                     m_savedPosition.right + dx, m_savedPosition.bottom + dy};
}

void CDrawNarrowPoly::Transform(int code, int paddedColumns, int rows) {
  for (QPoint& p : m_outline) p = TransformPoint(p, code, paddedColumns, rows);
  m_savedPosition = TransformRect(m_savedPosition, code, paddedColumns, rows);
  CDrawPoly::Transform(code, paddedColumns, rows);
}

}  // namespace tolmar
