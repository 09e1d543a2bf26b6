#pragma once

#include <QPoint>
#include <functional>
#include <string>

#include "DrawObj.h"

namespace tolmar {

class DicomImage;

// The drawing tools by number, as the viewer selects them.
enum class DrawShape {
  Select = 0,
  Line = 1,
  Arrow = 2,
  Rect = 3,
  RoundRect = 4,
  Ellipse = 5,
  Poly = 6,
  Text = 7,
  Angle = 8,
  WCRect = 9,
  ClipRect = 10,
  NarrowPoly = 11,
};

// One drawing tool as a plain state machine. The view forwards presses, moves,
// releases and double clicks on an image with the point in image pixels (and
// the cell mapping, which handle hit tests need); each call answers whether
// the image needs painting again.
class DrawTool {
 public:
  explicit DrawTool(DrawShape shape) : m_shape(shape) {}

  DrawShape Shape() const { return m_shape; }
  // The text dialog of the text tool: fills the text, false when cancelled.
  std::function<bool(std::string& text)> askText;

  bool ButtonDown(DicomImage& image, QPoint imagePoint, const DrawContext& context = {});
  bool MouseMove(DicomImage& image, QPoint imagePoint);
  bool ButtonUp(DicomImage& image, QPoint imagePoint);
  bool DoubleClick(DicomImage& image, QPoint imagePoint);

  // The selected object (tool 0) or the object being made; null for none.
  CDrawObj* Selected() const { return m_selected; }
  // True while a point-by-point object is still taking points.
  bool Placing() const { return m_placing; }
  void Deselect();

 private:
  enum class Drag { None, Move, Handle };
  bool StartDragShape(DicomImage& image, QPoint p);
  bool AddPolyPoint(DicomImage& image, QPoint p);
  void Finish(DicomImage& image);

  DrawShape m_shape;
  CDrawObj* m_selected = nullptr;  // borrowed: the image's list owns it
  DicomImage* m_image = nullptr;
  Drag m_drag = Drag::None;
  int m_handle = 0;
  QPoint m_last;
  bool m_placing = false;
};

}  // namespace tolmar
