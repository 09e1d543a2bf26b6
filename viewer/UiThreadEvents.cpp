#include "viewer/UiThreadEvents.h"

#include <QMetaObject>
#include <QThread>

#include "dicom/DicomDataSet.h"
#include "viewer/DisplayCell.h"

namespace tolmar::viewer {

template <class Call>
void UiThreadEvents::RunThere(Call call) {
  if (QThread::currentThread() == m_context.thread()) {
    call();
    return;
  }
  QMetaObject::invokeMethod(&m_context, call, Qt::BlockingQueuedConnection);
}

void UiThreadEvents::LoadStarted(int fileCount, CLoadImageThread* thread) {
  RunThere([&] { m_target.LoadStarted(fileCount, thread); });
}

void UiThreadEvents::CellLoaded(std::unique_ptr<DisplayCell> cell) {
  // The cell travels by pointer; when the call is dropped unhandled (the
  // context went away) it is still freed here.
  DisplayCell* raw = cell.get();
  bool taken = false;
  RunThere([&] {
    taken = true;
    m_target.CellLoaded(std::unique_ptr<DisplayCell>(raw));
  });
  if (taken) cell.release();
}

void UiThreadEvents::PresentationStateLoaded(std::unique_ptr<DicomDataSet> state) {
  RunThere([&] { m_target.PresentationStateLoaded(std::move(state)); });
}

void UiThreadEvents::LoadStepped() {
  RunThere([&] { m_target.LoadStepped(); });
}

void UiThreadEvents::LoadFinished(CLoadImageThread* thread) {
  RunThere([&] { m_target.LoadFinished(thread); });
}

}  // namespace tolmar::viewer
