#include "viewer/CellPaint.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

#include "image/DibBitmap.h"

namespace tolmar::viewer {
namespace {

constexpr int kInset = 2;
const QColor kActiveBorder(255, 0, 0);
const QColor kSelectedBorder(0xFF, 0xFF, 0x93);
const QColor kOtherBorder(0x00, 0x40, 0x00);

struct Placement {
  QRectF source;       // image pixels
  QRectF destination;  // screen
};

// The display state accessors of the image are not const; reading them here changes nothing.
DicomImage& Mutable(const DicomImage& image) { return const_cast<DicomImage&>(image); }

double ZoomFactor(const DicomImage& image, const QRect& inner) {
  if (Mutable(image).Zoom() > 0) return Mutable(image).Zoom() / 100.0;
  const int columns = std::max(1, image.PaddedColumns());
  const int rows = std::max(1, image.Rows());
  return std::min(double(inner.width()) / columns, double(inner.height()) / rows);
}

bool Place(const DicomImage& image, const QRect& rect, Placement& placement) {
  const QRect inner = rect.adjusted(kInset, kInset, -kInset, -kInset);
  if (inner.isEmpty() || image.PaddedColumns() <= 0 || image.Rows() <= 0) return false;
  const double z = ZoomFactor(image, inner);
  if (z <= 0) return false;
  double cx = image.PaddedColumns() / 2.0;
  double cy = image.Rows() / 2.0;
  auto& mutableImage = const_cast<DicomImage&>(image);
  if (mutableImage.PanX() != 0 || mutableImage.PanY() != 0) {
    cx = mutableImage.PanX();
    cy = mutableImage.PanY();
  }
  const QRectF whole(0, 0, image.PaddedColumns(), image.Rows());
  const double hx = inner.width() / z / 2;
  const double hy = inner.height() / z / 2;
  const QRectF visible = QRectF(cx - hx, cy - hy, 2 * hx, 2 * hy).intersected(whole);
  if (visible.isEmpty()) return false;
  const QPointF centre = QRectF(inner).center();
  placement.source = visible;
  placement.destination =
      QRectF(centre.x() + (visible.left() - cx) * z, centre.y() + (visible.top() - cy) * z,
             visible.width() * z, visible.height() * z);
  return true;
}

}  // namespace

int CellFitZoom(const DicomImage& image) {
  auto& mutableImage = const_cast<DicomImage&>(image);
  const ImageRect cell = mutableImage.CellRect();
  const QRect inner = QRect(cell.left, cell.top, cell.Width(), cell.Height())
                          .adjusted(kInset, kInset, -kInset, -kInset);
  if (inner.isEmpty()) return 100;
  return std::max(1, static_cast<int>(ZoomFactor(image, inner) * 100));
}

bool PaintImage(QPainter& painter, DicomImage& image, const QRect& rect,
                const ImagePaintOptions& options) {
  painter.fillRect(rect, Qt::black);
  image.CellRect() = {rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
  bool shown = false;
  Placement placement;
  if (Place(image, rect, placement)) {
    if (const DibBitmap* bitmap = image.RenderedBitmap()) {
      const QImage picture = bitmap->ToQImage();
      painter.save();
      painter.setClipRect(rect.adjusted(kInset, kInset, -kInset, -kInset));
      painter.setRenderHint(QPainter::SmoothPixmapTransform, options.fullQuality);
      painter.drawImage(placement.destination, picture, placement.source);
      painter.restore();
      shown = true;
    }
  }
  const QColor colour = options.border == ImageBorder::Active     ? kActiveBorder
                        : options.border == ImageBorder::Selected ? kSelectedBorder
                                                                  : kOtherBorder;
  painter.setPen(colour);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect.adjusted(0, 0, -1, -1));
  painter.drawRect(rect.adjusted(1, 1, -2, -2));
  return shown;
}

bool ImagePixelAt(const DicomImage& image, const QRect& rect, const QPoint& point, int& column,
                  int& row) {
  Placement placement;
  if (!Place(image, rect, placement) || !placement.destination.contains(point)) return false;
  const double sx = placement.source.width() / placement.destination.width();
  const double sy = placement.source.height() / placement.destination.height();
  column =
      static_cast<int>(placement.source.left() + (point.x() - placement.destination.left()) * sx);
  row = static_cast<int>(placement.source.top() + (point.y() - placement.destination.top()) * sy);
  return column >= 0 && row >= 0 && column < image.Columns() && row < image.Rows();
}

}  // namespace tolmar::viewer
