#pragma once

#include <QPoint>
#include <QRect>
#include <functional>

#include "viewer/CPictoriumDoc.h"
#include "viewer/DocumentObserver.h"
#include "viewer/GridGeometry.h"
#include "viewer/ImageOperations.h"
#include "viewer/ViewDrawing.h"
#include "viewer/WindowPresets.h"

namespace tolmar::suite {
class ProfileStore;
}

namespace tolmar::viewer {

enum class MouseButton { Left, Right, Middle };
enum class Tool : int { Drawing = 0, Zoom = 1, Pan = 2 };
enum class Navigation { Next, Previous, First, Last, NextScreen, PreviousScreen };

struct ScrollRange {
  int maximum = 0;  // range 0..maximum
  int position = 0;
  int page = 1;
};

// The settings the view reads at start.
struct ViewSettings {
  int rows = 2;
  int columns = 2;
  int boxRows = 2;
  int boxColumns = 2;
  bool middleButtonWindow = false;  // "MBtnWindow"
  int mouseMultiplier = 3;          // "MouseMulti"
  int doubleClickFunction = 3;      // "LBtnDbClkFun"

  static ViewSettings Read(const suite::ProfileStore& profile);
  // Rows, columns and the merge format, written when the view goes away.
  void WriteLayout(suite::ProfileStore& profile) const;
};

// The main image area without its widget: layout and paging, the current cell
// and image, selection by the document's mode, the cell commands and the mouse
// roles, and the synchronisation of every change to the selected images.
class PictoriumViewModel : public DocumentObserver {
 public:
  PictoriumViewModel(CPictoriumDoc& document, const ViewSettings& settings = {});
  ~PictoriumViewModel() override;
  PictoriumViewModel(const PictoriumViewModel&) = delete;
  PictoriumViewModel& operator=(const PictoriumViewModel&) = delete;

  CPictoriumDoc& Document() { return m_doc; }
  ViewSettings CurrentSettings() const;
  // The mouse settings of the settings sheet ("MBtnWindow", "MouseMulti",
  // "LBtnDbClkFun") take effect with the next mouse action; the layout stays.
  void SetMouseSettings(const ViewSettings& settings);
  // Called after every change that needs a repaint (the widget installs it).
  void SetChangedCallback(std::function<void()> callback) { m_changed = std::move(callback); }

  // Layout.
  void SetClientRect(const QRect& rect) { m_client = rect; }
  const QRect& ClientRect() const { return m_client; }
  int Rows() const { return m_rows; }
  int Columns() const { return m_columns; }
  bool IsShowAll() const { return m_rows == 0 || m_columns == 0; }
  GridSize Grid() const;
  int PageSize() const;
  int FirstShown() const { return m_firstShown; }
  // False when nothing changed. 0 in either number gives the show-all layout.
  bool SetLayout(int rows, int columns);
  void ToggleShowAll();
  void ToggleSingleCell();
  int BoxRows() const { return m_boxRows; }
  int BoxColumns() const { return m_boxColumns; }
  void SetMergeFormat(int rows, int columns);
  bool HasMergeFormat() const { return m_boxRows != 0 && m_boxColumns != 0; }

  // Geometry: the rectangle of a cell on the screen, empty when it is not shown.
  QRect CellRectangle(int cellIndex) const;
  bool HitTest(const QPoint& point, int& cellIndex, int& imageIndex) const;

  // Scroll bar.
  ScrollRange Scroll() const;
  void ScrollLines(int lines);
  void ScrollPages(int pages);
  void ScrollTo(int position);

  // Current cell and image.
  int CurrentIndex() const;
  DisplayCell* CurrentCell();
  DicomImage* CurrentImage();
  void MakeCurrent(int cellIndex, int imageIndex = 0);
  void BringIntoView(int cellIndex, bool makeCurrent);

  bool CanNavigate(Navigation step) const;
  bool Navigate(Navigation step);

  // Selection.
  void ClickSelect(int cellIndex, int imageIndex, bool shiftOrCtrl);
  void ApplySelectionMode();
  // Whether a change of the current image is repeated on this one.
  bool TakesPart(const DisplayCell& cell, int imageIndex) const;

