#pragma once

#include "DrawObj.h"
#include "RegionShape.h"

namespace tolmar {

// An ellipse inscribed in its position, showing the statistics of its pixels.
class CDrawEllipse : public CDrawObj {
 public:
  CDrawEllipse() : CDrawObj(draw_type::kEllipse) {}
  CDrawEllipse(DicomImage* owner, const ImageRect& position);

  void Draw(QPainter& painter, const DrawContext& context, bool active) override;
  bool Intersects(const ImageRect& rect) const override;
  std::string MeasureText() const override;
  RegionShape Region() const { return RegionShape::Ellipse(m_position); }
};

// True when any pixel of `rect` belongs to `region`.
bool RegionTouches(const RegionShape& region, const ImageRect& rect);

}  // namespace tolmar
