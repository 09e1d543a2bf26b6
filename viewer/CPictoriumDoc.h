#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "image/ImageFactory.h"
#include "image/ImageSettings.h"
#include "suite/RecordBlocks.h"
#include "viewer/DisplayCell.h"
#include "viewer/DocumentObserver.h"
#include "viewer/ImageLoader.h"
#include "viewer/LoaderEvents.h"
#include "viewer/UiThreadEvents.h"

namespace tolmar::suite {
class ProfileStore;
}

namespace tolmar::viewer {

enum class SelectionMode : int { Image = 1, Cell = 2, All = 3, Group = 4 };

struct PixelReadout {
  int row = 0;
  int column = 0;
  int value = -1000;
};

// The viewer's one document: the current study's information block, the
// display cells (owned, kept in image sort order), the files waiting for the
// loader, the selection mode and the SOP class table. Lives on the
// user-interface thread; loader threads reach it only through calls carried
// over to that thread, so the cell list never changes under a reader.
class CPictoriumDoc : public LoaderEvents {
 public:
  // `profile` (may be null) gives and keeps "SelectMode"; `programFolder` holds SOPCLASS.
  CPictoriumDoc(QString programFolder, suite::ProfileStore* profile);
  ~CPictoriumDoc() override;
  CPictoriumDoc(const CPictoriumDoc&) = delete;
  CPictoriumDoc& operator=(const CPictoriumDoc&) = delete;

  // Opening: a start file (".TMP" in the path), an image file or a folder.
  // False when a start file cannot be read or lists nothing.
  bool OpenDocument(const QString& path);
  bool NewDocument();
  // Appends the records of the program folder's SOPCLASS table.
  void LoadSopClassTable();
  const SopClassCategories& SopClasses() const { return m_sopClasses; }

  // Study information block.
  std::array<uint8_t, suite::kStudyRecordSize>& StudyBlock() { return m_studyBlock; }
  int32_t StudyKey() const;
  std::string RequestKey() const;
  const QString& FolderText() const { return m_folderText; }
  void SetFolderText(const QString& text) { m_folderText = text; }

  // Cells.
  int CellCount() const { return static_cast<int>(m_cells.size()); }
  DisplayCell& Cell(int index) { return *m_cells[static_cast<size_t>(index)]; }
  std::vector<std::unique_ptr<DisplayCell>>& Cells() { return m_cells; }
  int IndexOf(const DisplayCell* cell) const;
  int AppendCell(std::unique_ptr<DisplayCell> cell);
  void InsertCell(int index, std::unique_ptr<DisplayCell> cell);
  void RemoveCell(int index);
  void DeleteAllCells();
  // Ascending by the program's sort keys on each cell's first image.
  void SortCells();
  // Moves the cell at `index` back past every earlier cell that sorts after it.
  // Loaded cells arrive one by one at the end of an already sorted list, so this
  // keeps the list in sort order without sorting it whole for every cell.
  // Answers the cell's new index.
  int SortInto(int index);

  // Views and frame.
  void AddObserver(DocumentObserver* observer);
  void RemoveObserver(DocumentObserver* observer);
  void UpdateAllViews(UpdateHint hint, int cellIndex = -1);

  SelectionMode Mode() const { return m_mode; }
  void SetSelectionMode(SelectionMode mode);

  PixelReadout& Readout() { return m_readout; }

  // Loading. A batch joins the pending list and starts a loader over the whole
  // list at once: the loader's cells reach the cell list through the
  // user-interface thread's event loop, so starting before the window exists
  // lets the reading overlap the window's set-up.
  bool HandBatch(const QStringList& files);
  bool StartLoader();
  const QStringList& PendingFiles() const { return m_pending; }
  int LoadCounter() const { return m_loadCounter; }
  // Loads one file on this thread; the new cell's index or -1.
  int LoadFileNow(const QString& path);
  void SetImageSettings(const ImageSettings& settings) { m_imageSettings = settings; }
  const ImageSettings& ImageSettingsInUse() const { return m_imageSettings; }
  void SetPresentationStateHook(PresentationStateHook hook) { m_applyState = std::move(hook); }
  // Asks every loader to stop after its current file.
  void CancelLoaders();
  // Cancels and waits for every loader, then takes in what they handed over.
  void WaitForLoaders();
  bool LoaderRunning() const;
  // Whether a failed load command ends the viewer (exit code 1): only a viewer
  // started for that load and showing nothing; images already shown stay.
  bool LoadFailureEndsViewer(bool startedForLoad) const {
    return startedForLoad && CellCount() == 0 && !LoaderRunning();
  }

  // LoaderEvents, on the user-interface thread.
  void LoadStarted(int fileCount, CLoadImageThread* thread) override;
  void CellLoaded(std::unique_ptr<DisplayCell> cell) override;
  void PresentationStateLoaded(std::unique_ptr<DicomDataSet> state) override;
  void LoadStepped() override;
  void LoadFinished(CLoadImageThread* thread) override;

 private:
  void ReapFinishedLoaders();

  QString m_programFolder;
  suite::ProfileStore* m_profile;
  std::array<uint8_t, suite::kStudyRecordSize> m_studyBlock{};
  QString m_folderText;
  std::vector<std::unique_ptr<DisplayCell>> m_cells;
  QStringList m_pending;
  int m_loadCounter = 0;
  SelectionMode m_mode = SelectionMode::All;
  std::vector<SopClassEntry> m_sopEntries;
  SopClassCategories m_sopClasses;
  PixelReadout m_readout;
  std::vector<DocumentObserver*> m_observers;
  ImageSettings m_imageSettings;
  PresentationStateHook m_applyState;
  QObject m_uiContext;
  UiThreadEvents m_uiEvents{*this, m_uiContext};
  std::vector<std::unique_ptr<CLoadImageThread>> m_loaders;
};

// Reads a viewer start file, keeps its study block and deletes it once read
// completely. The entries are the image paths; false when the file cannot be
// opened, is not a start file or lists nothing.
bool ReadStartFile(const QString& path, QStringList& entries,
                   std::array<uint8_t, suite::kStudyRecordSize>& studyBlock);

}  // namespace tolmar::viewer
