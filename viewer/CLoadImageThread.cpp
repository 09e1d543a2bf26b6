#include "viewer/CLoadImageThread.h"

#include "dicom/DicomDataSet.h"
#include "viewer/DisplayCell.h"

namespace tolmar::viewer {

CLoadImageThread::CLoadImageThread(std::vector<std::string> files, LoaderEvents& events,
                                   SopClassCategories categories, ImageSettings settings)
    : m_files(std::move(files)),
      m_events(events),
      m_categories(std::move(categories)),
      m_settings(settings) {}

CLoadImageThread::~CLoadImageThread() {
  Cancel();
  Join();
}

bool CLoadImageThread::Start() {
  if (m_thread.joinable()) return false;
  try {
    m_thread = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    m_finished = true;
    return false;
  }
  return true;
}

void CLoadImageThread::Join() {
  if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}

void CLoadImageThread::Run() {
  m_cancel = false;
  m_events.LoadStarted(static_cast<int>(m_files.size()), this);
  for (const auto& path : m_files) {
    if (m_cancel) break;
    LoadedFile loaded = LoadImageFile(path, m_categories, m_settings);
    if (loaded.presentationState)
      m_events.PresentationStateLoaded(std::move(loaded.presentationState));
    if (loaded.image) m_events.CellLoaded(std::make_unique<DisplayCell>(std::move(loaded.image)));
    m_events.LoadStepped();
  }
  m_events.LoadFinished(this);
  m_finished = true;
}

}  // namespace tolmar::viewer
