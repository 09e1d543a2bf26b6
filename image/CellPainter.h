#pragma once

#include <QRect>
#include <functional>
#include <optional>
#include <string>

#include "CellPlacement.h"
#include "ImageRect.h"

class QPainter;

namespace tolmar {

class DicomImage;

constexpr int kCellInset = 2;

enum class CellBorder { Other, Selected, Active };

// How one cell is painted.
struct PaintCellOptions {
  bool hidePatientTexts = false;
  bool secondBorderStyle = false;  // one-pixel border and inset
  bool allowInterpolation = true;
  std::string aspect;  // "a/b", empty for 1/1
  CellBorder border = CellBorder::Other;
  bool printing = false;       // the painter is a printer: no off-screen bitmap, white texts
  double printerRatio = 1.0;   // printer pixels per screen pixel, for label fonts
  bool offscreen = true;       // paint through an off-screen bitmap (screen only)
  bool drawAnnotations = true;
  bool drawingLayerActive = false;  // the viewer's drawing layer replaces the scout lines
  bool scoutCurrentOnly = false;
  // The viewer's own extras (magnifier, cutting line), painted last.
  std::function<void(QPainter&, const CellPlacement&)> extras;
  // Benchmarks compare the pixel-by-pixel interpolation with the fast one.
  bool scalarInterpolation = false;
};

// The zoom that fits the image into the reference rectangle (the image's own,
// else the program's first painted cell, else its last cell), in percent.
int FitZoom(const DicomImage& image);
// The zoom in effect: the fixed zoom, or FitZoom when it is 0.
int ZoomInEffect(const DicomImage& image);
// The part of the image shown in `cell` and where it lands; nothing when the
// image is not visible there.
std::optional<CellPlacement> PlaceImage(const DicomImage& image, const ImageRect& cell,
                                        const std::string& aspect = {}, int inset = kCellInset);

// Zoom and pan steps (commands 12 to 14, 18, 20). Zooms are kept in [2, 800];
// pan centres within the image. ZoomBy and PanBy answer the actual change.
int ZoomBy(DicomImage& image, int delta);
bool SetZoom(DicomImage& image, int zoom);
int PanBy(DicomImage& image, int dx, int dy, int* movedX = nullptr, int* movedY = nullptr);
bool SetPan(DicomImage& image, int x, int y);

// The program's reference rectangle: the first cell painted. The viewer clears
// it when its layout changes.
ImageRect ProgramReferenceRect();
void SetProgramReferenceRect(const ImageRect& rect);

// Paints the image into `cell` of `painter` (screen, off-screen bitmap or
// printer): background, bitmap, border, overlays, drawing objects, scout lines
// and the viewer's extras. False when nothing of the image could be shown.
bool PaintCell(DicomImage& image, QPainter& painter, const ImageRect& cell, const PaintCellOptions& options = {});

// The scale bar of a cell.
struct RulerGeometry {
  int lengthMm = 0;      // 0: no ruler
  double pixels = 0;     // length on screen
  double tickSpacing = 0;
  int tickCount = 0;
  int tickLength = 0;
};
RulerGeometry ComputeRuler(double columnSpacing, double rowSpacing, double zoom, int cellWidth, int cellHeight,
                           bool printing);

}  // namespace tolmar
