#pragma once

#include <QPoint>
#include <QRect>

#include "image/DicomImage.h"
#include "image/FilterRecord.h"
#include "image/PaletteSegment.h"

namespace tolmar::viewer {

// Numbered operations the view applies to an image and repeats on the others.
namespace operation {
constexpr int kCentreBy = 10;
constexpr int kWidthBy = 11;
constexpr int kZoomBy = 12;
constexpr int kPanXBy = 13;
constexpr int kPanYBy = 14;
constexpr int kInvert = 15;
constexpr int kReset = 16;
constexpr int kGetZoom = 17;
constexpr int kSetZoom = 18;
constexpr int kGetPan = 19;
constexpr int kSetPan = 20;
constexpr int kGetWindow = 21;
constexpr int kSetWindow = 22;
constexpr int kPointValue = 23;
constexpr int kTransform = 24;
constexpr int kSetPalette = 25;
constexpr int kGetPalette = 26;
constexpr int kDefaultWindow = 27;
constexpr int kAdaptiveWindowPossible = 28;
constexpr int kFilter = 29;
}  // namespace operation

struct OperationArgument {
  int value = 0;  // delta, zoom or transform code
  int x = 0;
  int y = 0;
  double width = 0;
  double centre = 0;
  PaletteSegments* segments = nullptr;  // 25 sets these, 26 appends the image's to them
  const FilterRecord* filter = nullptr;  // 29
};

// The image's generic operation call as the view uses it. False for an
// operation that changed nothing or that the image does not have (palettes
// on colour images, filters on multi-frame images).
bool RunImageOperation(DicomImage& image, int code, OperationArgument& argument);
bool ImageSupportsOperation(const DicomImage& image, int code);

}  // namespace tolmar::viewer
