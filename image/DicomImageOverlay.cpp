// Overlay texts, orientation labels, series label, comment and scout plane of
// a freshly built image.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "DicomImage.h"
#include "DisplaySettings.h"
#include "ImageComment.h"
#include "OrientationLabels.h"
#include "OverlayText.h"
#include "dicom/DicomDataSet.h"

namespace tolmar {

namespace {

std::atomic<ImageCommentHandler> g_commentHandler{nullptr};

// Images of one category may be built on the loader thread while another
// category's first image reads the table.
std::mutex& OverlayMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

void SetImageCommentHandler(ImageCommentHandler handler) { g_commentHandler = handler; }
ImageCommentHandler GetImageCommentHandler() { return g_commentHandler; }

bool ParseImageComment(const std::string& comment, int& x, int& y, std::string& text) {
  const size_t open = comment.find('(');
  if (open == std::string::npos) return false;
  const char* p = comment.c_str() + open + 1;
  char* end = nullptr;
  const long px = std::strtol(p, &end, 10);
  if (end == p || *end != ',') return false;
  p = end + 1;
  const long py = std::strtol(p, &end, 10);
  if (end == p || *end != ')') return false;
  x = static_cast<int>(px);
  y = static_cast<int>(py);
  text = end + 1;
  return true;
}

void DicomImage::BuildOverlayItems(const DicomDataSet& ds, const DisplaySettings& settings) {
  std::vector<ImageInfoItem> items;
  {
    std::lock_guard lock(OverlayMutex());
    CategoryOverlay& overlay = Overlay();
    if (!overlay.loaded) {
      // Without the table no overlay texts, labels or series label are built.
      if (!ReadImageInfoItems(settings.programFolder + "IMGINFO", m_category, overlay.items)) return;
      overlay.loaded = true;
    }
    items = overlay.items;
  }
  m_display.overlayTexts.clear();
  m_display.overlayItems = items;
  for (const ImageInfoItem& item : items) {
    m_display.overlayTexts.push_back(FormatOverlayItem(item, ds, settings.patientField));
  }
  m_display.orientation = ReadOrientationLabels(ds);
  char label[32];
  std::snprintf(label, sizeof label, "%d-%d", m_geometry.seriesNumber, m_geometry.instanceNumber);
  m_display.seriesLabel = label;
  m_display.overlayBuilt = true;
}

void DicomImage::BuildDisplayTexts(const DicomDataSet& ds) {
  const DisplaySettings settings = CurrentDisplaySettings();
  m_display.plane.Read(ds, m_columnSpacing, m_rowSpacing, m_paddedColumns, m_rows, settings.checkFrameUid);
  m_display.scoutLinesOn = settings.seqLines;

  BuildOverlayItems(ds, settings);

  int x = 0, y = 0;
  std::string text;
  if (const ImageCommentHandler handler = g_commentHandler;
      handler && ParseImageComment(ds.GetText(0x0020, 0x4000), x, y, text)) {
    handler(*this, x, y, text);
  }
}

}  // namespace tolmar
