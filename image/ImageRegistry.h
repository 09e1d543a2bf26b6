#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace tolmar {

class DicomImage;

// The images currently loaded, for the scout-line loading rule. Images are
// built on a loader thread while the user-interface thread paints; every walk
// of the list and every change of it holds the registry's lock, and each line
// set has its own lock for painting. An image is registered once it is built
// and must be unregistered before it is destroyed.
class ImageRegistry {
 public:
  static ImageRegistry& Program();

  void Register(DicomImage* image);
  void Unregister(DicomImage* image);
  std::vector<DicomImage*> Images() const;

  // The loading step for a freshly read plane: a scout rebuilds its line set
  // with a line for every other registered image; any other image adds its
  // line to the set of every registered image that has one.
  void ImageLoaded(DicomImage& image, bool checkFrameUid);
  // Makes `image` a scout (override 1) and runs the loading step for it.
  void MakeScout(DicomImage& image, bool checkFrameUid);
  // Highlights `uid` on every scout.
  void MarkCurrent(const std::string& uid, bool force);

 private:
  void LoadedLocked(DicomImage& image, bool checkFrameUid);

  mutable std::mutex m_mutex;
  std::vector<DicomImage*> m_images;
};

}  // namespace tolmar
