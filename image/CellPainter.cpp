#include "CellPainter.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <mutex>

#include "BilinearScaler.h"
#include "DicomImage.h"
#include "DisplaySettings.h"
#include "GreyImage16.h"

namespace tolmar {

namespace {

std::mutex& ReferenceMutex() {
  static std::mutex mutex;
  return mutex;
}
ImageRect& ProgramReference() {
  static ImageRect rect;
  return rect;
}

QColor FromColorRef(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

int ClampZoom(int zoom) { return zoom >= 800 ? 800 : (zoom < 3 ? 2 : zoom); }

QRect ToQRect(const ImageRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// Aspect text "a/b": 1 and 1 when absent or either number is 0.
void ParseAspect(const std::string& text, int& a, int& b) {
  a = b = 1;
  int x = 0, y = 0;
  if (std::sscanf(text.c_str(), "%d/%d", &x, &y) == 2 && x > 0 && y > 0) {
    a = x;
    b = y;
  }
}

// The rendered bitmap as a 32-bit picture the painter draws without converting.
const QImage& RenderedPicture(DicomImage& image) {
  ImageDisplayState& d = image.Display();
  const DibBitmap* dib = image.RenderedBitmap();
  if (!dib) {
    d.rendered = QImage();
    return d.rendered;
  }
  if (d.renderedFor == image.RenderGeneration() && !d.rendered.isNull()) return d.rendered;
  QImage picture(dib->Width(), dib->Height(), QImage::Format_RGB32);
  if (dib->BitsPerPixel() == 8) {
    QRgb table[256];
    for (int i = 0; i < 256; ++i) {
      const auto& e = dib->Palette()[static_cast<size_t>(i)];
      table[i] = qRgb(e.red, e.green, e.blue);
    }
    for (int y = 0; y < dib->Height(); ++y) {
      const uint8_t* from = dib->Row(y);
      auto* to = reinterpret_cast<QRgb*>(picture.scanLine(y));
      for (int x = 0; x < dib->Width(); ++x) to[x] = table[from[x]];
    }
  } else {
    for (int y = 0; y < dib->Height(); ++y) {
      const uint8_t* from = dib->Row(y);
      auto* to = reinterpret_cast<QRgb*>(picture.scanLine(y));
      for (int x = 0; x < dib->Width(); ++x) to[x] = qRgb(from[3 * x + 2], from[3 * x + 1], from[3 * x]);
    }
  }
  d.rendered = std::move(picture);
  d.renderedFor = image.RenderGeneration();
  return d.rendered;
}

// The interpolated picture of `source` at the destination's size (rounded down
// to multiples of 4), kept until the destination, the source or the bitmap
// changes. Null when it cannot be made.
const QImage& InterpolatedPicture(DicomImage& image, const CellPlacement& place, bool scalar) {
  ImageDisplayState& d = image.Display();
  if (d.interpolatedFor == image.RenderGeneration() && d.interpolatedSource == place.source &&
      d.interpolatedDestination == place.destination && !d.interpolated.isNull()) {
    return d.interpolated;
  }
  d.interpolated = QImage();
  const DibBitmap* dib = image.RenderedBitmap();
  const int dw = place.destination.Width() & ~3, dh = place.destination.Height() & ~3;
  if (!dib || dw <= 0 || dh <= 0) return d.interpolated;
  PictureView view;
  view.bits = dib->Row(0);
  view.width = dib->Width();
  view.height = dib->Height();
  view.stride = -dib->Stride();
  view.bytesPerPixel = dib->BitsPerPixel() / 8;
  thread_local BilinearScaler scaler;
  thread_local std::vector<uint8_t> bytes;
  const bool done = scalar ? BilinearScaler::ScaleScalar(view, place.source, dw, dh, bytes)
                           : scaler.Scale(view, place.source, dw, dh, bytes);
  if (!done) return d.interpolated;
  QImage picture(dw, dh, QImage::Format_RGB32);
  if (picture.isNull()) return d.interpolated;
  if (view.bytesPerPixel == 1) {
    QRgb table[256];
    for (int i = 0; i < 256; ++i) {
      const auto& e = dib->Palette()[static_cast<size_t>(i)];
      table[i] = qRgb(e.red, e.green, e.blue);
    }
    for (int y = 0; y < dh; ++y) {
      const uint8_t* from = bytes.data() + static_cast<size_t>(y) * dw;
      auto* to = reinterpret_cast<QRgb*>(picture.scanLine(y));
      for (int x = 0; x < dw; ++x) to[x] = table[from[x]];
    }
  } else {
    for (int y = 0; y < dh; ++y) {
      const uint8_t* from = bytes.data() + static_cast<size_t>(y) * dw * 3;
      auto* to = reinterpret_cast<QRgb*>(picture.scanLine(y));
      for (int x = 0; x < dw; ++x) to[x] = qRgb(from[3 * x + 2], from[3 * x + 1], from[3 * x]);
    }
  }
  d.interpolated = std::move(picture);
  d.interpolatedFor = image.RenderGeneration();
  d.interpolatedSource = place.source;
  d.interpolatedDestination = place.destination;
  return d.interpolated;
}

// Text outlined in black on screen, plain white on a printer.
void OutlinedText(QPainter& p, const QRectF& box, int flags, const QString& text, const QColor& colour,
                  bool printing) {
  if (printing) {
    p.setPen(Qt::white);
    p.drawText(box, flags, text);
    return;
  }
  p.setPen(Qt::black);
  for (const QPointF offset : {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1)}) {
    p.drawText(box.translated(offset), flags, text);
  }
  p.setPen(colour);
  p.drawText(box, flags, text);
}

void ShadowedText(QPainter& p, const QRectF& box, int flags, const QString& text, const QColor& colour,
                  bool printing) {
  if (!printing) {
    p.setPen(Qt::black);
    p.drawText(box.translated(1, 1), flags, text);
  }
  p.setPen(printing ? QColor(Qt::white) : colour);
  p.drawText(box, flags, text);
}

void DrawOverlayTexts(QPainter& p, const DicomImage& image, const QRect& cell, const DisplaySettings& s,
                      bool printing) {
  const ImageDisplayState& d = image.Display();
  const QRect area = cell.adjusted(s.hSpace, s.vSpace, -s.hSpace, -s.vSpace);
  if (area.isEmpty()) return;
  const QFontMetrics metrics(p.font());
  const int h = metrics.height();
  const QColor colour = FromColorRef(s.textColour);
  p.save();
  p.setClipRect(area, Qt::IntersectClip);
  const size_t count = std::min(d.overlayItems.size(), d.overlayTexts.size());
  for (size_t k = 0; k < count; ++k) {
    const ImageInfoItem& item = d.overlayItems[k];
    const QString text = QString::fromLocal8Bit(d.overlayTexts[k].c_str());
    if (text.isEmpty()) continue;
    const int n = item.line;
    QRectF band;
    int flags = Qt::AlignVCenter;
    if (item.horizontal == 3) {
      if (n != 0) continue;
      flags |= Qt::AlignHCenter;
      if (item.vertical == 1) {
        band = QRectF(area.left(), area.top(), area.width(), h + 1);
      } else if (item.vertical == 2) {
        band = QRectF(area.left(), area.bottom() + 1 - (h + 1), area.width(), h + 1);
      } else {
        continue;
      }
    } else {
      flags |= item.horizontal == 2 ? Qt::AlignRight : Qt::AlignLeft;
      if (item.vertical == 1) {
        band = QRectF(area.left(), area.top() + double(h + 1) * n, area.width(), h + 1);
      } else if (item.vertical == 2) {
        band = QRectF(area.left(), area.bottom() + 1 - double(h + 1) * (n + 1), area.width(), h + 1);
      } else if (item.vertical == 3) {
        if (n != 0) continue;
        band = QRectF(area.left(), area.top() + (area.height() - h) / 2.0, area.width(), h + 1);
      } else {
        continue;
      }
    }
    OutlinedText(p, band, flags, text, colour, printing);
  }
  if (d.orientation.size() == 4) {
    OutlinedText(p, QRectF(area.left(), area.top(), area.width(), area.height()), Qt::AlignLeft | Qt::AlignVCenter,
                 QString::fromStdString(d.orientation[0]), colour, printing);
    OutlinedText(p, QRectF(area.left(), area.top(), area.width(), h + 1), Qt::AlignHCenter | Qt::AlignTop,
                 QString::fromStdString(d.orientation[1]), colour, printing);
  }
  p.restore();
}

void DrawRuler(QPainter& p, const DicomImage& image, const QRect& cell, double zoom, bool printing) {
  const RulerGeometry r =
      ComputeRuler(image.ColumnSpacing(), image.RowSpacing(), zoom, cell.width(), cell.height(), printing);
  if (r.lengthMm == 0) return;
  p.save();
  const double x = cell.right() + 1 - cell.width() / 20;
  const double top = cell.top() + (cell.height() - r.pixels) / 2;
  if (!printing) p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  p.setPen(QPen(Qt::white, 1));
  p.drawLine(QPointF(x, top), QPointF(x, top + r.pixels));
  for (int k = 0; k < r.tickCount; ++k) {
    const double y = top + r.tickSpacing * k;
    const int length = k % 2 == 0 ? r.tickLength : r.tickLength / 2 + 1;
    p.drawLine(QPointF(x, y), QPointF(x - length, y));
  }
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  char label[32];
  std::snprintf(label, sizeof label, "%dcm", r.lengthMm / 10);
  const QFontMetrics metrics(p.font());
  ShadowedText(p, QRectF(x - 50, top + r.pixels + 1, 100, metrics.height()), Qt::AlignHCenter | Qt::AlignTop,
               label, Qt::white, printing);
  p.restore();
}

void DrawWindowAndFrames(QPainter& p, const DicomImage& image, const QRect& cell, const DisplaySettings& s,
                         bool printing) {
  const QFontMetrics metrics(p.font());
  const QColor colour = FromColorRef(s.textColour);
  if (const auto* grey = dynamic_cast<const GreyImage16*>(&image)) {
    char text[64];
    std::snprintf(text, sizeof text, "W:%d L:%d", grey->Width(),
                  static_cast<int>(std::lround(grey->ToModality(grey->Centre()))));
    ShadowedText(p, QRectF(cell.left(), cell.bottom() + 1 - metrics.height() - s.vSpace, cell.width(), metrics.height()),
                 Qt::AlignHCenter | Qt::AlignVCenter, text, colour, printing);
  }
  const int expected = std::max(1, image.NumberOfFrames());
  if (image.FrameCount() > 1 || expected > 1) {
    char text[64];
    if (image.FrameCount() < expected) {
      std::snprintf(text, sizeof text, "%ld/%ld(%ld)", long(image.CurrentFrame() + 1), long(image.FrameCount()),
                    long(expected));
    } else {
      std::snprintf(text, sizeof text, "%d/%d", image.CurrentFrame() + 1, image.FrameCount());
    }
    ShadowedText(p, QRectF(cell.left(), cell.top() + s.vSpace + metrics.height(), cell.width(), metrics.height()),
                 Qt::AlignHCenter | Qt::AlignVCenter, text, colour, printing);
  }
}

bool PaintInto(DicomImage& image, QPainter& p, const QRect& cell, const PaintCellOptions& o,
               const DisplaySettings& s) {
  const ImageRect cellRect{cell.left(), cell.top(), cell.left() + cell.width(), cell.top() + cell.height()};
  const int inset = o.secondBorderStyle ? 1 : kCellInset;
  bool inverted = image.Inverted();
  QColor background = FromColorRef(s.background);
  if (inverted && (background == Qt::black || background == Qt::white)) {
    background = background == Qt::black ? QColor(Qt::white) : QColor(Qt::black);
  }
  const auto place = PlaceImage(image, cellRect, o.aspect, inset);
  if (!place) {
    p.fillRect(cell, background);
    return false;
  }
  const QRect dest = ToQRect(place->destination);
  // Background around the picture only, so that the picture is written once.
  QRegion around(cell);
  around -= dest;
  for (const QRect& r : around) p.fillRect(r, background);

  const QImage& picture = RenderedPicture(image);
  if (picture.isNull()) return false;
  image.Display().printing = o.printing;
  const bool clipped = image.Shutter().Clip(
      p, [&](const ImageRect& r) { return place->ToCell(r); }, nullptr);
  const bool enlarge = place->destination.Width() > place->source.Width() ||
                       place->destination.Height() > place->source.Height();
  bool drawn = false;
  if (s.interpolation && !o.printing && o.allowInterpolation && enlarge) {
    const QImage& smooth = InterpolatedPicture(image, *place, o.scalarInterpolation);
    if (!smooth.isNull()) {
      p.drawImage(dest.topLeft(), smooth);
      drawn = true;
    }
  }
  if (!drawn) {
    const QRect source = ToQRect(place->source);
    if (source.size() == dest.size()) {
      p.drawImage(dest.topLeft(), picture, source);
    } else {
      p.setRenderHint(QPainter::SmoothPixmapTransform, false);
      p.drawImage(dest, picture, source);
    }
  }
  if (clipped) p.setClipping(false);

  if (!o.printing) {
    QColor border = FromColorRef(0x004000);
    if (o.border == CellBorder::Active) border = FromColorRef(0x0000FF);
    if (o.border == CellBorder::Selected) border = FromColorRef(0x93FFFF);
    p.setPen(QPen(border, 1));
    p.setBrush(Qt::NoBrush);
    const int rings = o.secondBorderStyle ? 1 : 2;
    for (int k = 0; k < rings; ++k) p.drawRect(cell.adjusted(k, k, -1 - k, -1 - k));
  }

  const QRect inner = cell.adjusted(inset, inset, -inset, -inset);
  if (s.showOverlays && std::min(inner.width(), inner.height()) > s.maxDispSize) {
    QFont font(QString::fromStdString(s.fontFace));
    const double ratio = o.printing ? o.printerRatio : 1.0;
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(std::abs(s.fontHeight) * ratio))));
    font.setWeight(s.fontWeight >= 600 ? QFont::Bold : QFont::Normal);
    font.setItalic(s.fontItalic);
    p.setFont(font);
    if (s.showAnnotation && !o.hidePatientTexts) DrawOverlayTexts(p, image, inner, s, o.printing);
    if (s.showRuler) DrawRuler(p, image, inner, ZoomInEffect(image) / 100.0, o.printing);
    if (s.showAnnotation) DrawWindowAndFrames(p, image, inner, s, o.printing);
  }

