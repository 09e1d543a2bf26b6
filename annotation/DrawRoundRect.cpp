#include "DrawRoundRect.h"

#include <QPainter>

#include "AnnotationStyle.h"
#include "DrawEllipse.h"
#include "Measurements.h"
#include "image/ByteWriter.h"

namespace tolmar {

CDrawRoundRect::CDrawRoundRect(DicomImage* owner, const ImageRect& position)
    : CDrawObj(draw_type::kRoundRect, owner, position) {
  CreateNote();
}

int CDrawRoundRect::LoadRecord(DicomImage* image, std::span<const uint8_t> bytes) {
  const int used = CDrawObj::LoadRecord(image, bytes);
  if (used < 0) return -1;
  ByteReader r(bytes.subspan(static_cast<size_t>(used)));
  int32_t width = 0, height = 0;
  r.I32(width);
  r.I32(height);
  if (r.Failed() || width < -kMaxCoordinate || width > kMaxCoordinate || height < -kMaxCoordinate ||
      height > kMaxCoordinate) {
    return -1;
  }
  m_cornerWidth = width;
  m_cornerHeight = height;
  return used + 8;
}

int CDrawRoundRect::SaveRecord(ByteWriter& w) const {
  SaveHead(w);
  w.I32(m_cornerWidth);
  w.I32(m_cornerHeight);
  return 28;
}

void CDrawRoundRect::Serialize(ByteWriter& w) const {
  CDrawObj::Serialize(w);
  w.I32(m_cornerWidth);
  w.I32(m_cornerHeight);
}

bool CDrawRoundRect::Deserialize(ByteReader& r) {
  if (!CDrawObj::Deserialize(r)) return false;
  int32_t width = 0, height = 0;
  r.I32(width);
  r.I32(height);
  if (r.Failed() || width < -kMaxCoordinate || width > kMaxCoordinate || height < -kMaxCoordinate ||
      height > kMaxCoordinate) {
    return false;
  }
  m_cornerWidth = width;
  m_cornerHeight = height;
  return true;
}

void CDrawRoundRect::Draw(QPainter& painter, const DrawContext& context, bool active) {
  painter.setPen(MakePen(context, active));
  painter.setBrush(Qt::NoBrush);
  const ImageRect n = m_position.Normalised();
  const QRect cell =
      QRect(context.ToCell({n.left, n.top}), context.ToCell({n.right, n.bottom})).normalized();
  // The corner size follows the cell scale.
  const QPointF scale = context.imageToCell.map(QPointF(m_cornerWidth, m_cornerHeight)) -
                        context.imageToCell.map(QPointF(0, 0));
  painter.drawRoundedRect(cell, std::abs(scale.x()) / 2, std::abs(scale.y()) / 2);
  if (active && !context.printing) {
    // Handle 9 is shown by inverting a 7 x 7 square.
    const QPoint h = context.ToCell(GetHandle(9));
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(QRect(h.x() - 3, h.y() - 3, 7, 7), Qt::white);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  }
  DrawNote(painter, context, active);
}

QPoint CDrawRoundRect::GetHandle(int n) const {
  if (n != 9) return CDrawObj::GetHandle(n);
  const ImageRect r = m_position.Normalised();
  return {r.right - m_cornerWidth / 2, r.bottom - m_cornerHeight / 2};
}

HandleCursor CDrawRoundRect::GetHandleCursor(int n) const {
  return n == 9 ? HandleCursor::SizeAll : CDrawObj::GetHandleCursor(n);
}

void CDrawRoundRect::MoveHandleTo(int n, QPoint p) {
  if (n != 9) {
    CDrawObj::MoveHandleTo(n, p);
    return;
  }
  const ImageRect r = m_position.Normalised();
  const QPoint c = Centre();
  const int x = std::clamp(p.x(), c.x(), std::max(c.x(), r.right - 1));
  const int y = std::clamp(p.y(), c.y(), std::max(c.y(), r.bottom - 1));
  m_cornerWidth = 2 * (r.right - x);
  m_cornerHeight = 2 * (r.bottom - y);
  MarkModified();
}

bool CDrawRoundRect::Intersects(const ImageRect& rect) const {
  return CDrawObj::Intersects(rect) && RegionTouches(Region(), rect);
}

RegionShape CDrawRoundRect::Region() const {
  return RegionShape::RoundRectangle(m_position, m_cornerWidth, m_cornerHeight);
}

std::string CDrawRoundRect::MeasureText() const {
  if (!m_owner) return {};
  return RegionText(MeasureRegion(*m_owner, Region()), MeasureStyle().annotationMask);
}

}  // namespace tolmar
