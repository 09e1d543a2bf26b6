#include "DrawRect.h"

#include <QPainter>

#include "AnnotationStyle.h"
#include "DrawText.h"
#include "Measurements.h"
#include "image/DicomImage.h"
#include "image/GreyImage16.h"

namespace tolmar {

namespace {
QRect CellRect(const DrawContext& context, const ImageRect& r) {
  const ImageRect n = r.Normalised();
  const QPoint a = context.ToCell({n.left, n.top});
  const QPoint b = context.ToCell({n.right, n.bottom});
  return QRect(a, b).normalized();
}
}  // namespace

CDrawRect::CDrawRect(DicomImage* owner, const ImageRect& position)
    : CDrawObj(draw_type::kRect, owner, position) {
  CreateNote();
}

int CDrawRect::LoadRecord(DicomImage* image, std::span<const uint8_t> bytes) {
  const int used = CDrawObj::LoadRecord(image, bytes);
  if (used < 0) return used;
  CreateNote();
  return used;
}

void CDrawRect::Draw(QPainter& painter, const DrawContext& context, bool active) {
  painter.setPen(MakePen(context, active));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(CellRect(context, m_position));
  DrawNote(painter, context, active);
}

std::string CDrawRect::MeasureText() const {
  if (!m_owner) return {};
  return RegionText(MeasureRegion(*m_owner, Region()), MeasureStyle().annotationMask);
}

void CDrawRect::DrawDotted(QPainter& painter, const DrawContext& context, bool active,
                           int inset) const {
  QPen pen(PenColour(context, active));
  pen.setWidth(1);
  pen.setStyle(Qt::DotLine);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(CellRect(context, m_position).adjusted(inset, inset, -inset, -inset));
}

CDrawWCRect::CDrawWCRect(DicomImage* owner, const ImageRect& position)
    : CDrawRect(draw_type::kWCRect, owner, position) {}

void CDrawWCRect::Draw(QPainter& painter, const DrawContext& context, bool active) {
  DrawDotted(painter, context, active, 0);
}

void CDrawWCRect::UpdateNote() {
  if (auto* grey = dynamic_cast<GreyImage16*>(m_owner)) grey->WindowFromRegion(m_position);
}

CDrawClipRect::CDrawClipRect(DicomImage* owner, const ImageRect& position)
    : CDrawRect(draw_type::kClipRect, owner, position) {
  CreateNote();
  UpdateNote();
}

CDrawClipRect::~CDrawClipRect() {
  if (m_owner) m_owner->SourceRect() = ImageRect{0, 0, m_owner->PaddedColumns(), m_owner->Rows()};
}

void CDrawClipRect::Draw(QPainter& painter, const DrawContext& context, bool active) {
  DrawDotted(painter, context, active, 0);
  DrawDotted(painter, context, active, 1);
  DrawNote(painter, context, active);
}

void CDrawClipRect::UpdateNote() {
  if (m_owner) m_owner->SourceRect() = m_position.Normalised();
  CDrawObj::UpdateNote();
}

std::string CDrawClipRect::MeasureText() const { return ClipText(m_position); }

void CDrawClipRect::MoveTo(const ImageRect& position, bool markModified) {
  CDrawObj::MoveTo(position, markModified);
  UpdateNote();
}

}  // namespace tolmar
