#include "ImageRegistry.h"

#include <algorithm>

#include "DicomImage.h"

namespace tolmar {

ImageRegistry& ImageRegistry::Program() {
  static ImageRegistry registry;
  return registry;
}

void ImageRegistry::Register(DicomImage* image) {
  std::lock_guard lock(m_mutex);
  if (image && std::find(m_images.begin(), m_images.end(), image) == m_images.end()) m_images.push_back(image);
}

void ImageRegistry::Unregister(DicomImage* image) {
  std::lock_guard lock(m_mutex);
  m_images.erase(std::remove(m_images.begin(), m_images.end(), image), m_images.end());
}

std::vector<DicomImage*> ImageRegistry::Images() const {
  std::lock_guard lock(m_mutex);
  return m_images;
}

void ImageRegistry::ImageLoaded(DicomImage& image, bool checkFrameUid) {
  std::lock_guard lock(m_mutex);
  LoadedLocked(image, checkFrameUid);
}

void ImageRegistry::LoadedLocked(DicomImage& image, bool checkFrameUid) {
  const ScoutPlane& plane = image.Display().plane;
  if (plane.IsScout()) {
    ScoutLineSet& set = image.Display().scoutLines;
    set.Reset(true);
    for (DicomImage* other : m_images) {
      if (other != &image) set.AddLine(plane, other->Display().plane, checkFrameUid);
    }
    return;
  }
  for (DicomImage* other : m_images) {
    if (other != &image && other->Display().scoutLines.Exists()) {
      other->Display().scoutLines.AddLine(other->Display().plane, plane, checkFrameUid);
    }
  }
}

void ImageRegistry::MakeScout(DicomImage& image, bool checkFrameUid) {
  std::lock_guard lock(m_mutex);
  // Planes are read by the loader thread under this lock, so the override
  // changes under it too.
  image.Display().plane.scoutOverride = 1;
  LoadedLocked(image, checkFrameUid);
}

void ImageRegistry::MarkCurrent(const std::string& uid, bool force) {
  std::lock_guard lock(m_mutex);
  for (DicomImage* image : m_images) {
    if (image->Display().scoutLines.Exists()) image->Display().scoutLines.MarkCurrent(uid, force);
  }
}

}  // namespace tolmar
