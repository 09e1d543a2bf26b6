#pragma once

#include <QPoint>
#include <vector>

#include "image/ImageRect.h"

namespace tolmar {

// The pixels an object measures: a rectangle, a rounded rectangle, an ellipse
// inscribed in its rectangle or a polygon with alternate filling. A pixel
// belongs to the region when its centre lies inside.
class RegionShape {
 public:
  enum class Kind { Rectangle, RoundRectangle, Ellipse, Polygon };

  static RegionShape Rectangle(const ImageRect& rect);
  static RegionShape RoundRectangle(const ImageRect& rect, int cornerWidth, int cornerHeight);
  static RegionShape Ellipse(const ImageRect& rect);
  static RegionShape Polygon(const std::vector<QPoint>& points);

  Kind GetKind() const { return m_kind; }
  // The normalised bounding rectangle; pixels left <= x < right, top <= y < bottom.
  const ImageRect& Bounds() const { return m_bounds; }
  bool Contains(int x, int y) const;

 private:
  Kind m_kind = Kind::Rectangle;
  ImageRect m_bounds;
  int m_cornerWidth = 0;
  int m_cornerHeight = 0;
  std::vector<QPoint> m_points;
};

}  // namespace tolmar
