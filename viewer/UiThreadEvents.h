#pragma once

#include <QObject>

#include "viewer/LoaderEvents.h"

namespace tolmar::viewer {

// Carries a loader's events over to the thread of `context` (the user-interface
// thread) and blocks the loader until each is handled there, so the cell list is
// only ever touched by that thread and cells and notifications keep their order.
class UiThreadEvents : public LoaderEvents {
 public:
  UiThreadEvents(LoaderEvents& target, QObject& context) : m_target(target), m_context(context) {}

  void LoadStarted(int fileCount, CLoadImageThread* thread) override;
  void CellLoaded(std::unique_ptr<DisplayCell> cell) override;
  void PresentationStateLoaded(std::unique_ptr<DicomDataSet> state) override;
  void LoadStepped() override;
  void LoadFinished(CLoadImageThread* thread) override;

 private:
  template <class Call>
  void RunThere(Call call);

  LoaderEvents& m_target;
  QObject& m_context;
};

}  // namespace tolmar::viewer
