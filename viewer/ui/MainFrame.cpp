#include "viewer/ui/MainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QProgressDialog>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>

#include "suite/ItemText.h"
#include "suite/ProfileStore.h"
#include "suite/RelayhouseWait.h"
#include "suite/StringTable.h"
#include "suite/WindowPlacement.h"
#include "viewer/CLoadImageThread.h"
#include "viewer/ui/FormatDialog.h"
#include "viewer/ui/PictoriumView.h"
#include "viewer/ui/ShutterDialog.h"
#include "viewer/ui/SortKeyDialog.h"
#include "viewer/ui/StartTiming.h"

namespace tolmar::viewer {
namespace {

// How long a load runs before the status bar shows its progress.
constexpr int kProgressDelayMs = 50;

// The Relayhouse wait as the user sees it: message boxes and a cancellable wait window.
class LoadPrompts : public suite::RelayhousePrompts {
 public:
  LoadPrompts(QWidget* parent, const QString& waitText) : m_parent(parent) {
    m_wait = std::make_unique<QProgressDialog>(waitText, QString(), 0, 0, parent);
    m_wait->setWindowModality(Qt::NonModal);
    m_wait->setCancelButtonText(QMessageBox::tr("Cancel"));
    m_wait->show();
  }
  void ShowMessage(int, const QString& text) override {
    QMessageBox::warning(m_parent, QString(), text);
  }
  bool AskYesNo(int, const QString& text) override {
    return QMessageBox::question(m_parent, QString(), text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
  }
  void SetWaitCursor(bool on) override {
    if (on) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
      QApplication::restoreOverrideCursor();
    }
  }
  bool ProcessEventsAndCheckCancelled() override {
    QApplication::processEvents();
    return m_wait->wasCanceled();
  }

 private:
  QWidget* m_parent;
  std::unique_ptr<QProgressDialog> m_wait;
};

// "name|pattern|name|pattern||" as a file dialog's filter list.
QString DialogFilter(const QString& text) {
  const QStringList parts = text.split(QLatin1Char('|'), Qt::SkipEmptyParts);
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) filters << parts[i];
  return filters.join(QStringLiteral(";;"));
}

}  // namespace

MainFrame::MainFrame(CPictoriumDoc& doc, const ViewSettings& settings, suite::ProfileStore* profile,
                     const suite::StringTable& strings, QWidget* parent)
    : QMainWindow(parent), m_doc(doc), m_profile(profile), m_strings(strings) {
  setWindowTitle(Text(57344));
  m_model = std::make_unique<PictoriumViewModel>(doc, settings);
  if (m_profile) {
    m_model->SetPresetTable(ReadPresetTable(*m_profile));
    m_recent.Load(*m_profile);
  }
  auto* central = new QWidget(this);
  auto* layout = new QHBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  m_view = new PictoriumView(*m_model, central);
  m_scrollBar = new QScrollBar(Qt::Vertical, central);
  m_scrollBar->setObjectName(QStringLiteral("1001"));
  layout->addWidget(m_view, 1);
  layout->addWidget(m_scrollBar);
  setCentralWidget(central);

  m_progress = new QProgressBar(this);
  m_progress->setMaximumWidth(200);
  m_progress->hide();
  m_cancelPane = new QLabel(this);
  m_cancelPane->setObjectName(QStringLiteral("59142"));
  m_cancelPane->installEventFilter(this);
  m_readoutPane = new QLabel(this);
  m_readoutPane->setObjectName(QStringLiteral("102"));
  statusBar()->addWidget(m_progress);
  statusBar()->addWidget(m_cancelPane, 1);
  statusBar()->addPermanentWidget(m_readoutPane);

  connect(m_scrollBar, &QScrollBar::valueChanged, this, [this](int value) {
    if (!m_updatingScroll) m_model->ScrollTo(value);
  });
  connect(m_view, &PictoriumView::Changed, this, &MainFrame::UpdateScrollBar);
  connect(m_view, &PictoriumView::ReadoutChanged, this, [this](int row, int column, int value) {
    m_readoutPane->setText(m_strings.Format(
        102, {QString::number(row), QString::number(column), QString::number(value)}));
  });
  connect(m_view, &PictoriumView::ContextMenuWanted, this, &MainFrame::ShowContextMenu);
  connect(m_view, &PictoriumView::FullScreenToggled, this, &MainFrame::ToggleFullScreen);
  BuildMenus();
  m_doc.AddObserver(this);
  m_model->Reinitialise();
  UpdateScrollBar();
  m_view->setFocus();
}

