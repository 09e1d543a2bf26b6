#pragma once

#include <QPoint>
#include <QRect>

#include "image/DicomImage.h"

class QPainter;

namespace tolmar::viewer {

class DisplayCell;

enum class ImageBorder { Other, Selected, Active };

// The one place where the view paints an image into its rectangle and maps
// screen points back to image pixels. Everything the view draws goes through
// these, so the image library's cell painting can take over here.
struct ImagePaintOptions {
  ImageBorder border = ImageBorder::Other;
  bool fullQuality = true;  // smooth scaling; quick mode while the user drags
  bool scoutCurrentOnly = false;  // only the current image's scout line
};

// Paints `image` into `rect` (background, picture, border). False when the
// image has nothing to show.
bool PaintImage(QPainter& painter, DicomImage& image, const QRect& rect,
                const ImagePaintOptions& options);

// The zoom (percent) that fits the image into the rectangle it was last painted into.
int CellFitZoom(const DicomImage& image);

// Image pixel under `point` of an image painted into `rect`; false when the
// point is outside the picture.
bool ImagePixelAt(const DicomImage& image, const QRect& rect, const QPoint& point, int& column,
                  int& row);

}  // namespace tolmar::viewer