  if (o.drawAnnotations) {
    if (ImageAnnotations* annotations = image.Annotations(); annotations && !annotations->IsEmpty()) {
      p.save();
      p.setClipRect(dest, Qt::IntersectClip);
      annotations->Paint(p, place->ImageToCell(), o.printing);
      p.restore();
    }
  }
  ImageDisplayState& d = image.Display();
  if (d.scoutLinesOn && image.Transforms().empty() && !o.drawingLayerActive && d.scoutLines.Exists()) {
    ScoutDrawOptions so;
    so.regionMode = s.seqLineRegion;
    so.drawOneSeries = s.drawOneSeries;
    so.printing = o.printing;
    so.currentOnly = o.scoutCurrentOnly;
    so.printerRatio = o.printerRatio;
    so.imageCentreColumn = image.PaddedColumns() / 2;
    d.scoutLines.Draw(p, cell, *place, so);
  }
  if (o.extras) o.extras(p, *place);
  return true;
}

}  // namespace

ImageRect ProgramReferenceRect() {
  std::lock_guard lock(ReferenceMutex());
  return ProgramReference();
}

void SetProgramReferenceRect(const ImageRect& rect) {
  std::lock_guard lock(ReferenceMutex());
  ProgramReference() = rect;
}

int FitZoom(const DicomImage& image) {
  ImageRect reference = image.Display().referenceRect;
  if (reference.IsEmpty()) reference = ProgramReferenceRect();
  if (reference.IsEmpty()) reference = const_cast<DicomImage&>(image).CellRect();
  const int64_t w = reference.Width(), h = reference.Height();
  const int64_t c = image.PaddedColumns(), r = image.Rows();
  if (w <= 0 || h <= 0 || c <= 0 || r <= 0) return 100;
  const int64_t zoom = double(c) / double(r) > double(w) / double(h) ? w * 100 / c : h * 100 / r;
  return static_cast<int>(std::max<int64_t>(zoom, 1));
}

