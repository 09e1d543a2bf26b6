#include "ImageMouse.h"

#include <QPainter>
#include <algorithm>

#include "CellPainter.h"
#include "DicomImage.h"
#include "DisplaySettings.h"

namespace tolmar {

MouseResponse MousePress(DicomImage& image, MouseTool tool, const MouseEvent& e) {
  ImageMouseState& m = image.Display().mouse;
  m.lastX = m.pressX = e.x;
  m.lastY = m.pressY = e.y;
  m.totalX = m.totalY = 0;
  MouseResponse r;
  if (e.button == MouseButton::Left) {
    if (tool == MouseTool::Drawing) {
      r.forwardToDrawingTool = true;
    } else if (tool == MouseTool::Zoom || tool == MouseTool::Pan) {
      r.capture = m.captured = true;
      r.cursor = tool == MouseTool::Zoom ? mouse_cursor::kZoom : mouse_cursor::kPan;
    }
  } else if (e.button != MouseButton::None) {
    r.capture = m.captured = true;
  }
  return r;
}

MouseResponse MouseMove(DicomImage& image, MouseTool tool, const MouseEvent& e, const ImageRect& cell) {
  ImageMouseState& m = image.Display().mouse;
  const DisplaySettings s = CurrentDisplaySettings();
  int dx = e.x - m.lastX, dy = e.y - m.lastY;
  m.lastX = e.x;
  m.lastY = e.y;
  MouseResponse r;
  if (e.button == MouseButton::Right) {
    if (e.ctrl) {
      dx *= s.mouseMulti;
      dy *= s.mouseMulti;
    }
    r.cursor = mouse_cursor::kWindow;
    const bool widthChanged = image.AdjustWidth(dx);
    const bool centreChanged = image.AdjustCentre(dy);
    if (widthChanged || centreChanged) {
      const int64_t area = int64_t{cell.Width()} * cell.Height();
      if (s.wcRectEnable && area > int64_t{s.wcRectMaxSize} * s.wcRectMaxSize) {
        QRect part(e.x - s.wcRectWidth / 2, e.y - s.wcRectHeight / 2, s.wcRectWidth, s.wcRectHeight);
        r.quickRect = part.intersected(QRect(cell.left, cell.top, cell.Width(), cell.Height()));
        r.quickRender = true;
      } else if (s.quickFlush && image.Type() == PixelType::Grey) {
        r.quickRect = QRect(cell.left, cell.top, cell.Width(), cell.Height());
        r.quickRender = true;
      } else {
        r.paintNow = true;
        r.paintWithoutOffscreen = s.quickFlush;
      }
    }
    m.totalX += dx;
    m.totalY += dy;
    return r;
  }
  if (tool == MouseTool::Drawing) {
    r.forwardToDrawingTool = true;
    return r;
  }
  if (e.button == MouseButton::Left && tool == MouseTool::Zoom) {
    r.cursor = mouse_cursor::kZoom;
    const int change = ZoomBy(image, dx);
    r.invalidate = change != 0;
    m.totalX += change;
    return r;
  }
  if (tool == MouseTool::Pan) {
    if (e.button != MouseButton::Left) {
      r.cursor = mouse_cursor::kPanIdle;
      return r;
    }
    if (e.ctrl) {
      dx *= s.mouseMulti;
      dy *= s.mouseMulti;
    }
    r.cursor = mouse_cursor::kPan;
    int movedX = 0, movedY = 0;
    PanBy(image, dx, dy, &movedX, &movedY);
    r.invalidate = movedX != 0 || movedY != 0;
    m.totalX += movedX;  // the mouse move that took effect after the edge stopped it
    m.totalY += movedY;
  }
  return r;
}

MouseResponse MouseRelease(DicomImage& image, MouseTool tool, const MouseEvent& e) {
  ImageMouseState& m = image.Display().mouse;
  MouseResponse r;
  if (e.button == MouseButton::Left) {
    if (tool == MouseTool::Zoom || tool == MouseTool::Pan) {
      r.releaseCapture = m.captured;
      m.captured = false;
    } else if (tool == MouseTool::Drawing) {
      r.forwardToDrawingTool = true;
    }
    return r;
  }
  r.releaseCapture = m.captured;
  m.captured = false;
  if (e.x == m.pressX && e.y == m.pressY) {
    r.contextMenu = true;
  } else {
    r.invalidate = true;
  }
  return r;
}

bool QuickRender(DicomImage& image, QPainter& painter, const ImageRect& cell, const QRect& part) {
  const auto place = PlaceImage(image, cell);
  if (!place) return false;
  const QRect dest = QRect(place->destination.left, place->destination.top, place->destination.Width(),
                           place->destination.Height())
                         .intersected(part);
  if (dest.isEmpty()) return false;
  const QPointF a = place->ToImage(dest.left(), dest.top());
  const QPointF b = place->ToImage(dest.left() + dest.width(), dest.top() + dest.height());
  ImageRect source{static_cast<int>(a.x()), static_cast<int>(a.y()), static_cast<int>(b.x() + 0.999),
                   static_cast<int>(b.y() + 0.999)};
  source = source.Intersected(place->source);
  if (source.IsEmpty()) return false;
  auto bitmap = image.CreateBitmap(dest.width(), dest.height());
  if (!bitmap || !image.RenderToDib(*bitmap, &source)) return false;
  painter.drawImage(dest.topLeft(), bitmap->ToQImage());
  return true;
}

}  // namespace tolmar
