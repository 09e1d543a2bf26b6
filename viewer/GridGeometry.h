#pragma once

#include <QRect>

namespace tolmar::viewer {

struct GridSize {
  int rows = 1;
  int columns = 1;
  bool operator==(const GridSize&) const = default;
};

// The automatic grid of the show-all layout for `count` cells in a client area
// of width x height: whichever of the two candidate grids wastes fewer slots.
// An empty area or no cells gives 1 x 1.
GridSize ShowAllGrid(int width, int height, int count);

// Rectangle of screen slot `slot` of a rows x columns grid over `area`; its
// right and bottom edges stay one pixel inside the slot.
QRect SlotRectangle(const QRect& area, GridSize grid, int slot);

}  // namespace tolmar::viewer
