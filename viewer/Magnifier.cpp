#include "viewer/Magnifier.h"

#include <QPainter>
#include <algorithm>

#include "image/DibBitmap.h"

namespace tolmar::viewer {

int MagnifierRatioFromMessage(int value) { return value < 102 ? 101 : std::min(value, 1000); }

QImage MagnifiedPicture(const DibBitmap& bitmap, QPoint centre, QSize size, int ratio,
                        bool smooth) {
  QImage picture(size, QImage::Format_RGB32);
  picture.fill(Qt::black);
  if (size.isEmpty() || ratio <= 0) return picture;
  const int side = std::max(1, size.width() * 100 / ratio);
  const QRect square(centre.x() - side / 2, centre.y() - side / 2, side, side);
  const QRect inside = square & QRect(0, 0, bitmap.Width(), bitmap.Height());
  if (inside.isEmpty()) return picture;
  // Only the square is converted: the magnifier repaints on every move.
  const QImage part = bitmap.ToQImage(inside);
  // The inside part lands in the same proportion of the picture.
  const double scaleX = double(size.width()) / side;
  const double scaleY = double(size.height()) / side;
  QRect target(qRound((inside.left() - square.left()) * scaleX),
               qRound((inside.top() - square.top()) * scaleY),
               qRound(inside.width() * scaleX), qRound(inside.height() * scaleY));
  QImage enlarged;
  if (smooth) {
    const QSize rounded(std::max(4, target.width() & ~3), std::max(4, target.height() & ~3));
    enlarged = part.scaled(rounded, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  } else {
    enlarged = part.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
  }
  QPainter painter(&picture);
  painter.drawImage(target.topLeft(), enlarged);
  return picture;
}

}  // namespace tolmar::viewer