int ZoomInEffect(const DicomImage& image) {
  const int zoom = const_cast<DicomImage&>(image).Zoom();
  return zoom == 0 ? FitZoom(image) : zoom;
}

std::optional<CellPlacement> PlaceImage(const DicomImage& image, const ImageRect& cellIn, const std::string& aspect,
                                        int inset) {
  auto& im = const_cast<DicomImage&>(image);
  const ImageRect cell{cellIn.left + inset, cellIn.top + inset, cellIn.right - inset, cellIn.bottom - inset};
  if (cell.IsEmpty() || image.PaddedColumns() <= 0 || image.Rows() <= 0) return std::nullopt;
  const double sx = image.ColumnSpacing(), sy = image.RowSpacing();
  double horizontal = 1, vertical = 1;
  if (sx > 0 && sy > 0) {
    horizontal = sy / std::max(sx, sy);
    vertical = sx / std::max(sx, sy);
  }
  int a = 1, b = 1;
  ParseAspect(aspect, a, b);
  horizontal = horizontal * b / std::max(a, b);
  vertical = vertical * a / std::max(a, b);
  const double z = ZoomInEffect(image) / 100.0;
  if (z <= 0) return std::nullopt;
  const int hx = static_cast<int>(horizontal * cell.Width() / z / 2);
  const int hy = static_cast<int>(vertical * cell.Height() / z / 2);
  const int cx = im.PanX(), cy = im.PanY();
  ImageRect source{cx - hx, cy - hy, cx + hx, cy + hy};
  if (source.left & 1) source.left -= 1;
  if (source.top & 1) source.top -= 1;
  if (source.right & 1) source.right += 1;
  if (source.bottom & 1) source.bottom += 1;
  // Never beyond the frame, whatever the pan centre or a restored source
  // rectangle says.
  source = source.Intersected(im.SourceRect()).Intersected({0, 0, image.PaddedColumns(), image.Rows()});
  if (source.IsEmpty()) return std::nullopt;
  const int centreX = (cell.left + cell.right) / 2, centreY = (cell.top + cell.bottom) / 2;
  CellPlacement place;
  place.source = source;
  place.destination = {centreX + static_cast<int>((source.left - cx) * z / horizontal),
                       centreY + static_cast<int>((source.top - cy) * z / vertical),
                       centreX + static_cast<int>((source.right - cx) * z / horizontal),
                       centreY + static_cast<int>((source.bottom - cy) * z / vertical)};
  if (place.destination.IsEmpty()) return std::nullopt;
  return place;
}

