#include "AnnotationStyle.h"

#include <atomic>
#include <cmath>
#include <cstdlib>

namespace tolmar {

namespace {
AnnotationStyle& Style() {
  static AnnotationStyle style;
  return style;
}
std::atomic<int> g_fontGeneration{1};
}  // namespace

const AnnotationStyle& MeasureStyle() { return Style(); }

void SetMeasureStyle(const AnnotationStyle& style) {
  const bool fontChanged = !(style.font == Style().font);
  Style() = style;
  if (fontChanged) ++g_fontGeneration;
}

void SetMeasureFont(const MeasureFont& font) {
  Style().font = font;
  ++g_fontGeneration;
}

int FontGeneration() { return g_fontGeneration.load(); }

QColor ColourFromColorRef(uint32_t c) {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

QFont FontOf(const MeasureFont& f, double scale) {
  QFont font(QString::fromStdString(f.faceName));
  // A negative logical height is the character height; a positive one the cell
  // height, of which the character takes roughly this share.
  const int height = f.height < 0 ? -f.height : (f.height * 4 + 2) / 5;
  font.setPixelSize(
      std::max(1, static_cast<int>(std::lround((height == 0 ? 12 : height) * scale))));
  font.setWeight(f.weight >= 700 ? QFont::Bold : (f.weight >= 500 ? QFont::Medium : QFont::Normal));
  font.setItalic(f.italic != 0);
  font.setUnderline(f.underline != 0);
  font.setStrikeOut(f.strikeOut != 0);
  return font;
}

}  // namespace tolmar
