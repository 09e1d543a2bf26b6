#include "DrawEllipse.h"

#include <QPainter>

#include "AnnotationStyle.h"
#include "Measurements.h"

namespace tolmar {

bool RegionTouches(const RegionShape& region, const ImageRect& rect) {
  const ImageRect b = region.Bounds().Intersected(rect.Normalised());
  for (int y = b.top; y < b.bottom; ++y) {
    for (int x = b.left; x < b.right; ++x) {
      if (region.Contains(x, y)) return true;
    }
  }
  return false;
}

CDrawEllipse::CDrawEllipse(DicomImage* owner, const ImageRect& position)
    : CDrawObj(draw_type::kEllipse, owner, position) {
  CreateNote();
}

void CDrawEllipse::Draw(QPainter& painter, const DrawContext& context, bool active) {
  painter.setPen(MakePen(context, active));
  painter.setBrush(Qt::NoBrush);
  const ImageRect n = m_position.Normalised();
  painter.drawEllipse(
      QRect(context.ToCell({n.left, n.top}), context.ToCell({n.right, n.bottom})).normalized());
  DrawNote(painter, context, active);
}

bool CDrawEllipse::Intersects(const ImageRect& rect) const {
  return CDrawObj::Intersects(rect) && RegionTouches(Region(), rect);
}

std::string CDrawEllipse::MeasureText() const {
  if (!m_owner) return {};
  return RegionText(MeasureRegion(*m_owner, Region()), MeasureStyle().annotationMask);
}

}  // namespace tolmar
