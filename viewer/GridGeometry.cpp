#include "viewer/GridGeometry.h"

#include <algorithm>
#include <cmath>

namespace tolmar::viewer {

GridSize ShowAllGrid(int width, int height, int count) {
  if (width <= 0 || height <= 0 || count <= 0) return {};
  const double n = count;
  const int c = std::max(1, static_cast<int>(std::lround(std::sqrt(width * n / height))));
  const int d = (count + c - 1) / c;
  const int e = std::max(1, static_cast<int>(std::lround(std::sqrt(height * n / width))));
  const int f = (count + e - 1) / e;
  if (e * f >= c * d) return {d, c};
  return {e, f};
}

QRect SlotRectangle(const QRect& area, GridSize grid, int slot) {
  if (grid.rows <= 0 || grid.columns <= 0 || slot < 0) return {};
  const int column = slot % grid.columns;
  const int row = slot / grid.columns;
  const int width = area.width();
  const int height = area.height();
  const int left = area.left() + column * width / grid.columns;
  const int top = area.top() + row * height / grid.rows;
  return QRect(left, top, std::max(0, width / grid.columns - 1),
               std::max(0, height / grid.rows - 1));
}

}  // namespace tolmar::viewer
