#pragma once

#include <QPointF>
#include <QRect>
#include <QTransform>

#include "ImageRect.h"

namespace tolmar {

// Where an image lands in its cell: the visible part of the image (image
// pixels) and the rectangle it is drawn into (cell coordinates). Everything
// drawn over the image (scout lines, drawing objects, shutter) goes through it.
struct CellPlacement {
  ImageRect source;
  ImageRect destination;

  double ScaleX() const { return source.Width() > 0 ? double(destination.Width()) / source.Width() : 1.0; }
  double ScaleY() const { return source.Height() > 0 ? double(destination.Height()) / source.Height() : 1.0; }
  QPointF ToCell(double x, double y) const {
    return {destination.left + (x - source.left) * ScaleX(), destination.top + (y - source.top) * ScaleY()};
  }
  QPointF ToImage(double x, double y) const {
    return {source.left + (x - destination.left) / ScaleX(), source.top + (y - destination.top) / ScaleY()};
  }
  QRect ToCell(const ImageRect& r) const {
    const QPointF a = ToCell(r.left, r.top), b = ToCell(r.right, r.bottom);
    return QRect(QPoint(int(a.x()), int(a.y())), QPoint(int(b.x()) - 1, int(b.y()) - 1));
  }
  QTransform ImageToCell() const {
    return QTransform(ScaleX(), 0, 0, ScaleY(), destination.left - source.left * ScaleX(),
                      destination.top - source.top * ScaleY());
  }
  bool operator==(const CellPlacement&) const = default;
};

}  // namespace tolmar
