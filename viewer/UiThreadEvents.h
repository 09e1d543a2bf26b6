#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <memory>
#include <mutex>
#include <vector>

#include "viewer/LoaderEvents.h"

namespace tolmar::viewer {

// Carries a loader's events over to the thread of `context` (the user-interface
// thread). Events go into an inbox, and one queued call at a time hands
// everything gathered so far to the target, in arrival order, so the cell list
// is only ever touched by that thread and cells and notifications keep their
// order. Once a cell has been handed over, the next hand-over waits out a short
// interval, so the views repaint once per batch instead of once per cell; the
// end of a load is handed over at once. The loader waits only once per load:
// after its first cell, until that cell has been handed over (150 ms at most),
// so the first image is painted before the loader takes the cores. Events still
// in the inbox when this object goes are freed with it.
class UiThreadEvents : public LoaderEvents {
 public:
  UiThreadEvents(LoaderEvents& target, QObject& context);
  ~UiThreadEvents() override;
  UiThreadEvents(const UiThreadEvents&) = delete;
  UiThreadEvents& operator=(const UiThreadEvents&) = delete;

  void LoadStarted(int fileCount, CLoadImageThread* thread) override;
  void CellLoaded(std::unique_ptr<DisplayCell> cell) override;
  void PresentationStateLoaded(std::unique_ptr<DicomDataSet> state) override;
  void LoadStepped() override;
  void LoadFinished(CLoadImageThread* thread) override;

  // Hands every waiting event to the target now; only on the context's thread.
  // A call made while a hand-over is under way leaves the rest to that one.
  void Drain();

 private:
  struct Event;

  void Post(Event event);
  void DrainWhenDue();
  void Deliver(Event& event);

  LoaderEvents& m_target;
  QObject& m_context;
  std::mutex m_mutex;
  std::vector<Event> m_inbox;    // guarded by m_mutex
  bool m_drainPosted = false;    // guarded by m_mutex
  bool m_finishWaiting = false;  // guarded by m_mutex
  bool m_draining = false;
  bool m_drainMissed = false;
  QElapsedTimer m_sinceCellsHanded;
};

}  // namespace tolmar::viewer
