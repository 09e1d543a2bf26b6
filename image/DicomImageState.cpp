// The image state record: the display state of one image, handed with the
// image's file path to the film program and read back there.
#include <limits>

#include "ByteWriter.h"
#include "DicomImage.h"
#include "DisplaySettings.h"

namespace tolmar {

namespace {
constexpr int32_t kScoutRecordType = 4;
constexpr int32_t kAnnotationRecordType = 3;

void WriteRect(ByteWriter& w, const ImageRect& r) {
  w.I32(r.left);
  w.I32(r.right);
  w.I32(r.top);
  w.I32(r.bottom);
}

void ReadRect(ByteReader& r, ImageRect& rect) {
  r.I32(rect.left);
  r.I32(rect.right);
  r.I32(rect.top);
  r.I32(rect.bottom);
}
}  // namespace

void DicomImage::WriteStateRecord(ByteWriter& w) const {
  const size_t start = w.Size();
  w.I32(ClassCode());
  const size_t lengthAt = w.Size();
  w.U32(0);
  w.I32(m_panX);
  w.I32(m_panY);
  w.I32(m_invert ? 1 : 0);
  w.I32(m_zoom);
  WriteRect(w, m_cellRect);
  WriteRect(w, m_sourceRect);
  w.U32(static_cast<uint32_t>(m_transforms.size()));
  for (const int32_t code : m_transforms) w.I32(code);
  // The film program gets the scout lines only where the viewer shows them:
  // an untransformed image with its lines on and overlays shown.
  const DisplaySettings settings = CurrentDisplaySettings();
  ByteWriter scout;
  if (m_display.scoutLines.Exists() && m_transforms.empty() && m_display.scoutLinesOn && settings.showOverlays) {
    m_display.scoutLines.WriteCopyRecord(scout, settings.seqLineRegion, settings.drawOneSeries);
  }
  w.I32(kScoutRecordType);
  w.U32(static_cast<uint32_t>(scout.Size()));
  w.Bytes(scout.Data());
  const std::vector<uint8_t> annotations =
      m_annotations ? m_annotations->SaveRecords() : m_annotationRecords;
  w.I32(kAnnotationRecordType);
  w.U32(static_cast<uint32_t>(annotations.size()));
  w.Bytes(annotations);
  WriteWindowState(w);
  w.PatchU32(lengthAt, static_cast<uint32_t>(w.Size() - start - 8));
}

size_t DicomImage::ReadStateRecord(std::span<const uint8_t> record) {
  ByteReader header(record);
  int32_t classCode = 0;
  uint32_t length = 0;
  if (!header.I32(classCode) || classCode != ClassCode() || !header.U32(length)) return 0;
  if (length > header.Remaining()) return 0;
  // Everything after the length field is read within the length it declares.
  ByteReader r(record.subspan(8, length));
  int32_t panX = 0, panY = 0, invert = 0, zoom = 0;
  ImageRect cell, source;
  uint32_t transformCount = 0;
  r.I32(panX);
  r.I32(panY);
  r.I32(invert);
  r.I32(zoom);
  ReadRect(r, cell);
  ReadRect(r, source);
  r.U32(transformCount);
  if (r.Failed() || transformCount > r.Remaining() / 4) return 0;
  std::vector<int32_t> transforms(transformCount);
  for (auto& code : transforms) r.I32(code);
  int32_t type = 0;
  uint32_t size = 0;
  r.I32(type);
  r.U32(size);
  const auto scout = r.Take(size);
  if (r.Failed() || type != kScoutRecordType) return 0;
  r.I32(type);
  r.U32(size);
  const auto annotations = r.Take(size);
  if (r.Failed() || type != kAnnotationRecordType || r.Remaining() < WindowStateSize()) return 0;

  m_panX = panX;
  m_panY = panY;
  m_invert = invert != 0;
  m_zoom = zoom;
  m_cellRect = cell;
  m_transforms.clear();
  for (const int32_t code : transforms) ApplyTransform(code);
  // Transforms move the source rectangle with the pixels; the record holds it
  // as it was after the transforms.
  m_sourceRect = source;
  m_panX = panX;
  m_panY = panY;
  if (!scout.empty()) {
    bool region = CurrentDisplaySettings().seqLineRegion;
    if (m_display.scoutLines.ReadCopyRecord(scout, region)) SetScoutRegionMode(region);
  }
  if (ImageAnnotations* list = Annotations()) {
    list->ReplaceFromRecords(annotations);
    m_annotationRecords.clear();
  } else {
    m_annotationRecords.assign(annotations.begin(), annotations.end());
  }
  if (!ReadWindowState(r)) return 0;
  InvalidateBitmap();
  return 8 + r.Position();
}

}  // namespace tolmar
