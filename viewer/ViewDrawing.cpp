#include "viewer/ViewDrawing.h"

#include <cmath>

#include "annotation/DrawObjList.h"
#include "image/CellPainter.h"

namespace tolmar::viewer {

void ViewDrawing::SetShape(int shape) {
  const auto drawShape = shape >= 0 && shape <= static_cast<int>(DrawShape::ClipRect)
                             ? static_cast<DrawShape>(shape)
                             : DrawShape::Select;
  if (m_tool && m_tool->Shape() == drawShape) return;
  m_tool = std::make_unique<DrawTool>(drawShape);
  m_tool->askText = m_prompt;
}

int ViewDrawing::Shape() const { return static_cast<int>(m_tool->Shape()); }

void ViewDrawing::SetTextPrompt(std::function<bool(std::string&)> prompt) {
  m_prompt = std::move(prompt);
  m_tool->askText = m_prompt;
}

bool ViewDrawing::ToImagePoint(const DicomImage& image, const QRect& imageRect,
                               const QPoint& point, QPoint& imagePoint, DrawContext& context) {
  const auto placement = PlaceImage(
      image, ImageRect{imageRect.left(), imageRect.top(), imageRect.right() + 1,
                       imageRect.bottom() + 1});
  if (!placement) return false;
  const QPointF p = placement->ToImage(point.x(), point.y());
  imagePoint = QPoint(static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y())));
  context.imageToCell = placement->ImageToCell();
  return true;
}

bool ViewDrawing::Press(DicomImage& image, const QRect& imageRect, const QPoint& point) {
  QPoint p;
  DrawContext context;
  if (!ToImagePoint(image, imageRect, point, p, context)) return false;
  return m_tool->ButtonDown(image, p, context);
}

bool ViewDrawing::Move(DicomImage& image, const QRect& imageRect, const QPoint& point) {
  QPoint p;
  DrawContext context;
  if (!ToImagePoint(image, imageRect, point, p, context)) return false;
  return m_tool->MouseMove(image, p);
}

bool ViewDrawing::Release(DicomImage& image, const QRect& imageRect, const QPoint& point) {
  QPoint p;
  DrawContext context;
  if (!ToImagePoint(image, imageRect, point, p, context)) return false;
  return m_tool->ButtonUp(image, p);
}

bool ViewDrawing::DoubleClick(DicomImage& image, const QRect& imageRect, const QPoint& point) {
  QPoint p;
  DrawContext context;
  if (!ToImagePoint(image, imageRect, point, p, context)) return false;
  return m_tool->DoubleClick(image, p);
}

CDrawObj* ViewDrawing::Selected(DicomImage& image) const {
  CDrawObj* selected = m_tool->Selected();
  if (!selected) return nullptr;
  DrawObjList* list = DrawObjList::Find(image);
  return list && list->Contains(selected) ? selected : nullptr;
}

bool ViewDrawing::DeleteSelected(DicomImage& image) {
  CDrawObj* selected = Selected(image);
  if (!selected) return false;
  m_tool->Deselect();
  DrawObjList& list = DrawObjList::Of(image);
  list.Remove(selected);
  list.SetModified(true);
  return true;
}

void ViewDrawing::Deselect() { m_tool->Deselect(); }

bool ViewDrawing::HasObjects(DicomImage& image) {
  const DrawObjList* list = DrawObjList::Find(image);
  return list && list->Size() > 0;
}

bool ViewDrawing::ObjectAt(DicomImage& image, const QRect& imageRect, const QPoint& point) {
  DrawObjList* list = DrawObjList::Find(image);
  if (!list || list->Size() == 0) return false;
  QPoint p;
  DrawContext context;
  return ToImagePoint(image, imageRect, point, p, context) && list->TopmostAt(p) != nullptr;
}

bool ViewDrawing::DeleteAll(DicomImage& image) {
  DrawObjList* list = DrawObjList::Find(image);
  if (!list || list->Size() == 0) return false;
  list->Clear();
  list->SetModified(true);
  return true;
}

}  // namespace tolmar::viewer