MainFrame::~MainFrame() {
  m_doc.RemoveObserver(this);
}

QString MainFrame::Text(int id) const { return m_strings.Text(id); }

QAction* MainFrame::AddCommand(QMenu* menu, int id, std::function<void()> action) {
  return AddCommand(menu, id, Text(id), std::move(action));
}

QAction* MainFrame::AddCommand(QMenu* menu, int id, const QString& text,
                               std::function<void()> action) {
  QAction* item = menu->addAction(text);
  item->setObjectName(QString::number(id));
  connect(item, &QAction::triggered, this, [this, action = std::move(action)] {
    action();
    UpdateScrollBar();
    m_view->update();
  });
  return item;
}

void MainFrame::BuildMenus() {
  PictoriumViewModel& m = *m_model;
  QMenu* file = menuBar()->addMenu(Text(57344));
  AddCommand(file, 57601, [this] { OpenFiles(); })->setShortcut(QKeySequence::Open);
  QAction* recentEnd = file->addSeparator();
  AddCommand(file, 57665, [this] { close(); });
  connect(file, &QMenu::aboutToShow, this,
          [this, file, recentEnd] { FillRecentFiles(file, recentEnd); });

  QMenu* format = menuBar()->addMenu(Text(268));
  struct Fixed {
    int id, rows, columns;
  };
  for (const Fixed f :
       {Fixed{32784, 1, 1}, Fixed{32938, 1, 2}, Fixed{32785, 2, 2}, Fixed{32786, 3, 3}}) {
    QAction* item = AddCommand(format, f.id, [&m, f] { m.SetLayout(f.rows, f.columns); });
    item->setCheckable(true);
    connect(format, &QMenu::aboutToShow, item,
            [&m, item, f] { item->setChecked(m.Rows() == f.rows && m.Columns() == f.columns); });
  }
  QAction* showAll = AddCommand(format, 32788, [&m] { m.ToggleShowAll(); });
  showAll->setCheckable(true);
  connect(format, &QMenu::aboutToShow, showAll,
          [&m, showAll] { showAll->setChecked(m.IsShowAll()); });
  AddCommand(format, 32787, [this, &m] {
    FormatDialog dialog(Text(141), m.Rows(), m.Columns(), this);
    if (dialog.exec() == QDialog::Accepted) m.SetLayout(dialog.Rows(), dialog.Columns());
  });
  format->addSeparator();
  AddCommand(format, 32796, [this, &m] {
    FormatDialog dialog(Text(143), m.BoxRows(), m.BoxColumns(), this);
    if (dialog.exec() == QDialog::Accepted) m.SetMergeFormat(dialog.Rows(), dialog.Columns());
  });
  AddCommand(format, 32793, [&m] { m.MergeSelected(); });
  QAction* mergeScreen = AddCommand(format, 32971, [&m] { m.MergeScreen(); });
  QAction* split = AddCommand(format, 32794, [&m] { m.Split(); });
  connect(format, &QMenu::aboutToShow, this, [&m, mergeScreen, split] {
    mergeScreen->setEnabled(m.CanMergeScreen());
    split->setEnabled(m.CanSplit());
  });

  QMenu* selection = menuBar()->addMenu(Text(32851).left(1));
  selection->setTitle(Text(32789).section(QLatin1Char('('), 0, 0));
  struct ModeItem {
    int id;
    SelectionMode mode;
  };
  for (const ModeItem item :
       {ModeItem{32789, SelectionMode::Image}, ModeItem{32790, SelectionMode::Cell},
        ModeItem{32791, SelectionMode::All}, ModeItem{32851, SelectionMode::Group}}) {
    QAction* action =
        AddCommand(selection, item.id, [this, item] { m_doc.SetSelectionMode(item.mode); });
    action->setCheckable(true);
    if (item.id == 32791) action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    connect(selection, &QMenu::aboutToShow, action,
            [this, action, item] { action->setChecked(m_doc.Mode() == item.mode); });
  }

  QMenu* tools = menuBar()->addMenu(Text(281));
  BuildDrawingMenu(tools);
  AddCommand(tools, 32771, [&m] { m.SetTool(Tool::Zoom); });
  AddCommand(tools, 32772, [&m] { m.SetTool(Tool::Pan); });
  tools->addSeparator();
  AddCommand(tools, 32773, [&m] { m.ApplyToSelection(operation::kInvert, {}); });
  AddCommand(tools, 32774, [&m] { m.ApplyToSelection(operation::kReset, {}); });
  AddCommand(tools, 32905, [&m] { m.ApplyToSelection(operation::kDefaultWindow, {}); });
  AddCommand(tools, 32906, [&m] { m.ApplyToSelection(operation::kSetZoom, OperationArgument{0}); });
  tools->addSeparator();
  for (const auto& [id, code] :
       {std::pair{32870, 3}, std::pair{32871, 4}, std::pair{32872, 1}, std::pair{32873, 2}}) {
    AddCommand(tools, id, [&m, code = code] {
      m.ApplyToSelection(operation::kTransform, OperationArgument{code});
    });
  }
  tools->addSeparator();
  AddCommand(tools, 32799, [&m] {
    if (DicomImage* image = m.CurrentImage()) {
      OperationArgument zoom;
      RunImageOperation(*image, operation::kGetZoom, zoom);
      m.Synchronise(operation::kSetZoom, zoom);
    }
  });
  AddCommand(tools, 32800, [&m] {
    if (DicomImage* image = m.CurrentImage()) {
      OperationArgument pan;
      RunImageOperation(*image, operation::kGetPan, pan);
      m.Synchronise(operation::kSetPan, pan);
    }
  });
  AddCommand(tools, 32801, [&m] {
    if (DicomImage* image = m.CurrentImage()) {
      OperationArgument window;
      if (RunImageOperation(*image, operation::kGetWindow, window))
        m.Synchronise(operation::kSetWindow, window);
    }
  });
  AddCommand(tools, 33009, [this, &m] {
    DicomImage* image = m.CurrentImage();
    if (!image) return;
    ShutterDialog dialog(image->Shutter(), image->Columns(), image->Rows(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    for (auto& cell : m_doc.Cells()) {
      for (int i = 0; i < cell->ImageCount(); ++i) {
        if (&cell->Image(i) == image || m.TakesPart(*cell, i))
          dialog.ApplyTo(cell->Image(i).Shutter());
      }
    }
  });
  AddCommand(tools, 32792, [&m] {
    m.DeleteSelected();
  })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));

  BuildWindowMenu();
  BuildEditMenu();
  BuildDisplayMenu();

  QMenu* navigate = menuBar()->addMenu(Text(32980).section(QLatin1Char('('), 0, 0));
  for (const auto& [id, step] :
       {std::pair{32976, Navigation::Next}, std::pair{32977, Navigation::Previous},
        std::pair{32979, Navigation::NextScreen}, std::pair{32978, Navigation::PreviousScreen},
        std::pair{32980, Navigation::First}, std::pair{32981, Navigation::Last}}) {
    QAction* action = AddCommand(navigate, id, [&m, step = step] { m.Navigate(step); });
    connect(navigate, &QMenu::aboutToShow, action,
            [&m, action, step = step] { action->setEnabled(m.CanNavigate(step)); });
  }
}

