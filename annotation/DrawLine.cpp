#include "DrawLine.h"

#include <QPainter>
#include <QPolygon>
#include <cmath>

#include "AnnotationStyle.h"
#include "DrawEllipse.h"
#include "DrawText.h"
#include "Measurements.h"
#include "RegionShape.h"

namespace tolmar {

namespace {

// Lines and arrows: handle 1 is the start, handle 2 the end (corner handle 5).
QPoint EndHandle(const ImageRect& r, int n) {
  return n == 2 ? QPoint(r.right, r.bottom) : QPoint(r.left, r.top);
}

ImageRect TransformEnds(const ImageRect& r, int code, int paddedColumns, int rows,
                        QPoint (*map)(QPoint, int, int, int)) {
  const QPoint a = map({r.left, r.top}, code, paddedColumns, rows);
  const QPoint b = map({r.right, r.bottom}, code, paddedColumns, rows);
  return {a.x(), a.y(), b.x(), b.y()};
}

// A bounding rectangle widened to at least 6 pixels each way, for thin objects.
ImageRect Widened(const ImageRect& rect) {
  ImageRect r = rect.Normalised();
  if (r.Width() < 6) {
    const int grow = (6 - r.Width() + 1) / 2;
    r.left -= grow;
    r.right += grow;
  }
  if (r.Height() < 6) {
    const int grow = (6 - r.Height() + 1) / 2;
    r.top -= grow;
    r.bottom += grow;
  }
  return r;
}

}  // namespace

bool ThinIntersects(const ImageRect& position, const ImageRect& rect) {
  const ImageRect a = position.Normalised();
  const ImageRect b = rect.Normalised();
  if (!a.Intersected(b).IsEmpty()) return true;
  return !Widened(position).Intersected(b).IsEmpty();
}

CDrawLine::CDrawLine(DicomImage* owner, const ImageRect& position)
    : CDrawObj(draw_type::kLine, owner, position) {
  CreateNote();
}

QPoint CDrawLine::GetHandle(int n) const { return EndHandle(m_position, n); }

HandleCursor CDrawLine::GetHandleCursor(int n) const {
  return CDrawObj::GetHandleCursor(n == 2 ? 5 : 1);
}

void CDrawLine::MoveHandleTo(int n, QPoint p) { CDrawObj::MoveHandleTo(n == 2 ? 5 : n, p); }

bool CDrawLine::Intersects(const ImageRect& rect) const { return ThinIntersects(m_position, rect); }

void CDrawLine::Draw(QPainter& painter, const DrawContext& context, bool active) {
  painter.setPen(MakePen(context, active));
  painter.drawLine(context.ToCell({m_position.left, m_position.top}),
                   context.ToCell({m_position.right, m_position.bottom}));
  DrawNote(painter, context, active);
}

std::string CDrawLine::MeasureText() const {
  if (!m_owner) return {};
  return LengthText(*m_owner, m_position);
}

void CDrawLine::Transform(int code, int paddedColumns, int rows) {
  m_position = TransformEnds(m_position, code, paddedColumns, rows, &CDrawObj::TransformPoint);
  if (m_note) m_note->Transform(code, paddedColumns, rows);
}

CDrawVLine::CDrawVLine(DicomImage* owner, const ImageRect& position)
    : CDrawLine(draw_type::kVLine, owner, position) {}

void CDrawVLine::Draw(QPainter& painter, const DrawContext& context, bool active) {
  QPen pen(PenColour(context, active));
  pen.setWidth(1);
  pen.setStyle(Qt::DotLine);
  painter.setPen(pen);
  painter.drawLine(context.ToCell({m_position.left, m_position.top}),
                   context.ToCell({m_position.right, m_position.bottom}));
  DrawNote(painter, context, active);
}

void CDrawVLine::MoveTo(const ImageRect& position, bool markModified) {
  if (position == m_position) return;
  m_position = position;
  if (markModified) MarkModified();
}

CDrawArrow::CDrawArrow(DicomImage* owner, const ImageRect& position)
    : CDrawObj(draw_type::kArrow, owner, position) {}

QPoint CDrawArrow::GetHandle(int n) const { return EndHandle(m_position, n); }

HandleCursor CDrawArrow::GetHandleCursor(int n) const {
  return CDrawObj::GetHandleCursor(n == 2 ? 5 : 1);
}

void CDrawArrow::MoveHandleTo(int n, QPoint p) { CDrawObj::MoveHandleTo(n == 2 ? 5 : n, p); }

bool CDrawArrow::Intersects(const ImageRect& rect) const {
  const AnnotationStyle& style = MeasureStyle();
  const int halfX = (style.normalPenWidth + 5) / 2;
  const int halfY = (style.normalPenWidth + 5) / 2;
  const QPoint a(m_position.left, m_position.top);
  const QPoint b(m_position.right, m_position.bottom);
  // The band's corners lie across the segment, half a band width to either side.
  const double dx = b.x() - a.x();
  const double dy = b.y() - a.y();
  const double length = std::sqrt(dx * dx + dy * dy);
  const int ox = length > 0 ? static_cast<int>(std::lround(-dy / length * halfX)) : halfX;
  const int oy = length > 0 ? static_cast<int>(std::lround(dx / length * halfY)) : halfY;
  const std::vector<QPoint> band{a + QPoint(ox, oy), b + QPoint(ox, oy), b - QPoint(ox, oy),
                                 a - QPoint(ox, oy)};
  return RegionTouches(RegionShape::Polygon(band), rect);
}

double ArrowDirection(QPoint start, QPoint end) {
  const double dx = start.x() - end.x();
  const double dy = end.y() - start.y();  // the y axis points up
  double theta = 0;
  if (dx == 0) {
    theta = dy < 0 ? 4.71238898038469 : 1.5707963;
  } else {
    theta = std::atan(dy / dx);
    if (dx < 0) theta += 3.1415926535;
  }
  while (theta < 0) theta += 6.283185307;
  while (theta > 6.283185307) theta -= 6.283185307;
  return theta;
}

void ArrowStrokeAngles(QPoint start, QPoint end, double& first, double& second) {
  const double theta = ArrowDirection(start, end);
  auto wrap = [](double a) {
    while (a < 0) a += 6.283185307;
    while (a > 6.283185307) a -= 6.283185307;
    return a;
  };
  first = wrap(theta - 0.26179938779166667);
  second = wrap(theta + 0.26179938779166667);
}

void CDrawArrow::Draw(QPainter& painter, const DrawContext& context, bool active) {
  painter.setPen(MakePen(context, active));
  const QPoint start = context.ToCell({m_position.left, m_position.top});
  const QPoint end = context.ToCell({m_position.right, m_position.bottom});
  painter.drawLine(start, end);
  double first = 0, second = 0;
  ArrowStrokeAngles(start, end, first, second);
  const double length = 20.0 * (context.printing ? context.printerScale : 1.0);
  for (const double angle : {first, second}) {
    const QPointF tip(end.x() + length * std::cos(angle), end.y() - length * std::sin(angle));
    painter.drawLine(QPointF(end), tip);
  }
  DrawNote(painter, context, active);
}

void CDrawArrow::Transform(int code, int paddedColumns, int rows) {
  m_position = TransformEnds(m_position, code, paddedColumns, rows, &CDrawObj::TransformPoint);
  if (m_note) m_note->Transform(code, paddedColumns, rows);
}

}  // namespace tolmar
