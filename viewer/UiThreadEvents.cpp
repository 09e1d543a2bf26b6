#include "viewer/UiThreadEvents.h"

#include <QMetaObject>
#include <QThread>
#include <QTimer>

#include "dicom/DicomDataSet.h"
#include "viewer/DisplayCell.h"

namespace tolmar::viewer {
namespace {

// Long enough that a series arriving at disk speed repaints a handful of times,
// short enough that the status bar still counts visibly.
constexpr qint64 kBatchIntervalMs = 40;

}  // namespace

struct UiThreadEvents::Event {
  enum class Kind { Started, Cell, PresentationState, Stepped, Finished };
  Kind kind = Kind::Stepped;
  int fileCount = 0;
  CLoadImageThread* thread = nullptr;
  std::unique_ptr<DisplayCell> cell;
  std::unique_ptr<DicomDataSet> state;
};

UiThreadEvents::UiThreadEvents(LoaderEvents& target, QObject& context)
    : m_target(target), m_context(context) {}

UiThreadEvents::~UiThreadEvents() = default;

void UiThreadEvents::LoadStarted(int fileCount, CLoadImageThread* thread) {
  Post({Event::Kind::Started, fileCount, thread, nullptr, nullptr});
}

void UiThreadEvents::CellLoaded(std::unique_ptr<DisplayCell> cell) {
  // The loader never waits for the user-interface thread: at start-up it reads
  // while the window is still being built, and the cells wait in the inbox.
  Post({Event::Kind::Cell, 0, nullptr, std::move(cell), nullptr});
}

void UiThreadEvents::PresentationStateLoaded(std::unique_ptr<DicomDataSet> state) {
  Post({Event::Kind::PresentationState, 0, nullptr, nullptr, std::move(state)});
}

void UiThreadEvents::LoadStepped() { Post({Event::Kind::Stepped, 0, nullptr, nullptr, nullptr}); }

void UiThreadEvents::LoadFinished(CLoadImageThread* thread) {
  Post({Event::Kind::Finished, 0, thread, nullptr, nullptr});
}

void UiThreadEvents::Post(Event event) {
  const bool finish = event.kind == Event::Kind::Finished;
  bool postDrain = false;
  {
    std::lock_guard lock(m_mutex);
    m_inbox.push_back(std::move(event));
    m_finishWaiting = m_finishWaiting || finish;
    postDrain = !m_drainPosted;
    m_drainPosted = true;
  }
  if (QThread::currentThread() == m_context.thread()) {
    Drain();
    return;
  }
  if (postDrain) {
    QMetaObject::invokeMethod(
        &m_context, [this] { DrainWhenDue(); }, Qt::QueuedConnection);
  } else if (finish) {
    // A drain already waiting out its interval would hold back the end of the load.
    QMetaObject::invokeMethod(
        &m_context, [this] { Drain(); }, Qt::QueuedConnection);
  }
}

void UiThreadEvents::DrainWhenDue() {
  bool finishWaiting = false;
  {
    std::lock_guard lock(m_mutex);
    finishWaiting = m_finishWaiting;
  }
  const qint64 sinceCells = m_sinceCellsHanded.isValid() ? m_sinceCellsHanded.elapsed() : -1;
  if (!finishWaiting && sinceCells >= 0 && sinceCells < kBatchIntervalMs) {
    QTimer::singleShot(kBatchIntervalMs - sinceCells, &m_context, [this] { Drain(); });
    return;
  }
  Drain();
}

void UiThreadEvents::Drain() {
  if (m_draining) {
    // Reached from an event loop run inside a delivery: handing over now would
    // overtake the events of the batch still being delivered.
    m_drainMissed = true;
    return;
  }
  std::vector<Event> batch;
  {
    std::lock_guard lock(m_mutex);
    batch.swap(m_inbox);
    m_drainPosted = false;
    m_finishWaiting = false;
  }
  m_draining = true;
  bool cellsSinceFinish = false;
  bool finished = false;
  for (auto& event : batch) {
    if (event.kind == Event::Kind::Cell) cellsSinceFinish = true;
    if (event.kind == Event::Kind::Finished) {
      finished = true;
      cellsSinceFinish = false;
    }
    Deliver(event);
  }
  m_draining = false;
  if (cellsSinceFinish) {
    m_sinceCellsHanded.start();
  } else if (finished) {
    // The first cell of the next load is shown without waiting.
    m_sinceCellsHanded.invalidate();
  }
  if (m_drainMissed) {
    m_drainMissed = false;
    QMetaObject::invokeMethod(
        &m_context, [this] { DrainWhenDue(); }, Qt::QueuedConnection);
  }
}

void UiThreadEvents::Deliver(Event& event) {
  switch (event.kind) {
    case Event::Kind::Started:
      m_target.LoadStarted(event.fileCount, event.thread);
      break;
    case Event::Kind::Cell:
      m_target.CellLoaded(std::move(event.cell));
      break;
    case Event::Kind::PresentationState:
      m_target.PresentationStateLoaded(std::move(event.state));
      break;
    case Event::Kind::Stepped:
      m_target.LoadStepped();
      break;
    case Event::Kind::Finished:
      m_target.LoadFinished(event.thread);
      break;
  }
}

}  // namespace tolmar::viewer