void MainFrame::ShowContextMenu(const QPoint& globalPosition, bool onDrawingObject) {
  if (onDrawingObject && m_objectMenu) {
    m_objectMenu->exec(globalPosition);
    return;
  }
  QMenu menu(this);
  for (QAction* top : menuBar()->actions()) {
    if (top->menu() && top->menu() != menuBar()->actions().first()->menu())
      menu.addMenu(top->menu());
  }
  menu.exec(globalPosition);
}

void MainFrame::UpdateScrollBar() {
  const ScrollRange range = m_model->Scroll();
  m_updatingScroll = true;
  m_scrollBar->setRange(0, range.maximum);
  m_scrollBar->setPageStep(range.page);
  m_scrollBar->setValue(range.position);
  m_updatingScroll = false;
}

void MainFrame::OnDocumentUpdate(UpdateHint, int) { UpdateScrollBar(); }

void MainFrame::OnLoadStarted(int fileCount, CLoadImageThread* thread) {
  m_progress->setRange(0, fileCount);
  m_progress->setValue(0);
  m_progressThread = thread;
  m_cancelPane->setText(Text(357));
  // Showing the bar the first time lays out and styles it for tens of
  // milliseconds; the first cells, handed over with this event, are painted
  // before that, and a load over by then never shows a bar at all.
  QTimer::singleShot(kProgressDelayMs, m_progress, [this, thread] {
    if (m_progressThread == thread && thread) m_progress->show();
  });
}

void MainFrame::OnLoadStepped() {
  // Cells arrive in batches, each stepping the bar many times in a row; the bar
  // would repaint itself at once for every visible step, so it waits for the
  // batch to end and is painted once.
  if (m_progress->updatesEnabled()) {
    m_progress->setUpdatesEnabled(false);
    QTimer::singleShot(0, m_progress, [bar = m_progress] { bar->setUpdatesEnabled(true); });
  }
  m_progress->setValue(m_progress->value() + 1);
}

