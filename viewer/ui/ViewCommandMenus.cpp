// The main frame's image menus: drawing shapes, window presets, filters and
// pseudo-colour, the edit commands (cut, duplicates, drawing objects), the
// display switches and the settings dialogs. Each command works on the current
// image and the selection through the view model.
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QSpinBox>

#include "image/DisplaySettings.h"
#include "image/FilterRecord.h"
#include "image/PaletteFile.h"
#include "suite/ProgramFolder.h"
#include "suite/StringTable.h"
#include "viewer/CellPaint.h"
#include "viewer/DuplicateRun.h"
#include "viewer/ui/MagnifierWindow.h"
#include "viewer/ui/MainFrame.h"
#include "viewer/ui/PaletteDialog.h"
#include "viewer/ui/PictoriumView.h"
#include "viewer/ui/PresetDialogs.h"
#include "viewer/ui/ScoutLineWindow.h"
#include "viewer/ui/SettingsSheet.h"

namespace tolmar::viewer {
namespace {

struct ShapeCommand {
  int id;
  int shape;
};
// The drawing tool's shapes by command, in menu order.
constexpr ShapeCommand kShapeCommands[] = {
    {32776, 0}, {32777, 1}, {32783, 2}, {32778, 3}, {32781, 4}, {32779, 5},
    {32780, 6}, {32782, 7}, {32858, 8}, {32917, 9}, {32933, 10},
};

constexpr int kPresetCommandBase = 3500;
// "标准窗A" to "E" apply presets 0 to 4, "保留窗值A" to "C" presets 5 to 7.
constexpr int kStandardWindowCommands[] = {32825, 32826, 32827, 32828, 32829,
                                           32883, 32884, 32885};

}  // namespace

void MainFrame::BuildDrawingMenu(QMenu* tools) {
  PictoriumViewModel& m = *m_model;
  m.Drawing().SetTextPrompt([this](std::string& text) {
    bool ok = false;
    const QString typed =
        QInputDialog::getText(this, Text(32782).section(QLatin1Char('('), 0, 0), QString(),
                              QLineEdit::Normal, QString(), &ok);
    text = typed.toStdString();
    return ok;
  });
  auto* group = new QActionGroup(tools);
  for (const ShapeCommand command : kShapeCommands) {
    QAction* item = AddCommand(tools, command.id, [&m, command] {
      m.SetTool(Tool::Drawing, command.shape);
    });
    item->setCheckable(true);
    group->addAction(item);
    connect(tools, &QMenu::aboutToShow, item, [&m, item, command] {
      item->setChecked(m.CurrentTool() == Tool::Drawing && m.DrawingShape() == command.shape);
      if (command.shape == 9) {
        DicomImage* image = m.CurrentImage();
        item->setEnabled(image && ImageSupportsOperation(*image, operation::kAdaptiveWindowPossible));
      }
    });
  }
  tools->addSeparator();
}

void MainFrame::BuildWindowMenu() {
  PictoriumViewModel& m = *m_model;
  QMenu* window = menuBar()->addMenu(Text(32830));
  for (int n = 0; n < static_cast<int>(std::size(kStandardWindowCommands)); ++n) {
    const int id = kStandardWindowCommands[n];
    QAction* item = AddCommand(window, id, [&m, n] { m.ApplyPreset(n); });
    connect(window, &QMenu::aboutToShow, item, [this, &m, item, id, n] {
      const WindowPreset* preset = m.Presets().At(n);
      item->setEnabled(preset != nullptr);
      item->setText(preset ? QStringLiteral("%1  %2").arg(Text(id), preset->name) : Text(id));
    });
  }
  // Every loaded preset by number, as the window page lists them.
  QMenu* all = window->addMenu(QStringLiteral("预设窗值"));
  connect(all, &QMenu::aboutToShow, this, [this, all, &m] {
    all->clear();
    const auto& presets = m.Presets().Presets();
    for (int n = 0; n < static_cast<int>(presets.size()); ++n) {
      const WindowPreset& preset = presets[static_cast<size_t>(n)];
      AddCommand(all, kPresetCommandBase + n,
                 QStringLiteral("%1 (%2/%3)").arg(preset.name).arg(preset.width).arg(preset.centre),
                 [&m, n] { m.ApplyPreset(n); });
    }
  });
  AddCommand(window, 32830, [this, &m] {
    StandardWindowDialog dialog(StandardWindowPairs(m.Presets()), this);
    if (dialog.exec() == QDialog::Accepted) ApplyStandardWindowPairs(m.Presets(), dialog.Pairs());
  });
  AddCommand(window, 32943, [this, &m] {
    if (!m_profile) return;
    DicomImage* image = m.CurrentImage();
    const QString modality = image ? QString::fromStdString(image->Modality()) : QString();
    PresetTableDialog dialog(ReadPresetTable(*m_profile), modality, this);
    // The view's own presets are read again when the modality next changes.
    if (dialog.exec() == QDialog::Accepted) dialog.Editor().Save(*m_profile);
  });
  window->addSeparator();
  const auto& filters = FilterTable();
  for (int n = 0; n < static_cast<int>(filters.size()); ++n) {
    AddCommand(window, kFilterCommandBase + n,
               QString::fromStdString(filters[static_cast<size_t>(n)].name), [&m, n] {
                 QApplication::setOverrideCursor(Qt::WaitCursor);
                 m.ApplyFilter(n);
                 QApplication::restoreOverrideCursor();
               });
  }
  window->addSeparator();
  QAction* palette = AddCommand(window, 32901, [this] { EditPalette(); });
  connect(window, &QMenu::aboutToShow, palette, [&m, palette] {
    DicomImage* image = m.CurrentImage();
    palette->setEnabled(image && ImageSupportsOperation(*image, operation::kGetPalette));
  });
}

void MainFrame::EditPalette() {
  DicomImage* image = m_model->CurrentImage();
  if (!image) return;
  PaletteSegments segments;
  OperationArgument read;
  read.segments = &segments;
  if (!RunImageOperation(*image, operation::kGetPalette, read)) return;
  OperationArgument window;
  RunImageOperation(*image, operation::kGetWindow, window);
  PaletteDialog dialog(segments, window.width, window.centre,
                       suite::ProgramFolder() + QString::fromLatin1(PaletteFile::kFileName), this);
  if (dialog.exec() == QDialog::Accepted) m_model->SetPalette(dialog.Segments());
}

void MainFrame::CutCurrentImage() {
  DicomImage* image = m_model->CurrentImage();
  if (!image) return;
  // The clipboard gets the picture as shown, at the image's own size.
  QImage picture(image->Columns(), image->Rows(), QImage::Format_RGB32);
  picture.fill(Qt::black);
  {
    QPainter painter(&picture);
    const int zoom = image->Zoom();
    image->Zoom() = 0;
    PaintImage(painter, *image, picture.rect(), ImagePaintOptions{});
    image->Zoom() = zoom;
  }
  QGuiApplication::clipboard()->setImage(picture);
  m_model->TakeCurrentImage();
}

void MainFrame::BuildEditMenu() {
  PictoriumViewModel& m = *m_model;
  QMenu* edit = menuBar()->addMenu(Text(57635).section(QLatin1Char('('), 0, 0));
  AddCommand(edit, 57635, [this] { CutCurrentImage(); })->setShortcut(QKeySequence::Cut);
  edit->addSeparator();
  AddCommand(edit, 32853, [this] { DuplicateSelectedImages(m_doc); });
  AddCommand(edit, 32850, [this] { DeleteDuplicates(m_doc); });
  edit->addSeparator();
  QAction* deleteObject = AddCommand(edit, 32795, [&m] { m.DeleteSelectedObject(); });
  QAction* deleteAll = AddCommand(edit, 32845, [this, &m] {
    if (!m.CanDeleteAllObjects()) return;
    if (QMessageBox::question(this, QString(), Text(175), QMessageBox::Yes | QMessageBox::No) ==
        QMessageBox::Yes) {
      m.DeleteAllObjects();
    }
  });
  connect(edit, &QMenu::aboutToShow, deleteAll,
          [&m, deleteAll] { deleteAll->setEnabled(m.CanDeleteAllObjects()); });
  // Right click on a drawing object.
  m_objectMenu = new QMenu(this);
  m_objectMenu->addAction(deleteObject);
  m_objectMenu->addAction(deleteAll);
  connect(m_objectMenu, &QMenu::aboutToShow, deleteAll,
          [&m, deleteAll] { deleteAll->setEnabled(m.CanDeleteAllObjects()); });
}

void MainFrame::BuildDisplayMenu() {
  PictoriumViewModel& m = *m_model;
  QMenu* display = menuBar()->addMenu(Text(32899).section(QLatin1Char('('), 0, 0));
  m_displayMenu = display;
  struct Switch {
    int id;
    bool DisplaySettings::*flag;
  };
  for (const Switch s : {Switch{32899, &DisplaySettings::showOverlays},
                         Switch{32856, &DisplaySettings::showAnnotation},
                         Switch{32857, &DisplaySettings::showRuler}}) {
    QAction* item = AddCommand(display, s.id, [this, s] {
      DisplaySettings settings = CurrentDisplaySettings();
      settings.*s.flag = !(settings.*s.flag);
      SetDisplaySettings(settings);
      m_view->RepaintFullQuality();
    });
    item->setCheckable(true);
    connect(display, &QMenu::aboutToShow, item,
            [item, s] { item->setChecked(CurrentDisplaySettings().*s.flag); });
  }
  display->addSeparator();
  QAction* scoutLines = AddCommand(display, 32989, [&m] { m.ToggleScoutLines(); });
  scoutLines->setCheckable(true);
  QAction* intervals = AddCommand(display, 33007, [this] { EditScoutDisplayValues(); });
  AddCommand(display, 33010, [&m] { m.MakeScoutReference(); });
  QAction* scoutWindow = AddCommand(display, 32990, [this] { ToggleScoutWindow(); });
  scoutWindow->setCheckable(true);
  display->addSeparator();
  QAction* magnifier = AddCommand(display, 32920, [this] { ToggleMagnifier(); });
  magnifier->setCheckable(true);
  QAction* smoothing = AddCommand(display, 32921, [this] {
    if (m_magnifier) m_magnifier->SetSmoothing(!m_magnifier->Smoothing());
  });
  smoothing->setCheckable(true);
  connect(display, &QMenu::aboutToShow, this,
          [this, &m, scoutLines, intervals, scoutWindow, magnifier, smoothing] {
            DicomImage* image = m.CurrentImage();
            scoutLines->setChecked(image && image->Display().scoutLinesOn);
            intervals->setEnabled(image && image->Display().scoutLines.Exists());
            scoutWindow->setChecked(m_scoutWindow && m_scoutWindow->isVisible());
            magnifier->setChecked(m_magnifier && m_magnifier->isVisible());
            smoothing->setEnabled(m_magnifier != nullptr);
            smoothing->setChecked(m_magnifier && m_magnifier->Smoothing());
          });
  // A new current image refreshes the scout-line window while it is shown.
  m.SetCurrentImageCallback([this](DicomImage* image) {
    if (m_scoutWindow && m_scoutWindow->isVisible()) m_scoutWindow->FillFor(image);
  });
  display->addSeparator();
  for (const int id : {32797, 32798, 32968}) AddCommand(display, id, [this, id] { OpenSettings(id); });
}

void MainFrame::EditScoutDisplayValues() {
  DicomImage* image = m_model->CurrentImage();
  if (!image || !image->Display().scoutLines.Exists()) return;
  const ScoutLineSet& set = image->Display().scoutLines;
  QDialog dialog(this);
  dialog.setObjectName(QStringLiteral("400"));
  auto* form = new QFormLayout(&dialog);
  auto makeBox = [&dialog](int value, const char* id) {
    auto* box = new QSpinBox(&dialog);
    box->setRange(0, 99999);
    box->setValue(value);
    box->setObjectName(QString::fromLatin1(id));
    return box;
  };
  QSpinBox* interval = makeBox(set.Interval(), "1237");
  QSpinBox* minimum = makeBox(set.MinimumLabel(), "1238");
  QSpinBox* maximum = makeBox(set.MaximumLabel(), "1239");
  form->addRow(QStringLiteral("请输入间隔线数："), interval);
  form->addRow(QStringLiteral("最小图像号："), minimum);
  form->addRow(QStringLiteral("最大图像号："), maximum);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() == QDialog::Accepted)
    m_model->SetScoutDisplayValues(interval->value(), minimum->value(), maximum->value());
}

