#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "image/ImageFactory.h"
#include "image/ImageSettings.h"
#include "viewer/ImageLoader.h"
#include "viewer/LoaderEvents.h"

namespace tolmar::viewer {

// One background loader over its own copy of a file list. Each readable image
// becomes a display cell handed to the events; the cancel flag is read before
// every file, so a file being read when it is set is still finished, and every
// cell handed over before it stays handed over.
class CLoadImageThread {
 public:
  CLoadImageThread(std::vector<std::string> files, LoaderEvents& events,
                   SopClassCategories categories, ImageSettings settings);
  // Cancels and waits for the file being read.
  ~CLoadImageThread();
  CLoadImageThread(const CLoadImageThread&) = delete;
  CLoadImageThread& operator=(const CLoadImageThread&) = delete;

  bool Start();
  void Cancel() { m_cancel = true; }
  bool CancelRequested() const { return m_cancel; }
  bool IsFinished() const { return m_finished; }
  // Whether the user-interface thread has been told of the end; set there.
  bool FinishDelivered() const { return m_finishDelivered; }
  void MarkFinishDelivered() { m_finishDelivered = true; }
  void Join();

 private:
  void Run();

  std::vector<std::string> m_files;
  LoaderEvents& m_events;
  SopClassCategories m_categories;
  ImageSettings m_settings;
  std::atomic<bool> m_cancel{false};
  std::atomic<bool> m_finished{false};
  bool m_finishDelivered = false;
  std::thread m_thread;
};

}  // namespace tolmar::viewer
