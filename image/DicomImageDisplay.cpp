// The image side of the display cell: numbered display commands, geometric
// transforms that move the pixels of every frame, and the display reset that
// re-reads the file.
#include <algorithm>
#include <cstring>

#include "CellPainter.h"
#include "DicomImage.h"
#include "FilterRecord.h"
#include "ImageFactory.h"
#include "OrientationLabels.h"
#include "dicom/DicomCodec.h"
#include "dicom/DicomDataSet.h"

namespace tolmar {

namespace {

int InverseTransform(int code) {
  switch (code) {
    case 3: return 4;
    case 4: return 3;
    default: return code;
  }
}

// Pixels of one frame after a transform; `bpp` bytes per pixel.
FrameBuffer MovePixels(const FrameBuffer& in, int code, int columns, int rows, int bpp,
                       int newColumns, int newRows) {
  FrameBuffer out(static_cast<size_t>(newColumns) * newRows * bpp, 0);
  auto src = [&](int x, int y) { return in.data() + (static_cast<size_t>(y) * columns + x) * bpp; };
  auto dst = [&](int x, int y) { return out.data() + (static_cast<size_t>(y) * newColumns + x) * bpp; };
  const size_t b = static_cast<size_t>(bpp);
  switch (code) {
    case 1:
      for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x) std::memcpy(dst(columns - 1 - x, y), src(x, y), b);
      break;
    case 2:
      for (int y = 0; y < rows; ++y) std::memcpy(dst(0, rows - 1 - y), src(0, y), b * columns);
      break;
    case 3:  // new row j is old column (columns - 1 - j), top to bottom
      for (int j = 0; j < newRows; ++j)
        for (int i = 0; i < rows; ++i) std::memcpy(dst(i, j), src(columns - 1 - j, i), b);
      break;
    case 4:  // new row j is old column j, bottom to top
      for (int j = 0; j < newRows; ++j)
        for (int i = 0; i < rows; ++i) std::memcpy(dst(i, j), src(j, rows - 1 - i), b);
      break;
    default: break;
  }
  return out;
}

// A rectangle or point of the old layout in the new one.
ImageRect MoveRect(const ImageRect& r, int code, int columns, int rows) {
  switch (code) {
    case 1: {
      const int w = columns & ~1;
      return {w - r.right, r.top, w - r.left, r.bottom};
    }
    case 2: {
      const int h = rows & ~1;
      return {r.left, h - r.bottom, r.right, h - r.top};
    }
    case 3: return {r.top, columns - r.right, r.bottom, columns - r.left};
    case 4: return {rows - r.bottom, r.left, rows - r.top, r.right};
    default: return r;
  }
}

}  // namespace

bool DicomImage::ReshapeFrames(std::vector<FrameBuffer> frames, int columns, int paddedColumns,
                               int rows) {
  const size_t size = static_cast<size_t>(paddedColumns) * rows * m_bytesPerPixel;
  if (columns <= 0 || paddedColumns < columns || rows <= 0) return false;
  for (const auto& f : frames) {
    if (f.size() != size) return false;
  }
  m_frames = std::move(frames);
  m_columns = columns;
  m_paddedColumns = paddedColumns;
  m_rows = rows;
  if (m_currentFrame >= FrameCount()) m_currentFrame = 0;
  InvalidateBitmap();
  return true;
}

