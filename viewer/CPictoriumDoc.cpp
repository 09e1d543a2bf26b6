#include "viewer/CPictoriumDoc.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

#include "dicom/DicomDataSet.h"
#include "dicom/SopClassTable.h"
#include "image/ImageSortKeys.h"
#include "suite/Gb18030.h"
#include "suite/ItemText.h"
#include "suite/ProfileStore.h"
#include "suite/ViewerStartFile.h"
#include "viewer/CLoadImageThread.h"

namespace tolmar::viewer {
namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kSelectMode = QStringLiteral("SelectMode");
constexpr size_t kStudyKeyOffset = 296;
constexpr size_t kRequestKeyOffset = 365;

std::vector<std::string> ToStdStrings(const QStringList& list) {
  std::vector<std::string> out;
  out.reserve(static_cast<size_t>(list.size()));
  for (const auto& text : list) out.push_back(QFile::encodeName(text).toStdString());
  return out;
}

}  // namespace

bool ReadStartFile(const QString& path, QStringList& entries,
                   std::array<uint8_t, suite::kStudyRecordSize>& studyBlock) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  file.close();
  suite::ViewerStartFile startFile;
  const auto error =
      suite::ViewerStartFile::Decode(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                               static_cast<size_t>(bytes.size())),
                                     startFile);
  if (error != suite::StartFileError::None) return false;
  // Read completely: the file is ours to remove.
  QFile::remove(path);
  entries = suite::SplitItems(suite::FromGb18030(QByteArray::fromStdString(startFile.entryList)));
  std::copy_n(startFile.studyBlock.begin(), studyBlock.size(), studyBlock.begin());
  return !entries.isEmpty();
}

CPictoriumDoc::CPictoriumDoc(QString programFolder, suite::ProfileStore* profile)
    : m_programFolder(std::move(programFolder)), m_profile(profile) {
  if (m_profile) {
    const int mode = m_profile->GetProfileInt(kSettings, kSelectMode, 3);
    if (mode >= 1 && mode <= 4) m_mode = static_cast<SelectionMode>(mode);
  }
}

CPictoriumDoc::~CPictoriumDoc() {
  if (m_profile) m_profile->WriteProfileInt(kSettings, kSelectMode, static_cast<int>(m_mode));
  // Loaders hand their last cells over before the list goes away.
  WaitForLoaders();
  DeleteAllCells();
}

bool CPictoriumDoc::OpenDocument(const QString& path) {
  QStringList entries;
  if (path.toUpper().contains(QStringLiteral(".TMP"))) {
    if (!ReadStartFile(path, entries, m_studyBlock)) return false;
  } else {
    entries << path;
  }
  LoadSopClassTable();
  HandBatch(entries);
  const QFileInfo folder(path);
  if (folder.isDir()) {
    QDir dir(path);
    const auto files = dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const auto& info : files) LoadFileNow(info.absoluteFilePath());
  }
  return true;
}

bool CPictoriumDoc::NewDocument() {
  LoadSopClassTable();
  return true;
}

void CPictoriumDoc::LoadSopClassTable() {
  const auto entries =
      ReadSopClassTable(QFile::encodeName(m_programFolder).toStdString() + "SOPCLASS");
  m_sopEntries.insert(m_sopEntries.end(), entries.begin(), entries.end());
  m_sopClasses = SopClassCategories(m_sopEntries);
}

int32_t CPictoriumDoc::StudyKey() const {
  int32_t key = 0;
  std::memcpy(&key, m_studyBlock.data() + kStudyKeyOffset, sizeof key);  // little-endian host
  return key;
}

std::string CPictoriumDoc::RequestKey() const {
  const auto* start = reinterpret_cast<const char*>(m_studyBlock.data() + kRequestKeyOffset);
  const size_t limit = m_studyBlock.size() - kRequestKeyOffset;
  return std::string(start, strnlen(start, limit));
}

int CPictoriumDoc::IndexOf(const DisplayCell* cell) const {
  for (size_t i = 0; i < m_cells.size(); ++i) {
    if (m_cells[i].get() == cell) return static_cast<int>(i);
  }
  return -1;
}

int CPictoriumDoc::AppendCell(std::unique_ptr<DisplayCell> cell) {
  m_cells.push_back(std::move(cell));
  return CellCount() - 1;
}

void CPictoriumDoc::InsertCell(int index, std::unique_ptr<DisplayCell> cell) {
  index = std::clamp(index, 0, CellCount());
  m_cells.insert(m_cells.begin() + index, std::move(cell));
}

void CPictoriumDoc::RemoveCell(int index) {
  if (index < 0 || index >= CellCount()) return;
  m_cells.erase(m_cells.begin() + index);
}

void CPictoriumDoc::DeleteAllCells() {
  // In list order, as the cells were made.
  for (auto& cell : m_cells) cell.reset();
  m_cells.clear();
}

void CPictoriumDoc::SortCells() {
  const SortKeyList& keys = ProgramSortKeys();
  SortBySortKeys(m_cells, [&keys](const std::unique_ptr<DisplayCell>& a,
                                  const std::unique_ptr<DisplayCell>& b) {
    if (a->ImageCount() == 0 || b->ImageCount() == 0) return 1;
    return CompareSortRecords(a->Image(0).Sort(), b->Image(0).Sort(), keys);
  });
}

