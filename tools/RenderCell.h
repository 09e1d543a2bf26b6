#pragma once

#include <string>
#include <vector>

#include "ToolCommand.h"

namespace tolmar {
class DicomImage;
}

namespace tolmar::tool {

// The display-cell options of `tolmar render`: paint the whole cell the viewer
// would show (background, picture with interpolation, border, overlays,
// scout lines) into a PNG instead of writing the bare bitmap.
//   --cell WxH          cell size in pixels (turns cell painting on)
//   --zoom N            fixed zoom in percent (2 to 800), "fit" or 0 for fit
//   --transform LIST    transform codes applied in order, e.g. "3,1"
//                       (1 mirror left-right, 2 mirror top-bottom, 3 rotate
//                       left, 4 rotate right)
//   --overlays          draw overlay texts, ruler and window text
//   --scout-lines PATHS comma-separated files or folders of the other images
//                       whose lines are drawn when the input is a scout
struct CellRenderRequest {
  bool wanted = false;
  int width = 0;
  int height = 0;
  int zoom = 0;
  std::vector<int> transforms;
  bool overlays = false;
  std::vector<std::string> scoutPaths;
};

constexpr const char* kCellRenderUsage =
    " [--cell WxH [--zoom N|fit] [--transform CODES] [--overlays] [--scout-lines PATHS]]";

// Removes the cell options from `arguments`. False with a message for the
// usage error when an option is malformed or given without --cell.
bool TakeCellOptions(Arguments& arguments, CellRenderRequest& request, std::string& message);

// Paints `image` (already built, frame and window chosen) into a cell and
// writes it as PNG (or BMP by the extension). Answers an exit code.
int RenderCellImage(DicomImage& image, const CellRenderRequest& request, const std::string& output);

}  // namespace tolmar::tool
