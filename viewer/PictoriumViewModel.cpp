#include "viewer/PictoriumViewModel.h"

#include <algorithm>

#include "image/FilterRecord.h"
#include "image/DisplaySettings.h"
#include "image/ImageRegistry.h"
#include "image/ImageSortKeys.h"
#include "suite/ProfileStore.h"
#include "viewer/CellPaint.h"

namespace tolmar::viewer {
namespace {

const QString kSettings = QStringLiteral("Settings");

void ZeroTogether(int& rows, int& columns) {
  if (rows <= 0 || columns <= 0) rows = columns = 0;
}

}  // namespace

ViewSettings ViewSettings::Read(const suite::ProfileStore& profile) {
  ViewSettings s;
  s.rows = profile.GetProfileInt(kSettings, QStringLiteral("Rows"), 2);
  s.columns = profile.GetProfileInt(kSettings, QStringLiteral("Columns"), 2);
  s.boxRows = profile.GetProfileInt(kSettings, QStringLiteral("Box Rows"), 2);
  s.boxColumns = profile.GetProfileInt(kSettings, QStringLiteral("Box Columns"), 2);
  s.middleButtonWindow = profile.GetProfileInt(kSettings, QStringLiteral("MBtnWindow"), 0) != 0;
  s.mouseMultiplier = profile.GetProfileInt(kSettings, QStringLiteral("MouseMulti"), 3);
  s.doubleClickFunction = profile.GetProfileInt(kSettings, QStringLiteral("LBtnDbClkFun"), 3);
  return s;
}

void ViewSettings::WriteLayout(suite::ProfileStore& profile) const {
  profile.WriteProfileInt(kSettings, QStringLiteral("Rows"), rows);
  profile.WriteProfileInt(kSettings, QStringLiteral("Columns"), columns);
  profile.WriteProfileInt(kSettings, QStringLiteral("Box Rows"), boxRows);
  profile.WriteProfileInt(kSettings, QStringLiteral("Box Columns"), boxColumns);
}

PictoriumViewModel::PictoriumViewModel(CPictoriumDoc& document, const ViewSettings& settings)
    : m_doc(document),
      m_rows(settings.rows),
      m_columns(settings.columns),
      m_boxRows(settings.boxRows),
      m_boxColumns(settings.boxColumns),
      m_middleButtonWindow(settings.middleButtonWindow),
      m_mouseMultiplier(settings.mouseMultiplier),
      m_doubleClickFunction(settings.doubleClickFunction) {
  ZeroTogether(m_rows, m_columns);
  ZeroTogether(m_boxRows, m_boxColumns);
  if (!IsShowAll()) {
    m_savedRows = m_rows;
    m_savedColumns = m_columns;
  }
  m_doc.AddObserver(this);
}

PictoriumViewModel::~PictoriumViewModel() { m_doc.RemoveObserver(this); }

void PictoriumViewModel::SetMouseSettings(const ViewSettings& settings) {
  m_middleButtonWindow = settings.middleButtonWindow;
  m_mouseMultiplier = settings.mouseMultiplier;
  m_doubleClickFunction = settings.doubleClickFunction;
}

ViewSettings PictoriumViewModel::CurrentSettings() const {
  ViewSettings s;
  s.rows = m_rows;
  s.columns = m_columns;
  s.boxRows = m_boxRows;
  s.boxColumns = m_boxColumns;
  s.middleButtonWindow = m_middleButtonWindow;
  s.mouseMultiplier = m_mouseMultiplier;
  s.doubleClickFunction = m_doubleClickFunction;
  return s;
}

void PictoriumViewModel::Changed() {
  CurrentImageMayHaveChanged();
  if (m_changed) m_changed();
}

void PictoriumViewModel::CurrentImageMayHaveChanged() {
  DicomImage* image = CurrentImage();
  if (image == m_lastCurrentImage) return;
  m_lastCurrentImage = image;
  if (image) {
    m_presets.LoadFor(QString::fromStdString(image->Modality()), m_presetTable);
    // Scouts highlight the line of the image the user is looking at.
    ImageRegistry::Program().MarkCurrent(image->SopInstanceUid(), true);
  }
  if (m_currentImageChanged) m_currentImageChanged(image);
}

void PictoriumViewModel::SetPresetTable(PresetTable table) {
  m_presetTable = std::move(table);
  m_presets = ViewPresets();
  if (DicomImage* image = CurrentImage())
    m_presets.LoadFor(QString::fromStdString(image->Modality()), m_presetTable);
}

bool PictoriumViewModel::ApplyPreset(int index) {
  const WindowPreset* preset = m_presets.At(index);
  if (!preset || !CurrentImage()) return false;
  OperationArgument window;
  window.width = preset->width;
  window.centre = preset->centre;
  return ApplyToSelection(operation::kSetWindow, window) > 0;
}

bool PictoriumViewModel::ApplyFilter(int index) {
  const auto& table = FilterTable();
  if (index < 0 || index >= static_cast<int>(table.size())) return false;
  OperationArgument filter;
  filter.filter = &table[static_cast<size_t>(index)];
  return ApplyToSelection(operation::kFilter, filter) > 0;
}

bool PictoriumViewModel::SetPalette(const PaletteSegments& segments) {
  // Each image takes its own copy; the argument only lends the list.
  PaletteSegments copy = segments;
  OperationArgument palette;
  palette.segments = &copy;
  return ApplyToSelection(operation::kSetPalette, palette) > 0;
}

GridSize PictoriumViewModel::Grid() const {
  if (IsShowAll()) return ShowAllGrid(m_client.width(), m_client.height(), m_doc.CellCount());
  return {m_rows, m_columns};
}

int PictoriumViewModel::PageSize() const {
  if (IsShowAll()) return std::max(1, m_doc.CellCount());
  return m_rows * m_columns;
}

bool PictoriumViewModel::SetLayout(int rows, int columns) {
  ZeroTogether(rows, columns);
  if (rows == m_rows && columns == m_columns) return false;
  m_rows = rows;
  m_columns = columns;
  if (rows * columns != 0) {
    if (m_doc.CellCount() > 0) {
      const int current = std::max(0, CurrentIndex());
      m_firstShown = current;
      BringIntoView(current, false);
    }
  } else {
    m_firstShown = 0;
  }
  ClampFirstShown();
  Changed();
  return true;
}

void PictoriumViewModel::ToggleShowAll() {
  if (!IsShowAll()) {
    m_savedRows = m_rows;
    m_savedColumns = m_columns;
    SetLayout(0, 0);
  } else {
    SetLayout(m_savedRows, m_savedColumns);
  }
}

void PictoriumViewModel::ToggleSingleCell() {
  if (m_rows == 1 && m_columns == 1) {
    SetLayout(m_savedRows, m_savedColumns);
  } else {
    m_savedRows = m_rows;
    m_savedColumns = m_columns;
    SetLayout(1, 1);
  }
}

void PictoriumViewModel::SetMergeFormat(int rows, int columns) {
  ZeroTogether(rows, columns);
  m_boxRows = rows;
  m_boxColumns = columns;
}

QRect PictoriumViewModel::CellRectangle(int cellIndex) const {
  const int slot = cellIndex - m_firstShown;
  if (cellIndex < 0 || cellIndex >= m_doc.CellCount() || slot < 0 || slot >= PageSize()) return {};
  return SlotRectangle(m_client, Grid(), slot);
}

bool PictoriumViewModel::HitTest(const QPoint& point, int& cellIndex, int& imageIndex) const {
  const int last = std::min(m_doc.CellCount(), m_firstShown + PageSize());
  for (int i = m_firstShown; i < last; ++i) {
    const QRect rect = CellRectangle(i);
    if (!rect.contains(point)) continue;
    const int image = const_cast<CPictoriumDoc&>(m_doc).Cell(i).ImageAt(point, rect);
    if (image < 0) continue;
    cellIndex = i;
    imageIndex = image;
    return true;
  }
  return false;
}

ScrollRange PictoriumViewModel::Scroll() const {
  return {std::max(0, m_doc.CellCount() - 1), m_firstShown, PageSize()};
}

void PictoriumViewModel::ScrollTo(int position) {
  if (IsShowAll()) position = 0;
  position = std::clamp(position, 0, std::max(0, m_doc.CellCount() - 1));
  if (position == m_firstShown) return;
  m_firstShown = position;
  Changed();
}

void PictoriumViewModel::ScrollLines(int lines) { ScrollTo(m_firstShown + lines); }
void PictoriumViewModel::ScrollPages(int pages) { ScrollTo(m_firstShown + pages * PageSize()); }

void PictoriumViewModel::ClampFirstShown() {
  const int n = m_doc.CellCount();
  if (IsShowAll()) {
    m_firstShown = 0;
    return;
  }
  m_firstShown = std::clamp(m_firstShown, 0, std::max(0, n - 1));
}

int PictoriumViewModel::CurrentIndex() const {
  const int index = m_doc.IndexOf(m_currentCell);
  return index;
}

DisplayCell* PictoriumViewModel::CurrentCell() {
  return CurrentIndex() >= 0 ? m_currentCell : nullptr;
}

DicomImage* PictoriumViewModel::CurrentImage() {
  DisplayCell* cell = CurrentCell();
  if (!cell) return nullptr;
  if (cell->IndexOf(m_currentImage) < 0)
    m_currentImage = cell->ImageCount() > 0 ? &cell->Image(0) : nullptr;
  return m_currentImage;
}

void PictoriumViewModel::MakeCurrent(int cellIndex, int imageIndex) {
  if (cellIndex < 0 || cellIndex >= m_doc.CellCount()) {
    m_currentCell = nullptr;
    m_currentImage = nullptr;
    return;
  }
  DisplayCell& cell = m_doc.Cell(cellIndex);
  m_currentCell = &cell;
  m_currentImage = cell.ImageCount() > 0
                       ? &cell.Image(std::clamp(imageIndex, 0, cell.ImageCount() - 1))
                       : nullptr;
}

void PictoriumViewModel::BringIntoView(int cellIndex, bool makeCurrent) {
  const int n = m_doc.CellCount();
  if (makeCurrent) MakeCurrent(cellIndex);
  if (IsShowAll()) {
    m_firstShown = 0;
    return;
  }
  const int page = PageSize();
  if (cellIndex < m_firstShown || cellIndex >= m_firstShown + page) m_firstShown = cellIndex;
  if (m_firstShown > n - page) m_firstShown = std::max(0, n - page);
}

bool PictoriumViewModel::CanNavigate(Navigation step) const {
  const int n = m_doc.CellCount();
  const int current = CurrentIndex();
  if (n == 0) return false;
  switch (step) {
    case Navigation::Next:
    case Navigation::Last:
      return current < n - 1;
    case Navigation::Previous:
    case Navigation::First:
      return current > 0;
    case Navigation::NextScreen:
      return m_firstShown + PageSize() < n;
    case Navigation::PreviousScreen:
      return m_firstShown > 0;
  }
  return false;
}

bool PictoriumViewModel::Navigate(Navigation step) {
  if (!CanNavigate(step)) return false;
  const int n = m_doc.CellCount();
  const int current = std::max(0, CurrentIndex());
  const int page = PageSize();
  switch (step) {
    case Navigation::Next:
      BringIntoView(current + 1, true);
      break;
    case Navigation::Previous:
      BringIntoView(current - 1, true);
      break;
    case Navigation::First:
      BringIntoView(0, true);
      break;
    case Navigation::Last:
      BringIntoView(n - 1, true);
      break;
    case Navigation::NextScreen:
      m_firstShown = std::min(m_firstShown + page, n - 1);
      MakeCurrent(std::max(std::min(current + page, n - 1), m_firstShown));
      break;
    case Navigation::PreviousScreen:
      m_firstShown = std::max(0, m_firstShown - page);
      MakeCurrent(std::max(current - page, m_firstShown));
      break;
  }
  ApplySelectionMode();
  Changed();
  return true;
}

void PictoriumViewModel::ClickSelect(int cellIndex, int imageIndex, bool shiftOrCtrl) {
  if (cellIndex < 0 || cellIndex >= m_doc.CellCount()) return;
  MakeCurrent(cellIndex, imageIndex);
  DisplayCell& clicked = m_doc.Cell(cellIndex);
  if (imageIndex < 0 || imageIndex >= clicked.ImageCount()) return;
  clicked.SetSelected(imageIndex, true);
  const DicomImage& image = clicked.Image(imageIndex);
  switch (m_doc.Mode()) {
    case SelectionMode::Image:
      if (shiftOrCtrl) break;
      for (auto& cell : m_doc.Cells()) {
        for (int i = 0; i < cell->ImageCount(); ++i) {
          if (&cell->Image(i) != &image) cell->SetSelected(i, false);
        }
      }
      break;
    case SelectionMode::Cell:
      if (!shiftOrCtrl) {
        for (auto& cell : m_doc.Cells()) cell->SetAllSelected(false);
      }
      clicked.SetAllSelected(true);
      break;
    case SelectionMode::All:
      break;
    case SelectionMode::Group: {
      const SortKeyList& keys = ProgramSortKeys();
      for (auto& cell : m_doc.Cells()) {
        for (int i = 0; i < cell->ImageCount(); ++i) {
          const bool same = &cell->Image(i) == &image ||
                            SameImageGroup(cell->Image(i).Sort(), image.Sort(), keys);
          cell->SetSelected(i, same);
        }
      }
      break;
    }
  }
}

void PictoriumViewModel::ApplySelectionMode() {
  DisplayCell* cell = CurrentCell();
  DicomImage* image = CurrentImage();
  if (!cell || !image) return;
  ClickSelect(CurrentIndex(), cell->IndexOf(image), false);
}

bool PictoriumViewModel::TakesPart(const DisplayCell& cell, int imageIndex) const {
  return m_doc.Mode() == SelectionMode::All || cell.IsSelected(imageIndex);
}

int PictoriumViewModel::Synchronise(int code, const OperationArgument& argument, int secondCode,
                                    const OperationArgument& second) {
  const DicomImage* current = CurrentImage();
  int changed = 0;
  for (auto& cell : m_doc.Cells()) {
    for (int i = 0; i < cell->ImageCount(); ++i) {
      DicomImage& image = cell->Image(i);
      if (&image == current || !TakesPart(*cell, i)) continue;
      OperationArgument a = argument;
      bool done = RunImageOperation(image, code, a);
      if (secondCode != 0) {
        OperationArgument b = second;
        done = RunImageOperation(image, secondCode, b) || done;
      }
      if (done) ++changed;
    }
  }
  return changed;
}

int PictoriumViewModel::ApplyToSelection(int code, OperationArgument argument) {
  return ApplyToSelection(code, argument, 0, {});
}

int PictoriumViewModel::ApplyToSelection(int code, OperationArgument argument, int secondCode,
                                         OperationArgument second) {
  DicomImage* current = CurrentImage();
  if (!current) return 0;
  const OperationArgument first = argument;
  const OperationArgument secondCopy = second;
  bool done = RunImageOperation(*current, code, argument);
  if (secondCode != 0) done = RunImageOperation(*current, secondCode, second) || done;
  const int changed = (done ? 1 : 0) + Synchronise(code, first, secondCode, secondCopy);
  Changed();
  return changed;
}

bool PictoriumViewModel::MergeSelected() {
  DisplayCell* merged = nullptr;
  DisplayCell* firstMerged = nullptr;
  const int limit = m_boxRows * m_boxColumns;
  auto& cells = m_doc.Cells();
  for (size_t i = 0; i < cells.size();) {
    DisplayCell& cell = *cells[i];
    if (cell.ImageCount() != 1 || !cell.IsSelected(0)) {
      ++i;
      continue;
    }
    if (!merged || (limit > 0 && merged->ImageCount() >= limit)) {
      merged = &cell;
      merged->SetGrid(m_boxRows, m_boxColumns);
      if (!firstMerged) firstMerged = merged;
      ++i;
      continue;
    }
    merged->AddImage(cell.TakeImage(0), true);
    if (m_currentCell == &cell) {
      m_currentCell = merged;
    }
    cells.erase(cells.begin() + static_cast<std::ptrdiff_t>(i));
  }
  if (!firstMerged) return false;
  BringIntoView(m_doc.IndexOf(firstMerged), true);
  Changed();
  return true;
}

bool PictoriumViewModel::CanMergeScreen() const {
  if (PageSize() < 2) return false;
  const int last = std::min(m_doc.CellCount(), m_firstShown + PageSize());
  if (last - m_firstShown < 1) return false;
  auto& doc = const_cast<CPictoriumDoc&>(m_doc);
  for (int i = m_firstShown; i < last; ++i) {
    if (doc.Cell(i).ImageCount() != 1) return false;
  }
  return true;
}

bool PictoriumViewModel::MergeScreen() {
  if (!CanMergeScreen()) return false;
  const GridSize grid = Grid();
  const int last = std::min(m_doc.CellCount(), m_firstShown + PageSize());
  DisplayCell& first = m_doc.Cell(m_firstShown);
  first.SetGrid(grid.rows, grid.columns);
  for (int i = m_firstShown + 1; i < last; ++i) {
    DisplayCell& cell = m_doc.Cell(i);
    first.AddImage(cell.TakeImage(0), cell.IsSelected(0));
  }
  auto& cells = m_doc.Cells();
  cells.erase(cells.begin() + m_firstShown + 1, cells.begin() + last);
  MakeCurrent(m_firstShown);
  ClampFirstShown();
  Changed();
  return true;
}

bool PictoriumViewModel::CanSplit() {
  DisplayCell* cell = CurrentCell();
  return cell && !cell->IsPlainGrid();
}

bool PictoriumViewModel::Split() {
  if (!CanSplit()) return false;
  DisplayCell& cell = *CurrentCell();
  const int index = CurrentIndex();
  int insertAt = index + 1;
  while (cell.ImageCount() > 1) {
    const bool selected = cell.IsSelected(1);
    auto piece = std::make_unique<DisplayCell>(cell.TakeImage(1));
    piece->SetSelected(0, selected);
    m_doc.InsertCell(insertAt++, std::move(piece));
  }
  cell.SetGrid(1, 1);
  m_currentImage = cell.ImageCount() > 0 ? &cell.Image(0) : nullptr;
  Changed();
  return true;
}

bool PictoriumViewModel::DeleteSelected() {
  m_drawing.Deselect();
  auto& cells = m_doc.Cells();
  int firstDeletion = -1;
  bool any = false;
  for (size_t c = 0; c < cells.size();) {
    DisplayCell& cell = *cells[c];
    for (int i = cell.ImageCount() - 1; i >= 0; --i) {
      if (!cell.IsSelected(i)) continue;
      if (&cell.Image(i) == m_currentImage) m_currentImage = nullptr;
      cell.TakeImage(i);
      any = true;
      if (firstDeletion < 0) firstDeletion = static_cast<int>(c);
    }
    if (cell.ImageCount() == 0) {
      if (m_currentCell == &cell) m_currentCell = nullptr;
      cells.erase(cells.begin() + static_cast<std::ptrdiff_t>(c));
    } else {
      ++c;
    }
  }
  if (!any) return false;
  const int n = m_doc.CellCount();
  if (n > 0) {
    BringIntoView(std::min(firstDeletion, n - 1), true);
  } else {
    MakeCurrent(-1);
    m_firstShown = 0;
  }
  ClampFirstShown();
  Changed();
  return true;
}

std::unique_ptr<DicomImage> PictoriumViewModel::TakeCurrentImage() {
  DisplayCell* cell = CurrentCell();
  DicomImage* image = CurrentImage();
  if (!cell || !image) return nullptr;
  const int index = CurrentIndex();
  m_drawing.Deselect();
  auto taken = cell->TakeImage(cell->IndexOf(image));
  m_currentImage = nullptr;
  if (cell->ImageCount() > 0) {
    MakeCurrent(index);
  } else {
    m_doc.RemoveCell(index);
    const int n = m_doc.CellCount();
    if (n == 0) {
      MakeCurrent(-1);
    } else {
      BringIntoView(index > 0 ? index - 1 : 0, true);
    }
  }
  ClampFirstShown();
  Changed();
  return taken;
}

bool PictoriumViewModel::ToggleScoutLines() {
  DicomImage* current = CurrentImage();
  if (!current) return false;
  const bool on = !current->Display().scoutLinesOn;
  for (auto& cell : m_doc.Cells()) {
    for (int i = 0; i < cell->ImageCount(); ++i) {
      if (&cell->Image(i) == current || TakesPart(*cell, i)) cell->Image(i).Display().scoutLinesOn = on;
    }
  }
  Changed();
  return true;
}

bool PictoriumViewModel::SetScoutDisplayValues(int interval, int minimum, int maximum) {
  DicomImage* current = CurrentImage();
  if (!current) return false;
  bool any = false;
  for (auto& cell : m_doc.Cells()) {
    for (int i = 0; i < cell->ImageCount(); ++i) {
      DicomImage& image = cell->Image(i);
      if (&image != current && !TakesPart(*cell, i)) continue;
      if (!image.Display().scoutLines.Exists()) continue;
      image.Display().scoutLines.SetDisplayValues(interval, maximum, minimum);
      any = true;
    }
  }
  if (any) Changed();
  return any;
}

bool PictoriumViewModel::MakeScoutReference() {
  DicomImage* current = CurrentImage();
  if (!current) return false;
  ImageRegistry::Program().MakeScout(*current, CurrentDisplaySettings().checkFrameUid);
  Changed();
  return true;
}

void PictoriumViewModel::Reinitialise() {
  m_doc.SortCells();
  MakeCurrent(0);
  if (m_doc.Mode() == SelectionMode::All) {
    for (auto& cell : m_doc.Cells()) cell->SetAllSelected(true);
  }
}

void PictoriumViewModel::SetTool(Tool tool, int shape) {
  m_tool = tool;
  m_shape = tool == Tool::Drawing ? shape : 0;
  m_drawing.SetShape(m_shape);
}

QRect PictoriumViewModel::CurrentImageRectangle() {
  DisplayCell* cell = CurrentCell();
  DicomImage* image = CurrentImage();
  if (!cell || !image) return {};
  const int index = CurrentIndex();
  return cell->ImageRectangle(cell->IndexOf(image), CellRectangle(index));
}

bool PictoriumViewModel::DeleteSelectedObject() {
  DicomImage* image = CurrentImage();
  if (!image || !m_drawing.DeleteSelected(*image)) return false;
  Changed();
  return true;
}

bool PictoriumViewModel::CanDeleteAllObjects() {
  DicomImage* image = CurrentImage();
  return image && ViewDrawing::HasObjects(*image);
}

bool PictoriumViewModel::DeleteAllObjects() {
  DicomImage* image = CurrentImage();
  if (!image) return false;
  m_drawing.Deselect();
  if (!ViewDrawing::DeleteAll(*image)) return false;
  Changed();
  return true;
}

PictoriumViewModel::DragRole PictoriumViewModel::RoleOf(MouseButton button) const {
  switch (button) {
    case MouseButton::Left:
      return m_tool == Tool::Zoom  ? DragRole::Zoom
             : m_tool == Tool::Pan ? DragRole::Pan
                                   : DragRole::Drawing;
    case MouseButton::Right:
      return m_middleButtonWindow ? DragRole::Pan : DragRole::Window;
    case MouseButton::Middle:
      return m_middleButtonWindow ? DragRole::Window : DragRole::Pan;
  }
  return DragRole::None;
}

bool PictoriumViewModel::MousePress(MouseButton button, const QPoint& point, bool shift,
                                    bool ctrl) {
  int cellIndex = -1;
  int imageIndex = -1;
  if (!HitTest(point, cellIndex, imageIndex)) return false;
  ClickSelect(cellIndex, imageIndex, shift || ctrl);
  m_held = button;
  m_pressPoint = m_lastPoint = point;
  m_totalX = m_totalY = 0;
  if (RoleOf(button) == DragRole::Drawing) {
    if (DicomImage* image = CurrentImage()) m_drawing.Press(*image, CurrentImageRectangle(), point);
  }
  Changed();
  return true;
}

void PictoriumViewModel::MouseMove(const QPoint& point, bool ctrl) {
  DicomImage* image = CurrentImage();
  if (!m_held && m_drawing.Placing() && image) {
    // A polygon taking points draws its rubber band without a button held.
    if (m_drawing.Move(*image, CurrentImageRectangle(), point)) Changed();
  }
  if (!m_held) {
    int cellIndex = -1;
    int imageIndex = -1;
    PixelReadout& readout = m_doc.Readout();
    if (HitTest(point, cellIndex, imageIndex)) {
      DisplayCell& cell = m_doc.Cell(cellIndex);
      const QRect rect = cell.ImageRectangle(imageIndex, CellRectangle(cellIndex));
      int column = 0;
      int row = 0;
      if (ImagePixelAt(cell.Image(imageIndex), rect, point, column, row)) {
        readout = {row, column, cell.Image(imageIndex).GetPixel(column, row)};
      }
    }
    return;
  }
  if (!image) return;
  int dx = point.x() - m_lastPoint.x();
  int dy = point.y() - m_lastPoint.y();
  m_lastPoint = point;
  const DragRole role = RoleOf(*m_held);
  if (ctrl && role != DragRole::Zoom) {
    dx *= m_mouseMultiplier;
    dy *= m_mouseMultiplier;
  }
  bool changed = false;
  switch (role) {
    case DragRole::Window: {
      OperationArgument width{dx};
      OperationArgument centre{dy};
      changed = RunImageOperation(*image, operation::kWidthBy, width);
      changed = RunImageOperation(*image, operation::kCentreBy, centre) || changed;
      m_totalX += dx;
      m_totalY += dy;
      break;
    }
    case DragRole::Pan: {
      OperationArgument x{dx};
      OperationArgument y{dy};
      changed = RunImageOperation(*image, operation::kPanXBy, x);
      changed = RunImageOperation(*image, operation::kPanYBy, y) || changed;
      m_totalX += dx;
      m_totalY += dy;
      break;
    }
    case DragRole::Zoom: {
      OperationArgument get;
      RunImageOperation(*image, operation::kGetZoom, get);
      OperationArgument step{dx};
      changed = RunImageOperation(*image, operation::kZoomBy, step);
      OperationArgument after;
      RunImageOperation(*image, operation::kGetZoom, after);
      m_totalX += after.value - get.value;
      break;
    }
    case DragRole::Drawing:
      changed = m_drawing.Move(*image, CurrentImageRectangle(), point);
      break;
    case DragRole::None:
      break;
  }
  if (changed) Changed();
}

PictoriumViewModel::ReleaseResult PictoriumViewModel::MouseRelease(MouseButton button,
                                                                   const QPoint& point,
                                                                   bool /*ctrl*/) {
  ReleaseResult result;
  if (!m_held || *m_held != button) return result;
  m_held.reset();
  if (button != MouseButton::Left && point == m_pressPoint && m_totalX == 0 && m_totalY == 0) {
    result.openContextMenu = button == MouseButton::Right;
    DicomImage* image = CurrentImage();
    result.onDrawingObject =
        image && ViewDrawing::ObjectAt(*image, CurrentImageRectangle(), point);
    return result;
  }
  // The other images get exactly the change the current image got (the Ctrl
  // multiplier is already in the totals).
  switch (RoleOf(button)) {
    case DragRole::Window:
      if (m_totalX != 0 || m_totalY != 0) {
        result.changed = Synchronise(operation::kWidthBy, OperationArgument{m_totalX},
                                     operation::kCentreBy, OperationArgument{m_totalY}) > 0;
      }
      break;
    case DragRole::Pan:
      if (m_totalX != 0 || m_totalY != 0) {
        result.changed = Synchronise(operation::kPanXBy, OperationArgument{m_totalX},
                                     operation::kPanYBy, OperationArgument{m_totalY}) > 0;
      }
      break;
    case DragRole::Zoom:
      if (m_totalX != 0)
        result.changed = Synchronise(operation::kZoomBy, OperationArgument{m_totalX}) > 0;
      break;
    case DragRole::Drawing:
      if (DicomImage* image = CurrentImage())
        result.changed = m_drawing.Release(*image, CurrentImageRectangle(), point);
      break;
    case DragRole::None:
      break;
  }
  Changed();
  return result;
}

bool PictoriumViewModel::DoubleClick(const QPoint& point) {
  int cellIndex = -1;
  int imageIndex = -1;
  if (!HitTest(point, cellIndex, imageIndex)) return false;
  // The image (its drawing tool) handles the double-click first.
  DicomImage* image = CurrentImage();
  if (image && m_tool == Tool::Drawing &&
      m_drawing.DoubleClick(*image, CurrentImageRectangle(), point)) {
    Changed();
  }
  if (m_doubleClickFunction != 3) return false;
  if (image && ViewDrawing::ObjectAt(*image, CurrentImageRectangle(), point)) return false;
  ToggleSingleCell();
  return true;
}

void PictoriumViewModel::OnDocumentUpdate(UpdateHint hint, int cellIndex) {
  switch (hint) {
    case UpdateHint::MakeCurrent:
      BringIntoView(cellIndex, true);
      break;
    case UpdateHint::SelectionMode:
      ApplySelectionMode();
      break;
    case UpdateHint::Reinitialise:
      Reinitialise();
      break;
    case UpdateHint::CellLoaded:
      if (cellIndex >= 0 && cellIndex < m_doc.CellCount()) {
        DisplayCell& cell = m_doc.Cell(cellIndex);
        if (m_doc.Mode() == SelectionMode::All && cell.ImageCount() > 0) cell.SetSelected(0, true);
      }
      m_doc.SortInto(cellIndex);
      MakeCurrent(0);
      ClampFirstShown();
      break;
    case UpdateHint::ResetFirstShown:
      m_firstShown = 0;
      break;
    case UpdateHint::Refresh:
      // Cells may have gone (duplicates deleted): keep a current cell and a
      // first shown cell that exist.
      if (CurrentIndex() < 0 && m_doc.CellCount() > 0)
        MakeCurrent(std::min(m_firstShown, m_doc.CellCount() - 1));
      ClampFirstShown();
      break;
    case UpdateHint::None:
      break;
  }
  Changed();
}

}  // namespace tolmar::viewer
