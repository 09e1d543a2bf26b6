#include "RegionShape.h"

#include <algorithm>
#include <cstdlib>

namespace tolmar {

RegionShape RegionShape::Rectangle(const ImageRect& rect) {
  RegionShape s;
  s.m_kind = Kind::Rectangle;
  s.m_bounds = rect.Normalised();
  return s;
}

RegionShape RegionShape::RoundRectangle(const ImageRect& rect, int cornerWidth, int cornerHeight) {
  RegionShape s;
  s.m_kind = Kind::RoundRectangle;
  s.m_bounds = rect.Normalised();
  s.m_cornerWidth = std::min(std::abs(cornerWidth), s.m_bounds.Width());
  s.m_cornerHeight = std::min(std::abs(cornerHeight), s.m_bounds.Height());
  return s;
}

RegionShape RegionShape::Ellipse(const ImageRect& rect) {
  RegionShape s;
  s.m_kind = Kind::Ellipse;
  s.m_bounds = rect.Normalised();
  return s;
}

RegionShape RegionShape::Polygon(const std::vector<QPoint>& points) {
  RegionShape s;
  s.m_kind = Kind::Polygon;
  s.m_points = points;
  if (!points.empty()) {
    ImageRect b{points[0].x(), points[0].y(), points[0].x(), points[0].y()};
    for (const QPoint& p : points) {
      b.left = std::min(b.left, p.x());
      b.top = std::min(b.top, p.y());
      b.right = std::max(b.right, p.x());
      b.bottom = std::max(b.bottom, p.y());
    }
    s.m_bounds = b;
  }
  return s;
}

namespace {

// Inside the ellipse with centre (cx, cy) and radii (a, b)?
bool InEllipse(double x, double y, double cx, double cy, double a, double b) {
  if (a <= 0 || b <= 0) return false;
  const double dx = (x - cx) / a;
  const double dy = (y - cy) / b;
  return dx * dx + dy * dy <= 1.0;
}

}  // namespace

bool RegionShape::Contains(int x, int y) const {
  const ImageRect& b = m_bounds;
  if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) return false;
  const double px = x + 0.5;
  const double py = y + 0.5;
  switch (m_kind) {
    case Kind::Rectangle:
      return true;
    case Kind::Ellipse:
      return InEllipse(px, py, (b.left + b.right) / 2.0, (b.top + b.bottom) / 2.0, b.Width() / 2.0,
                       b.Height() / 2.0);
    case Kind::RoundRectangle: {
      const double rx = m_cornerWidth / 2.0;
      const double ry = m_cornerHeight / 2.0;
      if (rx <= 0 || ry <= 0) return true;
      // Only the four corner squares are cut by their quarter ellipses.
      const double cx = px < b.left + rx ? b.left + rx : (px > b.right - rx ? b.right - rx : px);
      const double cy = py < b.top + ry ? b.top + ry : (py > b.bottom - ry ? b.bottom - ry : py);
      if (cx == px || cy == py) return true;
      return InEllipse(px, py, cx, cy, rx, ry);
    }
    case Kind::Polygon: {
      bool inside = false;
      const size_t n = m_points.size();
      for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const double xi = m_points[i].x(), yi = m_points[i].y();
        const double xj = m_points[j].x(), yj = m_points[j].y();
        if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) inside = !inside;
      }
      return inside;
    }
  }
  return false;
}

}  // namespace tolmar
