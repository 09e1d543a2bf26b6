#pragma once

#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

#include "ImageRect.h"
#include "PaletteSegment.h"
#include "ScoutLineSet.h"
#include "ScoutPlane.h"
#include "dicom/ImageInfoTable.h"

namespace tolmar {

// Mouse bookkeeping of one image between press and release.
struct ImageMouseState {
  int lastX = 0, lastY = 0;
  int pressX = 0, pressY = 0;
  int totalX = 0, totalY = 0;  // running totals the view repeats on other selected images
  bool captured = false;
};

// What each image keeps for its display cell besides zoom, pan, source
// rectangle and transform history (which travel in the state record).
struct ImageDisplayState {
  ImageRect referenceRect;  // the cell a fixed zoom refers to; empty: the program's first cell
  bool printing = false;
  bool changed = false;  // pixels rewritten by a filter or transform: reset re-reads the file

  // Overlay texts, one per item of the category's overlay list, built at load.
  bool overlayBuilt = false;
  std::vector<ImageInfoItem> overlayItems;  // a copy of the category's list
  std::vector<std::string> overlayTexts;
  std::vector<std::string> orientation;  // empty, or left, top, right, bottom
  std::string seriesLabel;

  PaletteSegments segments;  // grey images only

  ScoutPlane plane;
  ScoutLineSet scoutLines;
  bool scoutLinesOn = true;

  ImageMouseState mouse;

  // Caches, freed on every change of the rendered bitmap.
  uint64_t renderedFor = UINT64_MAX;
  QImage rendered;  // the rendered bitmap as the painter draws it
  uint64_t interpolatedFor = UINT64_MAX;
  ImageRect interpolatedSource;
  ImageRect interpolatedDestination;
  QImage interpolated;
};

}  // namespace tolmar
