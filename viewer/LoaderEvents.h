#pragma once

#include <memory>

namespace tolmar {
class DicomDataSet;
}

namespace tolmar::viewer {

class CLoadImageThread;
class DisplayCell;

// What a loader thread tells the user interface, in this order: Started once,
// then per file CellLoaded (only when the file gave an image) or
// PresentationStateLoaded, and LoadStepped,
// then Finished. The calls may return before they are handled (see
// UiThreadEvents); the order is kept all the same.
class LoaderEvents {
 public:
  virtual ~LoaderEvents() = default;
  virtual void LoadStarted(int fileCount, CLoadImageThread* thread) = 0;
  virtual void CellLoaded(std::unique_ptr<DisplayCell> cell) = 0;
  virtual void PresentationStateLoaded(std::unique_ptr<DicomDataSet> state) = 0;
  virtual void LoadStepped() = 0;
  virtual void LoadFinished(CLoadImageThread* thread) = 0;
};

}  // namespace tolmar::viewer