void MainFrame::OnLoadFinished(CLoadImageThread* thread) {
  if (thread == m_progressThread) m_progressThread = nullptr;
  m_progress->hide();
  m_cancelPane->clear();
  m_view->update();
  if (TimingEnabled()) QTimer::singleShot(0, this, &MainFrame::EndTimedRun);
}

void MainFrame::EndTimedRun() {
  // The loader is still returning from its last call; look again until it has.
  if (m_doc.LoaderRunning()) {
    QTimer::singleShot(5, this, &MainFrame::EndTimedRun);
    return;
  }
  ReportTiming("last-cell-ms");
  ReportPeakResidentSize();
  QApplication::exit(0);
}

bool MainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_cancelPane && event->type() == QEvent::MouseButtonDblClick &&
      m_progress->isVisible() && m_progressThread) {
    m_progressThread->Cancel();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainFrame::ToggleFullScreen() {
  if (isFullScreen()) {
    showNormal();
  } else {
    showFullScreen();
  }
}

bool MainFrame::RestorePlacement() {
  if (!m_profile) return false;
  const suite::ScreenRect rect = suite::PlaceMainWindow(*m_profile, suite::ScreenRect{});
  if (rect.IsEmpty()) return false;
  setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
  return true;
}

void MainFrame::closeEvent(QCloseEvent* event) {
  if (m_profile) {
    const QRect frame = geometry();
    suite::SaveMainWindowRect(*m_profile,
                              {frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1},
                              isMinimized());
    m_model->CurrentSettings().WriteLayout(*m_profile);
    m_recent.Save(*m_profile);
  }
  m_doc.CancelLoaders();
  event->accept();
}

void MainFrame::OpenFiles() {
  const QStringList files =
      QFileDialog::getOpenFileNames(this, QString(), m_doc.FolderText(), DialogFilter(Text(186)));
  for (const QString& file : files) OpenFile(file);
}

bool MainFrame::OpenFile(const QString& file) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const int index = m_doc.LoadFileNow(file);
  QApplication::restoreOverrideCursor();
  if (index < 0) return false;
  m_recent.Add(file);
  m_doc.UpdateAllViews(UpdateHint::MakeCurrent, index);
  return true;
}

void MainFrame::FillRecentFiles(QMenu* file, QAction* before) {
  for (QAction* item : file->actions()) {
    if (item->property("recent").isValid()) delete item;
  }
  const QStringList& files = m_recent.Files();
  for (int i = 0; i < files.size(); ++i) {
    auto* item = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(files[i]), file);
    item->setProperty("recent", i);
    item->setObjectName(QString::number(kFirstRecentFileCommand + i));
    connect(item, &QAction::triggered, this, [this, path = files[i]] {
      // A file that can no longer be read leaves the list.
      if (!OpenFile(path)) {
        m_recent.Remove(static_cast<int>(m_recent.Files().indexOf(path)));
        QMessageBox::warning(this, QString(), path);
      }
      UpdateScrollBar();
      m_view->update();
    });
    file->insertAction(before, item);
  }
}

void MainFrame::RequestLoad(const QString& folderText, const QString& kind,
                            const QString& objectText) {
  m_loadFolder = folderText;
  m_loadKind = kind;
  m_loadObject = objectText;
  QTimer::singleShot(0, this, &MainFrame::RunLoadCommand);
}

void MainFrame::RunLoadCommand() {
  m_doc.SetFolderText(m_loadFolder);
  suite::RelayhouseOutcome outcome;
  {
    LoadPrompts prompts(this, Text(251));
    suite::SystemWaitClock clock;
    suite::ViewerRelayhouseWait wait(suite::CreateRelayhouseConnection, prompts, clock, m_strings);
    suite::RelayhouseCommand command;
    command.code = 20;
    command.device = m_loadFolder;
    command.commandText = m_loadObject;
    command.level = m_loadKind;
    outcome = wait.Run(command);
  }
  if (outcome.succeeded) {
    const QStringList files = suite::SplitItems(outcome.answer);
    if (!files.isEmpty()) m_doc.HandBatch(files);
    return;
  }
  // A viewer started only for this load has nothing to show; one that already
  // shows images keeps them (the failure has been reported by the wait).
  if (m_doc.LoadFailureEndsViewer(m_startedForLoad)) QApplication::exit(1);
}

}  // namespace tolmar::viewer
