#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>

#include "viewer/CPictoriumDoc.h"
#include "viewer/PictoriumViewModel.h"
#include "viewer/RecentFiles.h"

class QLabel;
class QProgressBar;
class QScrollBar;

namespace tolmar::suite {
class ProfileStore;
class StringTable;
}  // namespace tolmar::suite

namespace tolmar::viewer {

class PictoriumView;

// The viewer's main window: menus with the view's commands, the image area
// with its scroll bar (1001), and the status bar with the loader's progress,
// the cancel pane and the pixel readout (pane 102).
class MainFrame : public QMainWindow, public DocumentObserver {
  Q_OBJECT
 public:
  MainFrame(CPictoriumDoc& doc, const ViewSettings& settings, suite::ProfileStore* profile,
            const suite::StringTable& strings, QWidget* parent = nullptr);
  ~MainFrame() override;

  PictoriumViewModel& Model() { return *m_model; }
  PictoriumView& View() { return *m_view; }
  // Places the window from the saved rectangle cut to "ClipWnd"; false when the
  // default placement stands.
  bool RestorePlacement();
  // The load command through the Relayhouse server. `startedForLoad`: the
  // viewer was started for this load and ends (exit code 1) when it fails.
  void RequestLoad(const QString& folderText, const QString& kind, const QString& objectText);
  void SetStartedForLoad(bool on) { m_startedForLoad = on; }
  void OpenFiles();
  // Puts a tool window's show/hide switch into the display menu.
  void AddBarToggle(QAction* toggle);
  // Loads one image file into a new cell and remembers it; false when it gives no image.
  bool OpenFile(const QString& file);

  // DocumentObserver.
  void OnDocumentUpdate(UpdateHint hint, int cellIndex) override;
  void OnLoadStarted(int fileCount, CLoadImageThread* thread) override;
  void OnLoadStepped() override;
  void OnLoadFinished(CLoadImageThread* thread) override;

  bool eventFilter(QObject* watched, QEvent* event) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void UpdateScrollBar();
  void ShowContextMenu(const QPoint& globalPosition, bool onDrawingObject);
  // Menus of ViewCommandMenus.cpp: drawing shapes, window presets, filters and
  // palette, the edit commands and the display switches.
  void BuildDrawingMenu(QMenu* tools);
  void BuildWindowMenu();
  void BuildEditMenu();
  void BuildDisplayMenu();
  // The settings sheet (32968) or one of its single dialogs (32797, 32798).
  void OpenSettings(int command);
  void CutCurrentImage();
  void FillRecentFiles(QMenu* file, QAction* before);
  static constexpr int kFirstRecentFileCommand = 57616;
  void EditPalette();
  void EditScoutDisplayValues();
  void ToggleScoutWindow();
  void ToggleMagnifier();
  void RunLoadCommand();
  void ToggleFullScreen();
  void EndTimedRun();
  QAction* AddCommand(QMenu* menu, int id, std::function<void()> action);
  QAction* AddCommand(QMenu* menu, int id, const QString& text, std::function<void()> action);
  QString Text(int id) const;

  CPictoriumDoc& m_doc;
  suite::ProfileStore* m_profile;
  const suite::StringTable& m_strings;
  std::unique_ptr<PictoriumViewModel> m_model;
  PictoriumView* m_view = nullptr;
  QScrollBar* m_scrollBar = nullptr;
  QProgressBar* m_progress = nullptr;
  QLabel* m_cancelPane = nullptr;
  QLabel* m_readoutPane = nullptr;
  CLoadImageThread* m_progressThread = nullptr;
  QString m_loadFolder;
  QString m_loadKind;
  QString m_loadObject;
  bool m_startedForLoad = false;
  bool m_updatingScroll = false;
  QMenu* m_objectMenu = nullptr;
  QMenu* m_displayMenu = nullptr;
  class ScoutLineWindow* m_scoutWindow = nullptr;  // made on first use
  class MagnifierWindow* m_magnifier = nullptr;
  RecentFileList m_recent;  // the drawing objects' context menu
};

}  // namespace tolmar::viewer