int CPictoriumDoc::SortInto(int index) {
  if (index < 0 || index >= CellCount() || m_cells[static_cast<size_t>(index)]->ImageCount() == 0)
    return index;
  const SortKeyList& keys = ProgramSortKeys();
  const SortRecord& record = m_cells[static_cast<size_t>(index)]->Image(0).Sort();
  int target = index;
  while (target > 0) {
    const DisplayCell& before = *m_cells[static_cast<size_t>(target - 1)];
    if (before.ImageCount() == 0 || CompareSortRecords(before.Image(0).Sort(), record, keys) <= 0)
      break;
    --target;
  }
  if (target != index) {
    auto cell = std::move(m_cells[static_cast<size_t>(index)]);
    m_cells.erase(m_cells.begin() + index);
    m_cells.insert(m_cells.begin() + target, std::move(cell));
  }
  return target;
}

void CPictoriumDoc::AddObserver(DocumentObserver* observer) {
  if (observer &&
      std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end()) {
    m_observers.push_back(observer);
  }
}

void CPictoriumDoc::RemoveObserver(DocumentObserver* observer) {
  std::erase(m_observers, observer);
}

void CPictoriumDoc::UpdateAllViews(UpdateHint hint, int cellIndex) {
  const auto observers = m_observers;
  for (auto* observer : observers) observer->OnDocumentUpdate(hint, cellIndex);
}

void CPictoriumDoc::SetSelectionMode(SelectionMode mode) {
  m_mode = mode;
  UpdateAllViews(UpdateHint::SelectionMode);
}

bool CPictoriumDoc::HandBatch(const QStringList& files) {
  m_pending += files;
  m_loadCounter = 0;
  StartLoader();
  return true;
}

bool CPictoriumDoc::StartLoader() {
  ReapFinishedLoaders();
  auto loader = std::make_unique<CLoadImageThread>(ToStdStrings(m_pending), m_uiEvents,
                                                   m_sopClasses, m_imageSettings);
  // The loader has its own copy; a later batch must not load these files again.
  m_pending.clear();
  if (!loader->Start()) return false;
  m_loaders.push_back(std::move(loader));
  return true;
}

int CPictoriumDoc::LoadFileNow(const QString& path) {
  LoadedFile loaded =
      LoadImageFile(QFile::encodeName(path).toStdString(), m_sopClasses, m_imageSettings);
  if (loaded.presentationState) PresentationStateLoaded(std::move(loaded.presentationState));
  if (!loaded.image) return -1;
  return AppendCell(std::make_unique<DisplayCell>(std::move(loaded.image)));
}

void CPictoriumDoc::CancelLoaders() {
  for (auto& loader : m_loaders) loader->Cancel();
}

void CPictoriumDoc::WaitForLoaders() {
  CancelLoaders();
  // A loader waits for this thread only until its first cell has been taken,
  // which this first hand-over does; then it can be joined outright, and what
  // it handed over meanwhile is delivered after, so loaded cells are kept.
  m_uiEvents.Drain();
  for (auto& loader : m_loaders) loader->Join();
  m_uiEvents.Drain();
  m_loaders.clear();
}

bool CPictoriumDoc::LoaderRunning() const {
  // Running until its end has been delivered here: its last cells may still be
  // on their way after the thread itself has stopped.
  return std::any_of(m_loaders.begin(), m_loaders.end(),
                     [](const auto& l) { return !l->FinishDelivered(); });
}

void CPictoriumDoc::ReapFinishedLoaders() {
  // Observers hold the loader until they have been told it finished.
  std::erase_if(m_loaders, [](const auto& loader) { return loader->FinishDelivered(); });
}

void CPictoriumDoc::LoadStarted(int fileCount, CLoadImageThread* thread) {
  const auto observers = m_observers;
  for (auto* observer : observers) observer->OnLoadStarted(fileCount, thread);
}

void CPictoriumDoc::CellLoaded(std::unique_ptr<DisplayCell> cell) {
  // A loader started before "Full16Bit" changed built its images the old way;
  // like every other loaded image they take the new value at their next reset.
  for (int i = 0; cell && i < cell->ImageCount(); ++i) {
    DicomImage& image = cell->Image(i);
    if (image.Settings().full16Bit != m_imageSettings.full16Bit)
      image.SetSettingsForRebuild(m_imageSettings);
  }
  const int index = AppendCell(std::move(cell));
  ++m_loadCounter;
  UpdateAllViews(UpdateHint::CellLoaded, index);
}

void CPictoriumDoc::PresentationStateLoaded(std::unique_ptr<DicomDataSet> state) {
  if (m_applyState && state) m_applyState(*state);
}

void CPictoriumDoc::LoadStepped() {
  const auto observers = m_observers;
  for (auto* observer : observers) observer->OnLoadStepped();
}

void CPictoriumDoc::LoadFinished(CLoadImageThread* thread) {
  const auto observers = m_observers;
  for (auto* observer : observers) observer->OnLoadFinished(thread);
  for (auto& loader : m_loaders) {
    if (loader.get() == thread) loader->MarkFinishDelivered();
  }
}

}  // namespace tolmar::viewer