bool DicomImage::ApplyTransform(int32_t code) {
  if (code < 1 || code > 4 || m_frames.empty() || !AllFramesLoaded()) return false;
  const int columns = m_paddedColumns, rows = m_rows;
  const bool rotate = code >= 3;
  const int newColumns = rotate ? (rows + 3) & ~3 : columns;
  const int newRows = rotate ? columns : rows;
  // The drawing objects follow with the sizes from before the transform.
  if (m_annotations) m_annotations->ApplyTransform(code, columns, rows);
  std::vector<FrameBuffer> moved;
  moved.reserve(m_frames.size());
  for (const auto& frame : m_frames) {
    moved.push_back(MovePixels(frame, code, columns, rows, m_bytesPerPixel, newColumns, newRows));
  }
  m_frames = std::move(moved);
  if (rotate) {
    m_columns = rows;
    m_paddedColumns = newColumns;
    m_rows = newRows;
    std::swap(m_rowSpacing, m_columnSpacing);
    std::swap(m_geometry.rowSpacing, m_geometry.columnSpacing);
  }
  m_sourceRect = MoveRect(m_sourceRect, code, columns, rows);
  MoveOrientationLabels(m_display.orientation, code);
  if (!m_transforms.empty() && m_transforms.back() == InverseTransform(code)) {
    m_transforms.pop_back();
  } else {
    m_transforms.push_back(code);
  }
  m_display.changed = true;
  InvalidateBitmap();
  return true;
}

DibBitmap* DicomImage::MutableRenderedBitmap() {
  if (!RenderedBitmap()) return nullptr;
  ++m_renderGeneration;
  return m_rendered.get();
}

void DicomImage::SetSettingsForRebuild(const ImageSettings& settings) {
  m_rebuildSettings = settings;
  m_display.changed = true;
}

bool DicomImage::ReloadFromFile() {
  auto ds = ReadDicomImage(m_path, ReadMode::FullRead);
  if (!ds) return false;
  // A fresh image of the same class proves that the file still builds before
  // this one gives up its pixels.
  const ImageSettings settings = m_rebuildSettings.value_or(m_settings);
  auto probe = CreateImage(ClassCode(), settings);
  if (!probe || !probe->Build(m_path, *ds)) return false;
  // Drawing objects go back through the transforms in reverse order.
  if (m_annotations) {
    int columns = m_paddedColumns, rows = m_rows;
    for (auto it = m_transforms.rbegin(); it != m_transforms.rend(); ++it) {
      const int inverse = InverseTransform(*it);
      m_annotations->ApplyTransform(inverse, columns, rows);
      if (inverse >= 3) {
        const int newColumns = (rows + 3) & ~3;
        rows = columns;
        columns = newColumns;
      }
    }
  }
  m_settings = settings;
  m_rebuildSettings.reset();
  if (!LoadAttributes(*ds) || !LoadPixels(*ds, false)) return false;
  ReadGeometryKeys(*ds);
  m_transforms.clear();
  m_sourceRect = {0, 0, m_paddedColumns, m_rows};
  m_panX = m_paddedColumns / 2;
  m_panY = m_rows / 2;
  m_display.orientation = ReadOrientationLabels(*ds);
  m_display.changed = false;
  InvalidateBitmap();
  return true;
}

bool DicomImage::HasCommand(int number) const {
  using namespace image_command;
  switch (number) {
    case kBrightness: case kContrast: case kZoomBy: case kPanX: case kPanY: case kInvert: case kReset:
    case kGetZoom: case kSetZoom: case kGetPan: case kSetPan: case kTransform: case kFilter:
      return true;
    default: return false;
  }
}

bool DicomImage::RunCommand(int number, CommandArgument& a) {
  using namespace image_command;
  switch (number) {
    case kBrightness: return AdjustCentre(a.value);
    case kContrast: return AdjustWidth(a.value);
    case kZoomBy: return ZoomBy(*this, a.value);
    case kPanX: return PanBy(*this, a.value, 0) != 0;
    case kPanY: return PanBy(*this, 0, a.value) != 0;
    case kInvert: ToggleInvert(); return true;
    case kReset:
      if (m_display.changed && !ReloadFromFile()) return false;
      // Colour adjustments live only in the rendered bitmap; a reset drops them.
      InvalidateBitmap();
      return true;
    case kGetZoom: a.value = ZoomInEffect(*this); return true;
    case kSetZoom: return SetZoom(*this, a.value);
    case kGetPan:
      a.x = m_panX;
      a.y = m_panY;
      return true;
    case kSetPan: return SetPan(*this, a.x, a.y);
    case kTransform: return ApplyTransform(a.value);
    case kFilter: return a.filter && ApplyFilter(*this, *a.filter);
    default: return false;
  }
}

}  // namespace tolmar
