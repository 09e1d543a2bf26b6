#include "viewer/ui/CPictoriumApp.h"

#include <QApplication>
#include <QDBusConnection>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>

#include "annotation/DrawObjList.h"
#include "annotation/GSPSSObject.h"
#include "database/DbConnection.h"
#include "suite/CommandLine.h"
#include "suite/OutsideLibraries.h"
#include "viewer/DisplayProfile.h"
#include "viewer/ViewerAutomation.h"
#include "viewer/ui/DocumentMenu.h"
#include "viewer/ui/HistoryBarWidget.h"
#include "viewer/ui/MainFrame.h"

namespace tolmar::viewer {
namespace {

// Presentation states waiting for their image are offered every newly loaded cell.
class PresentationStateOffers : public DocumentObserver {
 public:
  explicit PresentationStateOffers(CPictoriumDoc& doc) : m_doc(doc) { m_doc.AddObserver(this); }
  ~PresentationStateOffers() override { m_doc.RemoveObserver(this); }
  void OnDocumentUpdate(UpdateHint hint, int cellIndex) override {
    if (hint != UpdateHint::CellLoaded || cellIndex < 0 || cellIndex >= m_doc.CellCount()) return;
    DisplayCell& cell = m_doc.Cell(cellIndex);
    for (int i = 0; i < cell.ImageCount(); ++i)
      PendingPresentationStates::Program().OfferTo(cell.Image(i));
  }

 private:
  CPictoriumDoc& m_doc;
};

void ApplyPresentationState(CPictoriumDoc& doc, const DicomDataSet& dataSet) {
  auto state = std::make_unique<CGSPSSObject>();
  if (!state->LoadFromDataSet(dataSet)) return;
  std::vector<DicomImage*> images;
  for (auto& cell : doc.Cells()) {
    for (int i = 0; i < cell->ImageCount(); ++i) images.push_back(&cell->Image(i));
  }
  PendingPresentationStates::Program().Offer(std::move(state), images);
}

// What the callers of "TolmarPacs.Pictorium" get from this viewer.
class FrameAutomation : public ViewerAutomationHandler {
 public:
  FrameAutomation(MainFrame& frame, std::function<void(const QString&)> setPatient)
      : m_frame(frame), m_setPatient(std::move(setPatient)) {}
  void SetPatient(const QString&, const QString& studyUid) override { m_setPatient(studyUid); }
  void LoadImages(const QString& folderText, const QString& level,
                  const QString& objectText) override {
    m_frame.RequestLoad(folderText, level, objectText);
  }
  void ShowWindow() override {
    if (m_frame.isMinimized()) m_frame.showNormal();
    m_frame.show();
    m_frame.raise();
    m_frame.activateWindow();
  }