int ZoomBy(DicomImage& image, int delta) {
  const int before = ZoomInEffect(image);
  const int after = ClampZoom(static_cast<int>(std::clamp<int64_t>(int64_t{before} + delta, -1000000, 1000000)));
  image.Zoom() = after;
  return after - before;
}

bool SetZoom(DicomImage& image, int zoom) {
  const int before = image.Zoom();
  image.Zoom() = zoom == 0 ? 0 : ClampZoom(zoom);
  image.Display().referenceRect = {};
  return image.Zoom() != before;
}

int PanBy(DicomImage& image, int dx, int dy, int* movedX, int* movedY) {
  const int x = image.PanX(), y = image.PanY();
  image.PanX() = static_cast<int>(std::clamp<int64_t>(int64_t{x} - dx, 0, image.PaddedColumns()));
  image.PanY() = static_cast<int>(std::clamp<int64_t>(int64_t{y} - dy, 0, image.Rows()));
  if (movedX) *movedX = x - image.PanX();
  if (movedY) *movedY = y - image.PanY();
  return std::abs(image.PanX() - x) + std::abs(image.PanY() - y);
}

bool SetPan(DicomImage& image, int x, int y) {
  const int nx = std::clamp(x, 0, image.PaddedColumns()), ny = std::clamp(y, 0, image.Rows());
  if (nx == image.PanX() && ny == image.PanY()) return false;
  image.PanX() = nx;
  image.PanY() = ny;
  return true;
}

