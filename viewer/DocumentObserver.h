#pragma once

namespace tolmar::viewer {

class CLoadImageThread;

// Update hints the document sends to its views.
enum class UpdateHint : int {
  None = 0,
  Refresh = 1,        // scroll bar and repaint
  MakeCurrent = 2,    // the cell of the index becomes current and comes into view
  SelectionMode = 3,  // re-apply the selection mode
  Reinitialise = 6,   // sort, first cell current, select all in mode 3
  CellLoaded = 7,     // a loaded cell arrived at the index
  ResetFirstShown = 8,
};

// Views and the main frame watch the document through this.
class DocumentObserver {
 public:
  virtual ~DocumentObserver() = default;
  virtual void OnDocumentUpdate(UpdateHint /*hint*/, int /*cellIndex*/) {}
  // Progress of a loader thread (status bar).
  virtual void OnLoadStarted(int /*fileCount*/, CLoadImageThread* /*thread*/) {}
  virtual void OnLoadStepped() {}
  virtual void OnLoadFinished(CLoadImageThread* /*thread*/) {}
};

}  // namespace tolmar::viewer
