#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>

namespace tolmar {
class DibBitmap;
}

namespace tolmar::viewer {

// The magnifier's enlargement in percent: 200 at first; the slider runs from
// 2 to 800 and the view's message from 101 to 1000.
constexpr int kInitialMagnifierRatio = 200;
int MagnifierRatioFromMessage(int value);

// The square of the rendered bitmap under `centre` (bitmap pixels, rows from
// the top) enlarged into a picture of `size`: side = width x 100 / ratio
// bitmap pixels; where the square leaves the bitmap the picture is black.
// Smoothed pictures are interpolated at a size rounded down to multiples of 4.
QImage MagnifiedPicture(const DibBitmap& bitmap, QPoint centre, QSize size, int ratio,
                        bool smooth);

}  // namespace tolmar::viewer
