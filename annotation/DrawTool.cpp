#include "DrawTool.h"

#include "DrawEllipse.h"
#include "DrawLine.h"
#include "DrawObjList.h"
#include "DrawPoly.h"
#include "DrawRect.h"
#include "DrawRoundRect.h"
#include "DrawText.h"
#include "image/DicomImage.h"

namespace tolmar {

namespace {

std::unique_ptr<CDrawObj> MakeDragged(DrawShape shape, DicomImage& image, const ImageRect& r) {
  switch (shape) {
    case DrawShape::Line:
      return std::make_unique<CDrawLine>(&image, r);
    case DrawShape::Arrow:
      return std::make_unique<CDrawArrow>(&image, r);
    case DrawShape::Rect:
      return std::make_unique<CDrawRect>(&image, r);
    case DrawShape::RoundRect:
      return std::make_unique<CDrawRoundRect>(&image, r);
    case DrawShape::Ellipse:
      return std::make_unique<CDrawEllipse>(&image, r);
    case DrawShape::WCRect:
      return std::make_unique<CDrawWCRect>(&image, r);
    default:
      return nullptr;
  }
}

std::unique_ptr<CDrawPoly> MakePointByPoint(DrawShape shape, DicomImage& image,
                                            const ImageRect& r) {
  switch (shape) {
    case DrawShape::Poly:
      return std::make_unique<CDrawPoly>(&image, r);
    case DrawShape::Angle:
      return std::make_unique<CDrawAngle>(&image, r);
    case DrawShape::NarrowPoly:
      return std::make_unique<CDrawNarrowPoly>(&image, r);
    default:
      return nullptr;
  }
}

}  // namespace

void DrawTool::Deselect() {
  m_selected = nullptr;
  m_drag = Drag::None;
  m_placing = false;
}

bool DrawTool::ButtonDown(DicomImage& image, QPoint p, const DrawContext& context) {
  DrawObjList& list = DrawObjList::Of(image);
  if (m_image != &image || (m_selected && !list.Contains(m_selected))) Deselect();
  m_image = &image;
  m_last = p;
  switch (m_shape) {
    case DrawShape::Select: {
      if (m_selected) {
        const int handle = m_selected->HitTest(context.ToCell(p), context);
        if (handle > 0) {
          m_drag = Drag::Handle;
          m_handle = handle;
          return false;
        }
      }
      CDrawObj* hit = list.TopmostAt(p);
      const bool changed = hit != m_selected;
      m_selected = hit;
      m_drag = hit ? Drag::Move : Drag::None;
      return changed;
    }
    case DrawShape::Text: {
      std::string text;
      if (!askText || !askText(text) || text.empty()) return false;
      auto object =
          std::make_unique<CDrawText>(&image, ImageRect{p.x(), p.y(), p.x() + 1, p.y() + 1});
      object->SetText(text, false);
      m_selected = list.Add(std::move(object));
      list.SetModified(true);
      return true;
    }
    case DrawShape::ClipRect: {
      if (list.ClipObject()) return false;
      m_selected = list.Add(std::make_unique<CDrawClipRect>(
          &image, ImageRect{0, 0, image.PaddedColumns(), image.Rows()}));
      return true;
    }
    case DrawShape::Poly:
    case DrawShape::Angle:
    case DrawShape::NarrowPoly:
      return AddPolyPoint(image, p);
    default:
      return StartDragShape(image, p);
  }
}

bool DrawTool::StartDragShape(DicomImage& image, QPoint p) {
  auto object = MakeDragged(m_shape, image, ImageRect{p.x(), p.y(), p.x(), p.y()});
  if (!object) return false;
  m_selected = DrawObjList::Of(image).Add(std::move(object));
  m_drag = Drag::Handle;
  // Lines and arrows drag their end point, the other shapes their bottom-right corner.
  m_handle = m_selected->GetHandleCount() == 2 ? 2 : 5;
  return true;
}

bool DrawTool::AddPolyPoint(DicomImage& image, QPoint p) {
  DrawObjList& list = DrawObjList::Of(image);
  if (!m_placing || !m_selected || !list.Contains(m_selected)) {
    auto object = MakePointByPoint(m_shape, image, ImageRect{p.x(), p.y(), p.x(), p.y()});
    if (!object) return false;
    object->AddPoint(p);
    m_selected = list.Add(std::move(object));
    m_placing = true;
    return true;
  }
  auto* poly = static_cast<CDrawPoly*>(m_selected);
  const bool added = poly->AddPoint(p);
  // An angle is complete with its third point.
  if (m_shape == DrawShape::Angle && poly->Points().size() >= 3) Finish(image);
  return added;
}

bool DrawTool::MouseMove(DicomImage& image, QPoint p) {
  if (&image != m_image || !m_selected || m_drag == Drag::None) return false;
  if (!DrawObjList::Of(image).Contains(m_selected)) {
    Deselect();
    return false;
  }
  if (p == m_last) return false;
  if (m_drag == Drag::Handle) {
    m_selected->MoveHandleTo(m_handle, p);
  } else {
    ImageRect r = m_selected->Position();
    const QPoint d = p - m_last;
    r = {r.left + d.x(), r.top + d.y(), r.right + d.x(), r.bottom + d.y()};
    m_selected->MoveTo(r, true);
  }
  m_selected->UpdateNote();
  m_last = p;
  return true;
}

bool DrawTool::ButtonUp(DicomImage& image, QPoint p) {
  if (&image != m_image || m_drag == Drag::None) return false;
  const bool changed = MouseMove(image, p);
  const bool creating = m_shape != DrawShape::Select;
  m_drag = Drag::None;
  if (!creating || !m_selected) return changed;
  DrawObjList& list = DrawObjList::Of(image);
  const ImageRect r = m_selected->Position();
  if (r.left == r.right && r.top == r.bottom) {
    // A click without a drag makes nothing.
    list.Remove(m_selected);
    m_selected = nullptr;
    return true;
  }
  m_selected->UpdateNote();
  list.SetModified(true);
  return true;
}

bool DrawTool::DoubleClick(DicomImage& image, QPoint) {
  if (!m_placing || &image != m_image) return false;
  Finish(image);
  return true;
}

void DrawTool::Finish(DicomImage& image) {
  m_placing = false;
  if (m_selected) {
    m_selected->UpdateNote();
    DrawObjList::Of(image).SetModified(true);
  }
}

}  // namespace tolmar
