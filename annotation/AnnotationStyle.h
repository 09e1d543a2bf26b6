#pragma once

#include <QColor>
#include <QFont>
#include <cstdint>
#include <string>

namespace tolmar {

// The "Measure" font as the profile keeps it (a logical font description).
struct MeasureFont {
  int height = -12;
  int width = 0;
  int escapement = 0;
  int orientation = 0;
  int weight = 700;
  int italic = 0;
  int underline = 0;
  int strikeOut = 0;
  int charSet = 0;
  int outPrecision = 3;
  int clipPrecision = 2;
  int quality = 1;
  int pitchAndFamily = 38;
  std::string faceName = "Arial";
  bool operator==(const MeasureFont&) const = default;
};

// Pens, font and switches of the "Measure" section. The viewer fills it from
// its profile; the drawing objects only read it. Colours are COLORREF values
// (0x00BBGGRR).
struct AnnotationStyle {
  int normalPenStyle = 6;         // "NormalPen.Style"; 6 is the inside-frame (solid) style
  int normalPenWidth = 1;         // "NormalPen.Width"
  uint32_t normalColour = 65280;  // "Normal Color", green
  int activePenStyle = 6;         // "ActivePen.Style"
  int activePenWidth = 1;         // "ActivePen.Width"
  uint32_t activeColour = 255;    // "Active Color", red
  MeasureFont font;
  bool showDash = true;      // "Show Dash": leader lines of notes
  bool showTracker = false;  // "Show Tracker"
  int annotationMask = -1;   // "Annotation": 1 area, 2 mean, 4 standard deviation
};

// The program-wide style. Changing the font through SetMeasureFont raises the
// font generation so that texts measure themselves again.
const AnnotationStyle& MeasureStyle();
void SetMeasureStyle(const AnnotationStyle& style);
void SetMeasureFont(const MeasureFont& font);
int FontGeneration();

QColor ColourFromColorRef(uint32_t colorRef);
// The Qt font of a logical font description, scaled by `scale` (printing).
QFont FontOf(const MeasureFont& font, double scale = 1.0);

}  // namespace tolmar