RulerGeometry ComputeRuler(double sx, double sy, double z, int cellWidth, int cellHeight, bool printing) {
  RulerGeometry r;
  if (sx <= 0 || sy <= 0 || z <= 0 || cellHeight <= 0) return r;
  const double m = std::max(sx, sy);
  const double length = std::trunc(sy * cellHeight / 2 / (z * m / sx) / 10) * 10;
  if (!std::isfinite(length) || length <= 0 || length > 1e6) return r;
  r.lengthMm = static_cast<int>(length);
  r.pixels = z * m * r.lengthMm / sx / sy;
  r.tickCount = r.lengthMm / 5 + 1;
  r.tickSpacing = r.pixels / (r.lengthMm / 5.0);
  r.tickLength = cellWidth / 40;
  if (!printing) r.tickLength = std::min(r.tickLength, 8);
  return r;
}

bool PaintCell(DicomImage& image, QPainter& painter, const ImageRect& cell, const PaintCellOptions& o) {
  if (!image.Frame() || cell.IsEmpty()) return false;
  // A fixed zoom keeps the image's size relative to the cell when the cell is resized.
  const ImageRect old = image.CellRect();
  if (image.Zoom() != 0 && !old.IsEmpty() && old.Width() != cell.Width()) {
    image.Zoom() = ClampZoom(static_cast<int>(int64_t{image.Zoom()} * cell.Width() / old.Width()));
  }
  image.CellRect() = cell;
  {
    std::lock_guard lock(ReferenceMutex());
    if (ProgramReference().IsEmpty()) ProgramReference() = cell;
  }
  const DisplaySettings settings = CurrentDisplaySettings();
  const QRect area = ToQRect(cell);
  if (o.printing || !o.offscreen) {
    painter.save();
    const bool ok = PaintInto(image, painter, area, o, settings);
    painter.restore();
    return ok;
  }
  // One off-screen picture per thread, reused from cell to cell.
  thread_local QImage offscreen;
  if (offscreen.width() < area.width() || offscreen.height() < area.height()) {
    offscreen = QImage(std::max(offscreen.width(), area.width()), std::max(offscreen.height(), area.height()),
                       QImage::Format_RGB32);
  }
  if (offscreen.isNull()) {
    painter.save();
    const bool ok = PaintInto(image, painter, area, o, settings);
    painter.restore();
    return ok;
  }
  bool ok = false;
  {
    QPainter off(&offscreen);
    off.translate(-area.left(), -area.top());
    ok = PaintInto(image, off, area, o, settings);
  }
  painter.drawImage(area.topLeft(), offscreen, QRect(0, 0, area.width(), area.height()));
  return ok;
}

}  // namespace tolmar
