#include "viewer/LogicalFont.h"

#include <algorithm>
#include <cmath>

namespace tolmar::viewer {

MeasureFont LogicalFontOf(const QFont& chosen, const MeasureFont& previous, double dotsPerInch) {
  MeasureFont f = previous;
  int pixels = chosen.pixelSize();
  if (pixels <= 0 && chosen.pointSizeF() > 0)
    pixels = static_cast<int>(std::lround(chosen.pointSizeF() * dotsPerInch / 72.0));
  // A font without a usable size keeps the height it had.
  if (pixels > 0) f.height = -std::min(pixels, 1000);
  f.weight = chosen.bold() ? 700 : 400;
  f.italic = chosen.italic() ? 1 : 0;
  f.underline = chosen.underline() ? 1 : 0;
  f.strikeOut = chosen.strikeOut() ? 1 : 0;
  const QString family = chosen.family();
  if (!family.isEmpty()) f.faceName = family.left(31).toStdString();
  return f;
}

}  // namespace tolmar::viewer