void MainFrame::ToggleScoutWindow() {
  if (!m_scoutWindow) m_scoutWindow = new ScoutLineWindow(this);
  if (m_scoutWindow->isVisible()) {
    m_scoutWindow->hide();
    return;
  }
  m_scoutWindow->show();
  m_scoutWindow->FillFor(m_model->CurrentImage());
}

void MainFrame::ToggleMagnifier() {
  if (!m_magnifier) m_magnifier = new MagnifierWindow(*m_view, this);
  m_magnifier->setVisible(!m_magnifier->isVisible());
}

void MainFrame::AddBarToggle(QAction* toggle) {
  if (m_displayMenu && toggle) m_displayMenu->addAction(toggle);
}

void MainFrame::OpenSettings(int command) {
  if (!m_profile) return;
  const SettingsSheet::Kind kind = command == 32797   ? SettingsSheet::Kind::OverlayFormat
                                   : command == 32798 ? SettingsSheet::Kind::MeasureFormat
                                                      : SettingsSheet::Kind::WholeSheet;
  SettingsSheet sheet(kind, *m_profile, m_model.get(), m_strings, this);
  connect(&sheet, &SettingsSheet::Applied, this, [this] {
    m_doc.UpdateAllViews(UpdateHint::Refresh);
    m_view->RepaintFullQuality();
  });
  sheet.exec();
}

}  // namespace tolmar::viewer