 private:
  MainFrame& m_frame;
  std::function<void(const QString&)> m_setPatient;
};

}  // namespace

CPictoriumApp::CPictoriumApp(QString programFolder, QString moduleName)
    : m_suite(suite::SuiteProgram::Pictorium, programFolder, std::move(moduleName)),
      m_installFolder(std::move(programFolder)) {}

CPictoriumApp::~CPictoriumApp() { Shutdown(); }

bool CPictoriumApp::Start(const QStringList& arguments) {
  if (!m_suite.Startup(*this, arguments)) return false;
  return true;
}

void CPictoriumApp::ReadSettings(suite::ProfileStore& profile) {
  m_viewSettings = ViewSettings::Read(profile);
  m_imageSettings = ReadImageSettings(profile);
  SetDisplaySettings(ReadDisplaySettings(profile, m_installFolder));
  m_settingsRead = true;
  SetMeasureStyle(ReadMeasureStyle(profile));
}

bool CPictoriumApp::ProcessCommandLine(const QStringList& arguments) {
  // CONFIG.INI has been read by now unless "/Init" was given.
  if (m_suite.ConfigRead()) {
    m_programFolder = m_installFolder;
    m_hospitalName = m_suite.Config().hospitalName;
  }
  // The SOP class table lives in the program folder whatever "/Init" says.
  m_doc = std::make_unique<CPictoriumDoc>(m_installFolder, &m_suite.Profile());
  m_doc->SetImageSettings(m_imageSettings);
  InstallDrawObjects();
  CPictoriumDoc* doc = m_doc.get();
  m_doc->SetPresentationStateHook(
      [doc](const DicomDataSet& state) { ApplyPresentationState(*doc, state); });
  m_stateOffers = std::make_unique<PresentationStateOffers>(*m_doc);
  m_frame =
      std::make_unique<MainFrame>(*m_doc, m_viewSettings, &m_suite.Profile(), m_suite.Strings());
  AttachFrameServices(HasAutomationSwitch(arguments));
  QStringList paths;
  for (const QString& argument : WithoutAutomationSwitch(arguments)) {
    if (argument.compare(QStringLiteral("/Init"), Qt::CaseInsensitive) != 0) paths << argument;
  }
  if (paths.isEmpty()) return m_doc->NewDocument();
  return m_doc->OpenDocument(paths.first());
}

void CPictoriumApp::AttachFrameServices(bool startedForLoad) {
  // Started by the bus for a caller's load: a failed load ends this viewer.
  m_frame->SetStartedForLoad(startedForLoad);
  if (startedForLoad) {
    // A viewer the bus started goes with its bus rather than outlive the session.
    auto* busWatch = new QTimer(m_frame.get());
    QObject::connect(busWatch, &QTimer::timeout, busWatch, [] {
      if (!QDBusConnection::sessionBus().isConnected()) QApplication::quit();
    });
    busWatch->start(1000);
  }
  m_regTab = std::make_unique<suite::RegTabLibrary>(m_installFolder);

  MainFrame* frame = m_frame.get();
  const HistoryBarSettings historySettings = HistoryBarSettings::Read(m_suite.Profile());
  m_history = new HistoryBarWidget(
      m_suite.Strings(), historySettings,
      [frame](const QString& folderText, const QString& kind, const QString& objectText) {
        frame->RequestLoad(folderText, kind, objectText);
      },
      MakeBusAutomation(), frame);
  frame->addDockWidget(Qt::LeftDockWidgetArea, m_history);
  frame->AddBarToggle(m_history->toggleViewAction());
  m_history->setVisible(historySettings.visible);
  // The database is read only for a bar the user sees, so a hidden bar never
  // costs the start or a load a database round trip.
  QObject::connect(m_history, &QDockWidget::visibilityChanged, m_history, [this](bool visible) {
    if (visible && m_historyStale) FillHistory();
  });
  // The study block is known once the command line has been processed.
  QTimer::singleShot(0, m_history, [this] {
    SetHistoryPatient(
        HistoryPatient::FromStudyBlock(m_doc->StudyBlock().data(), m_doc->StudyBlock().size()));
  });

  if (QMenu* fileMenu = frame->menuBar()->actions().isEmpty()
                            ? nullptr
                            : frame->menuBar()->actions().first()->menu()) {
    AddDocumentCommands(
        *fileMenu, *frame,
        {&m_suite.Strings(), &m_suite.Profile(), m_regTab.get(), [this] { return Database(); }});
  }

  m_automationHandler = std::make_unique<FrameAutomation>(*frame, [this](const QString& uid) {
    HistoryPatient patient;
    patient.studyUid = uid;
    if (!uid.trimmed().isEmpty()) SetHistoryPatient(patient);
  });
  m_automation = std::make_unique<ViewerAutomation>(*m_automationHandler);
  // A second viewer finds the name taken; the first one keeps answering.
  m_automation->Register();
}

db::DbConnection* CPictoriumApp::Database() {
  if (!m_databaseTried) {
    m_databaseTried = true;
    auto database = std::make_unique<db::DbConnection>();
    if (database->Open()) m_database = std::move(database);
  }
  return m_database.get();
}

void CPictoriumApp::SetHistoryPatient(const HistoryPatient& patient) {
  m_historyPatient = patient;
  m_historyStale = true;
  if (m_history && m_history->isVisible()) FillHistory();
}

void CPictoriumApp::FillHistory() {
  if (!m_history) return;
  m_historyStale = false;
  const HistoryPatient& patient = m_historyPatient;
  HistoryBar& bar = m_history->Bar();
  std::vector<HistoryEntry> entries;
  std::map<int32_t, QString> folders;
  db::DbConnection* database = patient.IsEmpty() ? nullptr : Database();
  if (database && ReadPatientHistory(*database, patient, entries, folders)) {
    bar.SetRows(std::move(entries), std::move(folders));
    if (m_doc && m_doc->StudyKey() != 0) bar.MarkLoaded(QString::number(m_doc->StudyKey()));
  } else {
    bar.Clear();
  }
  m_history->ShowRows();
}

void CPictoriumApp::ShowMainWindow(suite::MainWindowShow) {
  if (!m_frame) return;
  if (!m_frame->RestorePlacement()) m_frame->resize(1024, 768);
  m_frame->showNormal();
  m_frame->activateWindow();
}

void CPictoriumApp::ShowMessage(int, const QString& text) {
  QMessageBox::critical(nullptr, QString(), text);
}

void CPictoriumApp::Shutdown() {
  // Frame (window rectangle, layout), then the document (selection mode,
  // loaders, cells), then the language file.
  m_automation.reset();
  m_automationHandler.reset();
  m_history = nullptr;
  if (m_frame) {
    m_frame->close();
    m_frame.reset();
  }
  m_stateOffers.reset();
  m_doc.reset();
  if (m_settingsRead) {
    WriteExitSettings(m_suite.Profile(), CurrentDisplaySettings(), MeasureStyle());
    m_settingsRead = false;
  }
  m_suite.Shutdown();
}

}  // namespace tolmar::viewer