  // Runs an operation on the current image and repeats it on the selection;
  // answers how many images changed.
  int ApplyToSelection(int code, OperationArgument argument);
  int ApplyToSelection(int code, OperationArgument argument, int secondCode,
                       OperationArgument second);
  // Repeats an operation already done on the current image on the other selected images.
  int Synchronise(int code, const OperationArgument& argument, int secondCode = 0,
                  const OperationArgument& second = {});

  // Window presets of the current image's modality (loaded when the current
  // image's modality changes) and filters of the filter table.
  void SetPresetTable(PresetTable table);
  const ViewPresets& Presets() const { return m_presets; }
  ViewPresets& Presets() { return m_presets; }
  // Preset n on the current image and the selection; false for n beyond the loaded presets.
  bool ApplyPreset(int index);
  // Filter n of the filter table; false for n outside it or when nothing changed.
  bool ApplyFilter(int index);
  // Replaces the pseudo-colour segments of the current image and the selection.
  bool SetPalette(const PaletteSegments& segments);
  // Called whenever another image becomes current.
  void SetCurrentImageCallback(std::function<void(DicomImage*)> callback) {
    m_currentImageChanged = std::move(callback);
  }

  // Cell commands.
  bool MergeSelected();
  bool CanMergeScreen() const;
  bool MergeScreen();
  bool CanSplit();
  bool Split();
  bool DeleteSelected();
  // Takes the current image out of its cell (cut); an emptied cell is deleted
  // and the previous cell, or the next for the first, becomes current.
  std::unique_ptr<DicomImage> TakeCurrentImage();
  void Reinitialise();

  // Scout lines: every selected image takes the opposite of the current
  // image's switch; the current image becomes a scout reference.
  bool ToggleScoutLines();
  bool MakeScoutReference();
  // The current image's interval and image number range go to every selected
  // image that has a line set.
  bool SetScoutDisplayValues(int interval, int minimum, int maximum);

  // Drawing objects of the current image.
  ViewDrawing& Drawing() { return m_drawing; }
  bool DeleteSelectedObject();
  bool CanDeleteAllObjects();
  bool DeleteAllObjects();

  // Mouse roles. Press and Release answer whether the point hit an image.
  void SetTool(Tool tool, int shape = 0);
  Tool CurrentTool() const { return m_tool; }
  int DrawingShape() const { return m_shape; }
  bool MousePress(MouseButton button, const QPoint& point, bool shift, bool ctrl);
  void MouseMove(const QPoint& point, bool ctrl);
  struct ReleaseResult {
    bool openContextMenu = false;
    bool onDrawingObject = false;  // the menu of drawing objects rather than the view's
    bool changed = false;
  };
  ReleaseResult MouseRelease(MouseButton button, const QPoint& point, bool ctrl);
  // Left double-click; true when the layout toggled.
  bool DoubleClick(const QPoint& point);
  bool ButtonHeld() const { return m_held.has_value(); }

  // DocumentObserver.
  void OnDocumentUpdate(UpdateHint hint, int cellIndex) override;

 private:
  enum class DragRole { None, Window, Pan, Zoom, Drawing };
  DragRole RoleOf(MouseButton button) const;
  // The rectangle the current image is painted into; empty when it is not on the screen.
  QRect CurrentImageRectangle();
  void CurrentImageMayHaveChanged();
  void Changed();
  void ClampFirstShown();

  CPictoriumDoc& m_doc;
  QRect m_client;
  int m_rows = 2;
  int m_columns = 2;
  int m_savedRows = 2;
  int m_savedColumns = 2;
  int m_boxRows = 2;
  int m_boxColumns = 2;
  int m_firstShown = 0;
  bool m_middleButtonWindow = false;
  int m_mouseMultiplier = 3;
  int m_doubleClickFunction = 3;
  Tool m_tool = Tool::Drawing;
  int m_shape = 0;
  DisplayCell* m_currentCell = nullptr;
  DicomImage* m_currentImage = nullptr;
  std::optional<MouseButton> m_held;
  QPoint m_pressPoint;
  QPoint m_lastPoint;
  int m_totalX = 0;
  int m_totalY = 0;
  std::function<void()> m_changed;
  ViewDrawing m_drawing;
  PresetTable m_presetTable;
  ViewPresets m_presets;
  const DicomImage* m_lastCurrentImage = nullptr;
  std::function<void(DicomImage*)> m_currentImageChanged;
};

}  // namespace tolmar::viewer
