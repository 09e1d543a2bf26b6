#pragma once

#include <QFont>

#include "annotation/AnnotationStyle.h"

namespace tolmar::viewer {

// The logical font values a font chosen in the font dialog stands for. The
// height is kept negative, as the character height in pixels at the given
// screen resolution; weight is 400 or 700. Width, escapement, character set,
// precisions, quality and pitch come from `previous`: the dialog does not
// choose them.
MeasureFont LogicalFontOf(const QFont& chosen, const MeasureFont& previous,
                          double dotsPerInch = 96.0);

}  // namespace tolmar::viewer
