#include "viewer/CellPaint.h"

#include <QPainter>

#include "image/CellPainter.h"

namespace tolmar::viewer {
namespace {

ImageRect ToImageRect(const QRect& rect) {
  return {rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
}

CellBorder BorderOf(ImageBorder border) {
  switch (border) {
    case ImageBorder::Active:
      return CellBorder::Active;
    case ImageBorder::Selected:
      return CellBorder::Selected;
    case ImageBorder::Other:
      break;
  }
  return CellBorder::Other;
}

}  // namespace

int CellFitZoom(const DicomImage& image) { return FitZoom(image); }

bool PaintImage(QPainter& painter, DicomImage& image, const QRect& rect,
                const ImagePaintOptions& options) {
  PaintCellOptions cellOptions;
  cellOptions.border = BorderOf(options.border);
  // The view already paints into one off-screen picture.
  cellOptions.offscreen = false;
  cellOptions.allowInterpolation = options.fullQuality;
  cellOptions.drawAnnotations = options.fullQuality;
  cellOptions.scoutCurrentOnly = options.scoutCurrentOnly;
  painter.fillRect(rect, Qt::black);
  return PaintCell(image, painter, ToImageRect(rect), cellOptions);
}

bool ImagePixelAt(const DicomImage& image, const QRect& rect, const QPoint& point, int& column,
                  int& row) {
  const auto placement = PlaceImage(image, ToImageRect(rect));
  if (!placement) return false;
  const ImageRect& destination = placement->destination;
  if (point.x() < destination.left || point.x() >= destination.right ||
      point.y() < destination.top || point.y() >= destination.bottom) {
    return false;
  }
  const QPointF pixel = placement->ToImage(point.x(), point.y());
  column = static_cast<int>(pixel.x());
  row = static_cast<int>(pixel.y());
  return column >= 0 && row >= 0 && column < image.Columns() && row < image.Rows();
}

}  // namespace tolmar::viewer
