#pragma once

#include <QPoint>
#include <QRect>
#include <functional>
#include <memory>
#include <string>

#include "annotation/DrawTool.h"

namespace tolmar::viewer {

// The drawing tool of the view's left button: turns screen points on an image
// painted into a rectangle into image pixels for the annotation library's
// tool, and answers what lies under a point.
class ViewDrawing {
 public:
  // Shapes 0 to 10 of the view's drawing tool; anything else selects.
  void SetShape(int shape);
  int Shape() const;
  // The text tool's question; the program shows a dialog, tests answer directly.
  void SetTextPrompt(std::function<bool(std::string&)> prompt);

  // Each answers whether the image needs painting again.
  bool Press(DicomImage& image, const QRect& imageRect, const QPoint& point);
  bool Move(DicomImage& image, const QRect& imageRect, const QPoint& point);
  bool Release(DicomImage& image, const QRect& imageRect, const QPoint& point);
  bool DoubleClick(DicomImage& image, const QRect& imageRect, const QPoint& point);
  // A polygon taking points follows the mouse without a button held.
  bool Placing() const { return m_tool && m_tool->Placing(); }

  // The selected object of `image`, if it still exists.
  CDrawObj* Selected(DicomImage& image) const;
  bool DeleteSelected(DicomImage& image);
  // Forgets the selection (its image or object is going away).
  void Deselect();

  static bool HasObjects(DicomImage& image);
  static bool ObjectAt(DicomImage& image, const QRect& imageRect, const QPoint& point);
  // Removes every drawing object of the image; false when it had none.
  static bool DeleteAll(DicomImage& image);

 private:
  static bool ToImagePoint(const DicomImage& image, const QRect& imageRect, const QPoint& point,
                           QPoint& imagePoint, DrawContext& context);

  std::unique_ptr<DrawTool> m_tool = std::make_unique<DrawTool>(DrawShape::Select);
  std::function<bool(std::string&)> m_prompt;
};

}  // namespace tolmar::viewer
